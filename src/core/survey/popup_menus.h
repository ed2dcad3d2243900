#pragma once
// The items of the logging window's nine popup menus (menu resources
// 490-498), in menu order. The Monitoring menus hold the display and set-up
// items; the Stand By menus add New Line, New Station, Comment and the
// instrument's procedures.

#include <span>

#include "variant/variant.h"

namespace quelor {

inline constexpr int kFirstPopupMenuId = 490;
inline constexpr int kPopupMenuCount = 9;

// The menu item ids (501..521) of a menu resource; empty for another id.
std::span<const int> popup_menu_items(int menu_id);

// Whether the instrument's menu offers the item: the CS-21 shares menu 490
// with the EM38-4 but has none of its procedures (Calibration, Remove
// Calibration, Apply Drift Control); its drift reminder time stays.
bool popup_item_offered(InstrumentType instrument_type, int item);

// The instrument the menu's texts follow (516 reads "Ca&librate Filter" in
// the EM61-LX2 menus).
InstrumentType popup_menu_instrument(int menu_id);

}  // namespace quelor
