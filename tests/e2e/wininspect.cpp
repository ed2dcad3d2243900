// Window inspector for the end-to-end tests, run under the same Wine server
// as the program: prints the top-level window with the given title and each
// of its direct children, one per line:
//   window <class> <x> <y> <width> <height> <visible> <title>
//   client <x> <y> <width> <height>        (client area on the screen)
//   child <id> <class> <x> <y> <width> <height> <visible> <text>
// (child positions in the parent's client coordinates). With --deep, the
// windows further down follow, each with the id of its own parent:
//   descendant <parent id> <id> <class> <x> <y> <width> <height> <visible> <text>
// and after a list box (child or descendant) its item count and last item:
//   listbox <id> <count> <last item>
// Exit 1 when no such window exists.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::string class_of(HWND w) {
  wchar_t buffer[256] = {};
  GetClassNameW(w, buffer, 256);
  return utf8(buffer);
}

std::string text_of(HWND w) {
  wchar_t buffer[512] = {};
  // WM_GETTEXT straight to the window: GetWindowTextW does not read other
  // processes' controls.
  SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  return utf8(buffer);
}

void print_list_box(HWND w) {
  if (class_of(w) != "ListBox") return;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(w, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
  wchar_t last[512] = {};
  const int n = static_cast<int>(static_cast<LRESULT>(count));
  if (n > 0) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(w, LB_GETTEXTLEN, n - 1, 0, SMTO_ABORTIFHUNG, 2000, &length);
    if (static_cast<LRESULT>(length) >= 0 && length < 512)
      SendMessageTimeoutW(w, LB_GETTEXT, n - 1, reinterpret_cast<LPARAM>(last), SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  std::printf("listbox %d %d %s\n", GetDlgCtrlID(w), n, utf8(last).c_str());
}

BOOL CALLBACK print_child(HWND child, LPARAM parent_value) {
  HWND parent = reinterpret_cast<HWND>(parent_value);
  if (GetAncestor(child, GA_PARENT) != parent) return TRUE;
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::printf("child %d %s %ld %ld %ld %ld %d %s\n", GetDlgCtrlID(child), class_of(child).c_str(), r.left, r.top,
              r.right - r.left, r.bottom - r.top, IsWindowVisible(child) ? 1 : 0, text_of(child).c_str());
  print_list_box(child);
  return TRUE;
}

BOOL CALLBACK print_descendant(HWND window, LPARAM top_value) {
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent == reinterpret_cast<HWND>(top_value)) return TRUE;
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::printf("descendant %d %d %s %ld %ld %ld %ld %d %s\n", GetDlgCtrlID(parent), GetDlgCtrlID(window),
              class_of(window).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(window) ? 1 : 0, text_of(window).c_str());
  print_list_box(window);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wininspect <window title> [--deep]\n");
    return 2;
  }
  HWND w = FindWindowW(nullptr, argv[1]);
  if (!w) {
    std::fprintf(stderr, "wininspect: no window titled %s\n", utf8(argv[1]).c_str());
    return 1;
  }
  RECT r;
  GetWindowRect(w, &r);
  std::printf("window %s %ld %ld %ld %ld %d %s\n", class_of(w).c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top, IsWindowVisible(w) ? 1 : 0, text_of(w).c_str());
  RECT client;
  GetClientRect(w, &client);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  EnumChildWindows(w, print_child, reinterpret_cast<LPARAM>(w));
  if (argc > 2 && std::wstring(argv[2]) == L"--deep")
    EnumChildWindows(w, print_descendant, reinterpret_cast<LPARAM>(w));
  std::fflush(stdout);
  return 0;
}
