#pragma once
// Helpers of the tests that need windows: a display check and a plain
// top-level window of a test class.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

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
#define QUELOR_REQUIRE_WINE_PREFIX()                                           \
  do {                                                                         \
    if (!::quelor::test::running_under_wine())                                 \
      GTEST_SKIP() << "touches C:\\ProgramData\\Quelor: runs only under Wine"; \
  } while (0)

#define QUELOR_REQUIRE_WINDOWS()                                                                                     \
  do {                                                                                                               \
    if (!::quelor::test::windows_available()) GTEST_SKIP() << "no display: windows cannot be created (set DISPLAY)"; \
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
  return CreateWindowExW(0, L"QuelorTestPlain", title, WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
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

// Runs `act` on the dialog titled `title` once it shows (from a
// timer, inside the dialog's modal loop), then presses its button `id`.
// With `give_up_ticks`, a dialog of another title still open after that
// many 30 ms ticks fails the test and is cancelled, so that a dialog the
// script never meets cannot hold the test.
class DialogScript {
 public:
  DialogScript(const wchar_t* title, std::function<void(HWND)> act, int id, int give_up_ticks = 0)
      : title_(title), act_(std::move(act)), id_(id), give_up_ticks_(give_up_ticks) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, 30, on_timer);
  }
  ~DialogScript() {
    KillTimer(nullptr, timer_);
    current() = nullptr;
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;
  bool ran() const { return ran_; }

 private:
  static DialogScript*& current() {
    static DialogScript* script = nullptr;
    return script;
  }
  static void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* s = current();
    if (!s || s->ran_) return;
    HWND dialog = FindWindowW(L"#32770", s->title_);
    if (!dialog || !IsWindowVisible(dialog)) {
      if (s->give_up_ticks_ > 0 && ++s->waited_ >= s->give_up_ticks_)
        if (HWND other = FindWindowW(L"#32770", nullptr)) {
          wchar_t title[128] = {};
          GetWindowTextW(other, title, 128);
          ADD_FAILURE() << "another dialog open: " << std::string(title, title + lstrlenW(title));
          press(other, IDCANCEL);
        }
      return;
    }
    s->ran_ = true;
    if (s->act_) s->act_(dialog);
    press(dialog, s->id_);
  }
  const wchar_t* title_;
  std::function<void(HWND)> act_;
  int id_;
  int give_up_ticks_;
  int waited_ = 0;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

// Presses button `id` of the dialog titled `title` as soon as it shows.
class DialogPresser : public DialogScript {
 public:
  DialogPresser(const wchar_t* title, int id) : DialogScript(title, {}, id) {}
  bool pressed() const { return ran(); }
};

}  // namespace quelor::test
