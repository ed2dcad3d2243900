#include "platform/win32/win32_message_box.h"

#include "platform/win32/message_dialog.h"

namespace quelor {

const wchar_t* message_template(DialogTemplate t) {
  switch (t) {
    case DialogTemplate::kOkCancel: return kMessageOkCancel;
    case DialogTemplate::kYesNo: return kMessageYesNo;
    case DialogTemplate::kNoYes: return kMessageNoYes;
    default: return kMessageOk;
  }
}

std::wstring widen_text(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  for (unsigned char c : text) out.push_back(static_cast<wchar_t>(c));
  return out;
}

int Win32MessageBox::show(const OperatorMessage& message) {
  const std::wstring title = widen_text(message.title);
  const std::wstring text = widen_text(message.text);
  const int result = show_message(message_template(message.dialog), title.c_str(), text.c_str(), owner_);
  return result == 1 ? 1 : 0;
}

}  // namespace quelor
