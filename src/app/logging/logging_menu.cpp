#include "app/logging/logging_menu.h"

#include "app/app_state.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "platform/win32/win32_message_box.h"
#include "survey/command_table.h"
#include "survey/logging_commands.h"
#include "survey/logging_keys.h"
#include "survey/popup_menus.h"

namespace quelor {

namespace {

constexpr POINT kMenuOrigin{190, 120};

bool g_menu_used = false;

}  // namespace

void open_popup_menu(HWND window) {
  const int id = popup_menu_id(g_variant.instrument_type, logging_session().survey.state);
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(id));
  if (!menu) return;
  // Items of a shared menu that this instrument has no use for are not offered.
  HMENU items = GetSubMenu(menu, 0);
  for (int item : popup_menu_items(id))
    if (!popup_item_offered(g_variant.instrument_type, item)) DeleteMenu(items, static_cast<UINT>(item), MF_BYCOMMAND);
  POINT at = kMenuOrigin;
  ClientToScreen(GetParent(window), &at);
  g_menu_used = true;
  // The character of the key that opened the menu ('m') is still queued: the
  // menu would take it as the mnemonic of one of its items.
  MSG typed;
  while (PeekMessageW(&typed, window, WM_CHAR, WM_CHAR, PM_REMOVE)) {
  }
  TrackPopupMenuEx(items, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, window, nullptr);
  DestroyMenu(menu);
}

bool popup_menu_open() { return g_menu_used; }

void reset_popup_menu_use() { g_menu_used = false; }

void forget_popup_menu(HWND window) {
  g_menu_used = false;
  InvalidateRect(window, nullptr, TRUE);
  const LoggingSession& s = logging_session();
  if (s.gps_used && s.children.map) InvalidateRect(s.children.map, nullptr, TRUE);
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
