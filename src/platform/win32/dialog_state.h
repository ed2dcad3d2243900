#pragma once
// The state of one open dialog, kept in its DWLP_USER slot. Either the
// caller of DialogBoxParamW owns it and passes its address as the parameter
// (`dialog_parameter`), or the dialog owns it from WM_INITDIALOG to
// WM_NCDESTROY (`adopt_dialog_state`, `drop_dialog_state`).

#include <windows.h>

#include <memory>

namespace quelor {

// The state kept by the dialog; null before WM_INITDIALOG (a dialog gets
// WM_SETFONT first) and after `drop_dialog_state`.
template <typename T>
T* dialog_state(HWND dialog) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The caller's state: the parameter of WM_INITDIALOG, kept for the later
// messages. Call it first for every message.
template <typename T>
T* dialog_parameter(HWND dialog, UINT message, LPARAM l) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, l);
  return dialog_state<T>(dialog);
}

// The dialog's own state, made at WM_INITDIALOG.
template <typename T>
T* adopt_dialog_state(HWND dialog, std::unique_ptr<T> state) {
  T* raw = state.release();
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(raw));
  return raw;
}

// Frees the dialog's own state, at WM_NCDESTROY.
template <typename T>
void drop_dialog_state(HWND dialog) {
  std::unique_ptr<T> state(dialog_state<T>(dialog));
  SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

}  // namespace quelor
