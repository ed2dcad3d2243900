#include "survey/popup_menus.h"

#include <array>

#include "variant/variant.h"

namespace quelor {

namespace {

// 505 Scale Readings ... 519 Remove Background Files, then 508 Hide Menu
// ends every menu.
#define QUELOR_DISPLAY_ITEMS 505, 506, 507, 509, 510, 511, 512
#define QUELOR_SETUP_ITEMS 514, 515, 518, 519, 508
#define QUELOR_FILE_ITEMS 501, 502, 503

constexpr int kMenu490[] = {QUELOR_FILE_ITEMS, 516, 517, 520, 521, QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu491[] = {QUELOR_DISPLAY_ITEMS, 513, QUELOR_SETUP_ITEMS};
constexpr int kMenu492[] = {QUELOR_FILE_ITEMS, 504, 516, QUELOR_DISPLAY_ITEMS, 513, QUELOR_SETUP_ITEMS};
constexpr int kMenu493[] = {QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu494[] = {QUELOR_FILE_ITEMS, 504, QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu495[] = {QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu496[] = {QUELOR_FILE_ITEMS, QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu497[] = {QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};
constexpr int kMenu498[] = {QUELOR_FILE_ITEMS, 516, 517, 520, 521, QUELOR_DISPLAY_ITEMS, QUELOR_SETUP_ITEMS};

#undef QUELOR_DISPLAY_ITEMS
#undef QUELOR_SETUP_ITEMS
#undef QUELOR_FILE_ITEMS

struct Menu {
  std::span<const int> items;
  InstrumentType instrument_type;
};

const std::array<Menu, kPopupMenuCount> kMenus{{
    {kMenu490, kEm38_4},
    {kMenu491, kEm61Lx2},
    {kMenu492, kEm61Lx2},
    {kMenu493, kEm61Mk2},
    {kMenu494, kEm61Mk2},
    {kMenu495, kEm31Mk2},
    {kMenu496, kEm31Mk2},
    {kMenu497, kEm38Mk2},
    {kMenu498, kEm38Mk2},
}};

}  // namespace

std::span<const int> popup_menu_items(int menu_id) {
  const int i = menu_id - kFirstPopupMenuId;
  if (i < 0 || i >= kPopupMenuCount) return {};
  return kMenus[static_cast<std::size_t>(i)].items;
}

bool popup_item_offered(InstrumentType instrument_type, int item) {
  constexpr int kEm38_4Procedures[] = {516, 517, 520};
  if (instrument_type != kCs21) return true;
  for (int p : kEm38_4Procedures)
    if (p == item) return false;
  return true;
}

InstrumentType popup_menu_instrument(int menu_id) {
  const int i = menu_id - kFirstPopupMenuId;
  if (i < 0 || i >= kPopupMenuCount) return kEm31Mk2;
  return kMenus[static_cast<std::size_t>(i)].instrument_type;
}

}  // namespace quelor
