#pragma once
// Helpers of the tests that need windows: a display check and a plain
// top-level window of a test class.

#include <windows.h>

#include <gtest/gtest.h>

namespace quelor::test {

// False when no window can be created (Wine without a display).
inline bool windows_available() {
  HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

// True under Wine, whose ntdll exports wine_get_version.
inline bool running_under_wine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The tests that create the program's own main window write and delete its
// files under C:\ProgramData\Quelor: only in a Wine prefix, never on a real
// machine's settings.
#define QUELOR_REQUIRE_WINE_PREFIX()                                               \
  do {                                                                             \
    if (!::quelor::test::running_under_wine())                                     \
      GTEST_SKIP() << "touches C:\\ProgramData\\Quelor: runs only under Wine"; \
  } while (0)

#define QUELOR_REQUIRE_WINDOWS()                                          \
  do {                                                                    \
    if (!::quelor::test::windows_available())                             \
      GTEST_SKIP() << "no display: windows cannot be created (set DISPLAY)"; \
  } while (0)

// A top-level window whose own procedure is DefWindowProcW.
inline HWND plain_window(const wchar_t* title = L"plain") {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuelorTestPlain";
    registered = RegisterClassExW(&wc) != 0;
  }
  return CreateWindowExW(0, L"QuelorTestPlain", title, WS_OVERLAPPED, 0, 0, 200, 100, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Drops everything queued for this thread (including a posted WM_QUIT).
inline void drain_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Presses button `id` of the dialog titled `title` as soon as it shows (from
// a timer, inside the dialog's modal loop). Returns whether it was pressed.
class DialogPresser {
 public:
  DialogPresser(const wchar_t* title, int id) : title_(title), id_(id) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, 30, on_timer);
  }
  ~DialogPresser() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
  }
  bool pressed() const { return pressed_; }

 private:
  static DialogPresser*& current() {
    static DialogPresser* presser = nullptr;
    return presser;
  }
  static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    DialogPresser* p = current();
    if (!p || p->pressed_) return;
    HWND dialog = FindWindowW(L"#32770", p->title_);
    if (!dialog) return;
    p->pressed_ = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(p->id_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, p->id_)));
  }
  const wchar_t* title_;
  int id_;
  UINT_PTR timer_ = 0;
  bool pressed_ = false;
};

}  // namespace quelor::test
