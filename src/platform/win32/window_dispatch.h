#pragma once
// The one window procedure shape of every window class: scan the class's
// {message id, handler} table, fall back to DefWindowProcW.

#include <windows.h>

#include <cstddef>
#include <span>

#include "shell/message_table.h"

namespace quelor {

using MessageHandler = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using Win32MessageRow = MessageRow<MessageHandler>;

inline LRESULT dispatch_or_default(std::span<const Win32MessageRow> table, HWND window, UINT message, WPARAM w,
                                   LPARAM l) {
  return dispatch_message(table, DefWindowProcW, window, message, w, l);
}

// A window procedure bound to one table at compile time:
//   wc.lpfnWndProc = table_window_procedure<kMapTable, std::size(kMapTable)>;
template <const Win32MessageRow* Table, std::size_t N>
LRESULT CALLBACK table_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(std::span<const Win32MessageRow>(Table, N), window, message, w, l);
}

}  // namespace quelor
