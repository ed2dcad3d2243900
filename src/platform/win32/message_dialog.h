#pragma once
// The shared message dialog: templates "MESSAGEOK", "MESSAGEOKCANCEL",
// "MESSAGEYESNO" and "MESSAGENOYES", titled by the global title buffer and
// showing the global text buffer in control 550.

#include <windows.h>

namespace quelor {

inline constexpr int kMessageTitleSize = 128;
inline constexpr int kMessageTextSize = 1024;
inline constexpr int kMessageTextControl = 550;

inline constexpr const wchar_t* kMessageOk = L"MESSAGEOK";
inline constexpr const wchar_t* kMessageOkCancel = L"MESSAGEOKCANCEL";
inline constexpr const wchar_t* kMessageYesNo = L"MESSAGEYESNO";
inline constexpr const wchar_t* kMessageNoYes = L"MESSAGENOYES";

// Composed with wsprintfW by the callers of show_message_buffers.
extern wchar_t g_message_title[kMessageTitleSize];
extern wchar_t g_message_text[kMessageTextSize];

// The dialog procedure of the four templates: button 1 ends with 1, button 2
// with 0.
INT_PTR CALLBACK message_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

// Shows the template with the buffers as they are. Returns 1 for the button
// with id 1 ("No" in "MESSAGENOYES"), 0 for id 2 (and for Escape or the close
// box), -1 when the dialog could not be shown.
int show_message_buffers(const wchar_t* dialog_template, HWND owner = nullptr);

// Copies title and text into the buffers (cut to their size) and shows the
// template.
int show_message(const wchar_t* dialog_template, const wchar_t* title, const wchar_t* text, HWND owner = nullptr);

}  // namespace quelor
