#include "platform/win32/win32_message_box.h"

#include <cwctype>

#include "platform/win32/message_dialog.h"

namespace quelor {

namespace {

HHOOK g_answer_hook = nullptr;

// The id of the dialog's button whose text is `text` (ignoring '&'), or 0.
int button_with_text(HWND dialog, const wchar_t* text) {
  for (int id : {1, 2}) {
    wchar_t buffer[16] = {};
    GetDlgItemTextW(dialog, id, buffer, 16);
    std::wstring plain;
    for (const wchar_t* p = buffer; *p; ++p)
      if (*p != L'&') plain.push_back(*p);
    if (plain == text) return id;
  }
  return 0;
}

// Inside the modal loop of a yes/no dialog the first letter answers it.
LRESULT CALLBACK answer_by_letter(int code, WPARAM w, LPARAM l) {
  MSG* msg = reinterpret_cast<MSG*>(l);
  if (code == MSGF_DIALOGBOX && msg && msg->message == WM_KEYDOWN) {
    const wchar_t* answer = yes_no_answer_of_key(static_cast<unsigned>(msg->wParam));
    HWND dialog = GetAncestor(msg->hwnd, GA_ROOT);
    const int id = answer && dialog ? button_with_text(dialog, answer) : 0;
    if (id != 0) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      return 1;
    }
  }
  return CallNextHookEx(g_answer_hook, code, w, l);
}

}  // namespace

const wchar_t* yes_no_answer_of_key(unsigned virtual_key) {
  switch (std::towupper(static_cast<wint_t>(virtual_key))) {
    case L'Y': return L"Yes";
    case L'N': return L"No";
    default: return nullptr;
  }
}

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
  const bool yes_no = message.dialog == DialogTemplate::kYesNo || message.dialog == DialogTemplate::kNoYes;
  HHOOK hook = nullptr;
  if (yes_no && g_answer_hook == nullptr) {
    hook = SetWindowsHookExW(WH_MSGFILTER, answer_by_letter, nullptr, GetCurrentThreadId());
    g_answer_hook = hook;
  }
  const int result = show_message(message_template(message.dialog), title.c_str(), text.c_str(), owner_);
  if (hook != nullptr) {
    UnhookWindowsHookEx(hook);
    g_answer_hook = nullptr;
  }
  return result == 1 ? 1 : 0;
}

}  // namespace quelor
