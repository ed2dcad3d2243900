#include "platform/win32/message_dialog.h"

namespace quelor {

wchar_t g_message_title[kMessageTitleSize];
wchar_t g_message_text[kMessageTextSize];

INT_PTR CALLBACK message_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, kMessageTextControl, g_message_text);
      SetWindowTextW(dialog, g_message_title);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(w) == 1) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == 2) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return 0;
    default: return 0;
  }
}

int show_message_buffers(const wchar_t* dialog_template, HWND owner) {
  INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), dialog_template, owner, message_dialog_procedure, 0);
  return result == 1 ? 1 : result == 0 ? 0 : -1;
}

int show_message(const wchar_t* dialog_template, const wchar_t* title, const wchar_t* text, HWND owner) {
  lstrcpynW(g_message_title, title ? title : L"", kMessageTitleSize);
  lstrcpynW(g_message_text, text ? text : L"", kMessageTextSize);
  return show_message_buffers(dialog_template, owner);
}

}  // namespace quelor
