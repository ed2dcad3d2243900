#include "app/logging/logging_menu.h"

#include <array>

#include "app/app_state.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "platform/win32/win32_message_box.h"
#include "survey/command_table.h"
#include "survey/logging_commands.h"
#include "survey/logging_keys.h"

namespace quelor {

namespace {

constexpr POINT kMenuOrigin{190, 120};

bool g_menu_used = false;

constexpr std::array<MenuItem, 15> kItems{{
    {501, L"New Lin&e", true},
    {502, L"&New Station", true},
    {503, L"&Comment", true},
    {505, L"Sc&ale Readings", false},
    {506, L"Scale Speed &Bar", false},
    {507, L"Pr&ofile Display Options", false},
    {509, L"Map &Size", false},
    {510, L"Map Displa&y Options", false},
    {511, L"Toggle &View", false},
    {512, L"GPS &Warning Mask", false},
    {514, L"Au&dio Options", false},
    {515, L"Coordina&tes Display Units", false},
    {516, L"Ca&libration", true},
    {517, L"&Remove Calibration", true},
    {508, L"&Hide Menu", false},
}};

// Calibration belongs to the instruments that have a procedure for it.
bool has_calibration(int instrument_type) {
  return instrument_type == kEm38Mk2 || instrument_type == kEm38_4 || instrument_type == kEm61Lx2;
}

}  // namespace

std::span<const MenuItem> popup_menu_items() { return kItems; }

bool menu_item_shown(const MenuItem& item, int instrument_type, int state) {
  if (item.stand_by_only && state == kStateMonitoring) return false;
  if ((item.id == 516 || item.id == 517) && !has_calibration(instrument_type)) return false;
  return true;
}

void open_popup_menu(HWND window) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const int state = logging_session().survey.state;
  for (const MenuItem& item : kItems)
    if (menu_item_shown(item, g_variant.instrument_type, state))
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), item.text);
  POINT at = kMenuOrigin;
  ClientToScreen(GetParent(window), &at);
  g_menu_used = true;
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, window, nullptr);
  DestroyMenu(menu);
}

bool popup_menu_open() { return g_menu_used; }

void forget_popup_menu(HWND window) {
  g_menu_used = false;
  InvalidateRect(window, nullptr, TRUE);
}

bool command_requirements_met(HWND window, int command) {
  const LoggingSession& s = logging_session();
  const CommandRow* row = find_command(command);
  if (!row) return true;
  CommandSituation situation;
  situation.instrument_used = s.instrument_used;
  situation.gps_used = s.gps_used;
  situation.map_shown = current_logging_layout().map_shown;
  const std::optional<OperatorMessage> refusal = unmet_need(row->need, situation);
  if (!refusal) return true;
  Win32MessageBox box(GetParent(window));
  box.show(*refusal);
  return false;
}

}  // namespace quelor
