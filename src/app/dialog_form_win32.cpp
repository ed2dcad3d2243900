#include "app/dialog_form_win32.h"

#include <string>
#include <vector>

#include "setup/accelerators.h"

namespace quelor {

namespace {

void fill_list(HWND list, const DialogControl& c) {
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : c.items) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
}

void show_states(HWND control, const DialogControl& c) {
  EnableWindow(control, c.enabled ? TRUE : FALSE);
  ShowWindow(control, c.visible ? SW_SHOW : SW_HIDE);
}

void show_content(HWND control, const DialogControl& c) {
  switch (c.kind) {
    case ControlKind::kList: fill_list(control, c); break;
    case ControlKind::kEdit:
      if (c.text_limit > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(c.text_limit), 0);
      SetWindowTextW(control, c.text.c_str());
      SendMessageW(control, EM_SETREADONLY, c.read_only ? TRUE : FALSE, 0);
      break;
    case ControlKind::kCheck:
    case ControlKind::kRadio: SendMessageW(control, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0); break;
    case ControlKind::kLabel:
      if (!c.text.empty()) SetWindowTextW(control, label_with_accelerator(c.id, c.text).c_str());
      break;
  }
}

std::wstring window_text(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(control, buffer.data(), length + 1);
  return std::wstring(buffer.data());
}

constexpr int kLabelOffset = 10000;  // a field's own label: its id + 10000

bool shown_in_form(const DialogForm& form, int id) {
  const DialogControl* c = form.find(id);
  return c && c->visible;
}

struct HideContext {
  const DialogForm* form;
};

// A template shared by several instruments holds fields some of them lack:
// those and their labels are hidden. Unnamed statics (id -1) stay.
BOOL CALLBACK hide_if_absent(HWND control, LPARAM l) {
  const DialogForm& form = *reinterpret_cast<HideContext*>(l)->form;
  const int id = GetDlgCtrlID(control);
  if (id <= 0 || id >= 0xFFFF || id == IDOK || id == IDCANCEL || form.has(id)) return TRUE;
  const bool own_label = id > kLabelOffset;
  if (own_label && shown_in_form(form, id - kLabelOffset)) return TRUE;
  ShowWindow(control, SW_HIDE);
  EnableWindow(control, FALSE);
  return TRUE;
}

}  // namespace

void show_form(HWND dialog, const DialogForm& form) {
  HideContext context{&form};
  EnumChildWindows(dialog, hide_if_absent, reinterpret_cast<LPARAM>(&context));
  for (const DialogControl& c : form.controls) {
    HWND control = GetDlgItem(dialog, c.id);
    if (!control) continue;
    show_content(control, c);
    show_states(control, c);
  }
}

void refresh_form(HWND dialog, const DialogForm& form) {
  for (const DialogControl& c : form.controls) {
    HWND control = GetDlgItem(dialog, c.id);
    if (!control) continue;
    if (c.kind == ControlKind::kLabel || c.kind == ControlKind::kEdit) show_content(control, c);
    if (c.kind == ControlKind::kCheck || c.kind == ControlKind::kRadio) show_content(control, c);
    show_states(control, c);
  }
}

void read_form(HWND dialog, DialogForm& form) {
  for (DialogControl& c : form.controls) {
    HWND control = GetDlgItem(dialog, c.id);
    if (!control) continue;
    switch (c.kind) {
      case ControlKind::kList: {
        const LRESULT selection = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR) c.selection = static_cast<int>(selection);
        break;
      }
      case ControlKind::kEdit: c.text = window_text(control); break;
      case ControlKind::kCheck:
      case ControlKind::kRadio: c.checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED; break;
      case ControlKind::kLabel: break;
    }
  }
}

void place_over_owner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner) return;
  RECT o, d;
  GetWindowRect(owner, &o);
  GetWindowRect(dialog, &d);
  const int x = o.left + ((o.right - o.left) - (d.right - d.left)) / 2;
  const int y = o.top + (o.bottom - o.top) / 10;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quelor
