#pragma once
// The data-file and survey code's operator messages shown with the shared
// message dialog.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include <string>

#include "datafile/message_box.h"

namespace quelor {

// The dialog template of a core message ("MESSAGEOK" ...).
const wchar_t* message_template(DialogTemplate t);

// 8-bit text widened character by character.
std::wstring widen_text(const std::string& text);

// "Yes" for the Y key, "No" for N (either case), else nullptr: the button a
// letter presses in a yes/no box (Enter presses the default button).
const wchar_t* yes_no_answer_of_key(unsigned virtual_key);

// Shows the core's message; a yes/no box also answers to its first letters.
class Win32MessageBox final : public MessageBox {
 public:
  explicit Win32MessageBox(HWND owner = nullptr) : owner_(owner) {}
  int show(const OperatorMessage& message) override;

 private:
  HWND owner_;
};

}  // namespace quelor
