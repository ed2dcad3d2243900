#pragma once
// Keyboard access to a dialog's fields as the dialog manager gives it: each
// field's underlined letter (its own text's for a check box or radio button,
// else its label's, the control just before it; a radio button without a
// letter of its own takes its group box's) and Alt with that letter.

#include <windows.h>

#include <gtest/gtest.h>

#include "gui_test_support.h"

#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace quelor::test {

inline std::wstring window_text(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

inline bool has_class(HWND w, const wchar_t* name) {
  wchar_t kind[32] = {};
  GetClassNameW(w, kind, 32);
  return lstrcmpiW(kind, name) == 0;
}

inline LONG button_type(HWND w) { return GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK; }

inline bool is_radio(HWND w) {
  return has_class(w, L"Button") && (button_type(w) == BS_AUTORADIOBUTTON || button_type(w) == BS_RADIOBUTTON);
}

// The letter after the first single "&" of `text`, lower case; 0 for none.
inline wchar_t letter_in(const std::wstring& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return static_cast<wchar_t>(towlower(text[i + 1]));
    ++i;
  }
  return 0;
}

// The control whose text carries a field's letter; nullptr when the field
// has no label of its own.
inline HWND letter_holder(HWND field) {
  if (has_class(field, L"Button")) {
    if (letter_in(window_text(field)) || !is_radio(field)) return field;
    HWND w = field;
    while ((w = GetWindow(w, GW_HWNDPREV)) != nullptr && is_radio(w)) {
    }
    return w && has_class(w, L"Button") && button_type(w) == BS_GROUPBOX ? w : field;
  }
  HWND before = GetWindow(field, GW_HWNDPREV);
  return before && has_class(before, L"Static") ? before : nullptr;
}

inline wchar_t mnemonic_of(HWND field) {
  HWND holder = letter_holder(field);
  return holder ? letter_in(window_text(holder)) : 0;
}

// A field the operator fills or chooses: shown, enabled, not read-only, not
// a push button (a push button's letter presses it).
inline bool is_entry_field(HWND w) {
  const int id = GetDlgCtrlID(w);
  if (id == IDOK || id == IDCANCEL || !IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
  if (has_class(w, L"Button")) {
    const LONG type = button_type(w);
    return type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX;
  }
  if (has_class(w, L"Edit")) return (GetWindowLongW(w, GWL_STYLE) & ES_READONLY) == 0;
  return has_class(w, L"ComboBox");
}

// Alt+letter as the dialog's own message handling takes it: the focus (or,
// for a button, its click and the focus) moves to the field.
inline HWND after_alt_letter(HWND dialog, wchar_t letter) {
  MSG msg{};
  msg.hwnd = GetFocus() ? GetFocus() : dialog;
  msg.message = WM_SYSCHAR;
  msg.wParam = letter;
  msg.lParam = 1 << 29;  // Alt held
  IsDialogMessageW(dialog, &msg);
  return GetFocus();
}

struct FieldsReached {
  int by_letter = 0;
  int by_tab = 0;  // fields without a label of their own, one Tab after the field before
};

// Each field of `dialog` is reached from OK by Alt and its letter, and the
// letters of different holders differ. A field with no label of its own
// (a list beside the one its row's label names) must be the next Tab stop
// after the field before it.
inline FieldsReached expect_every_field_reached(HWND dialog, const std::string& where) {
  FieldsReached reached;
  std::map<wchar_t, HWND> holders;
  HWND previous = nullptr;
  for (HWND field = GetWindow(dialog, GW_CHILD); field; field = GetWindow(field, GW_HWNDNEXT)) {
    if (!is_entry_field(field)) continue;
    HWND holder = letter_holder(field);
    const wchar_t letter = holder ? letter_in(window_text(holder)) : 0;
    SetFocus(GetDlgItem(dialog, IDOK));
    if (!holder) {
      EXPECT_NE(previous, nullptr) << where << ": field " << GetDlgCtrlID(field)
                                   << " has neither label nor field before it";
      if (previous) {
        EXPECT_EQ(GetNextDlgTabItem(dialog, previous, FALSE), field) << where << ": field " << GetDlgCtrlID(field);
        ++reached.by_tab;
      }
      previous = field;
      continue;
    }
    previous = field;
    EXPECT_NE(letter, 0) << where << ": field " << GetDlgCtrlID(field) << " has no letter";
    if (!letter) continue;
    const auto [other, fresh] = holders.emplace(letter, holder);
    EXPECT_TRUE(fresh || other->second == holder)
        << where << ": letter " << static_cast<char>(letter) << " underlined twice";
    HWND focus = after_alt_letter(dialog, letter);
    const bool in_group = holder != field && focus && letter_holder(focus) == holder;
    EXPECT_TRUE(focus == field || in_group)
        << where << ": Alt+" << static_cast<char>(letter) << " missed field " << GetDlgCtrlID(field);
    ++reached.by_letter;
  }
  return reached;
}

// Tab from each Tab stop (fields, buttons) lands on the next one in the
// template's order (row by row, a column at a time where the dialog has
// columns): the Tab order is the order the operator reads.
inline int expect_tab_order_is_template_order(HWND dialog, const std::string& where) {
  std::vector<HWND> stops;
  for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsWindowVisible(w) && IsWindowEnabled(w) && (GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP)) stops.push_back(w);
  for (std::size_t i = 0; i + 1 < stops.size(); ++i)
    EXPECT_EQ(GetNextDlgTabItem(dialog, stops[i], FALSE), stops[i + 1])
        << where << ": Tab after field " << GetDlgCtrlID(stops[i]);
  return static_cast<int>(stops.size());
}

}  // namespace quelor::test
