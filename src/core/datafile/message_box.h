#pragma once
// Messages to the operator through the shared message dialog. The core only
// composes them; the Win32 shell shows them.

#include <string>

namespace quelor {

enum class DialogTemplate { kOk, kOkCancel, kYesNo, kNoYes };

// "MESSAGEOK", "MESSAGEOKCANCEL", "MESSAGEYESNO", "MESSAGENOYES".
const char* dialog_template_name(DialogTemplate t);

struct OperatorMessage {
  std::string title;  // "WARNING", "INFORMATION", ...
  std::string text;   // lines joined by "\r\n"
  DialogTemplate dialog = DialogTemplate::kOk;
};

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Shows the message; returns 1 for the button with id 1, 0 for id 2.
  virtual int show(const OperatorMessage& message) = 0;
};

}  // namespace quelor
