// Counters of a running Windows program for the soak test, run under the
// same Wine server as the program. The program is found by the exact title
// of its top-level window.
//   wincounters TITLE
//     {"pid":N,"private_bytes":N,"working_set":N,"gdi":N,"user":N,"handles":N,
//      "system_handles":N,"wine_mru_keys":N}
//     (GetProcessMemoryInfo, GetGuiResources, GetProcessHandleCount, the
//     system handle table; wine_mru_keys counts the program's open registry
//     keys ...\Explorer\ComDlg32\LastVisitedMRU: Wine's file dialog opens
//     one each time a file is chosen and never closes it, a leak of the
//     emulated system that the soak reports apart from the program's own)
//   wincounters --key TITLE CLASS VK [DIALOG]
//     Posts the key VK (WM_KEYDOWN, WM_KEYUP) to the window of class CLASS
//     inside TITLE, as a key press reaches it, and waits until any text of
//     TITLE's windows changes, or with DIALOG until the window titled DIALOG
//     the key opens is shown (it is then cancelled), or with DIALOG "-" until
//     the window thread answers after handling the key (a whole-map redraw):
//     {"key_ms":N} (N -1 when nothing happened within 5 s).
// Exit 1 when there is no such window.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Found {
  const wchar_t* class_name;
  HWND window = nullptr;
};

BOOL CALLBACK find_class(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<Found*>(p);
  wchar_t name[128] = {};
  GetClassNameW(w, name, 128);
  if (std::wcscmp(name, f->class_name) == 0) {
    f->window = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collect_text(HWND w, LPARAM p) {
  auto* texts = reinterpret_cast<std::vector<std::wstring>*>(p);
  wchar_t buffer[512] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
  texts->emplace_back(buffer);
  return TRUE;
}

std::vector<std::wstring> texts_of(HWND top) {
  std::vector<std::wstring> texts;
  EnumChildWindows(top, collect_text, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

FARPROC ntdll(const char* name) { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name); }

// The handle values of a process from the system's handle table (Wine
// returns 0 from GetProcessHandleCount of another process); nothing when
// the table cannot be read.
bool process_handles(DWORD pid, std::vector<USHORT>& out) {
  struct Entry {
    ULONG process;
    BYTE type, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(ntdll("NtQuerySystemInformation")));
  if (!query) return false;
  std::vector<BYTE> buffer(1 << 20);
  for (int i = 0; i < 8; ++i) {
    ULONG needed = 0;
    const NTSTATUS status =
        query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
      const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
      for (ULONG k = 0; k < count; ++k)
        if (entries[k].process == pid) out.push_back(entries[k].handle);
      return true;
    }
    if (status != static_cast<NTSTATUS>(0xC0000004L)) return false;  // not STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return false;
}

// The object name of a registry key handle of another process, else empty.
std::wstring key_name(HANDLE process, USHORT handle) {
  using QueryObject = NTSTATUS(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryObject>(reinterpret_cast<void*>(ntdll("NtQueryObject")));
  HANDLE copy = nullptr;
  if (!query || !DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)), GetCurrentProcess(),
                                 &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return {};
  std::vector<BYTE> info(4096);
  ULONG n = 0;
  std::wstring name;
  const auto text = [&] {
    const auto* u = reinterpret_cast<const UNICODE_STRING*>(info.data());
    return u->Buffer ? std::wstring(u->Buffer, u->Length / sizeof(wchar_t)) : std::wstring();
  };
  if (query(copy, 2 /* ObjectTypeInformation */, info.data(), static_cast<ULONG>(info.size()), &n) == 0 &&
      text() == L"Key" &&
      query(copy, 1 /* ObjectNameInformation */, info.data(), static_cast<ULONG>(info.size()), &n) == 0)
    name = text();
  CloseHandle(copy);
  return name;
}

bool ends_with(const std::wstring& s, const std::wstring& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Wine's file dialog keys left open, -1 when they cannot be counted.
long wine_mru_keys(DWORD pid, const std::vector<USHORT>& handles) {
  HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid);
  if (!process) return -1;
  long n = 0;
  for (USHORT h : handles) n += ends_with(key_name(process, h), L"\\Explorer\\ComDlg32\\LastVisitedMRU");
  CloseHandle(process);
  return n;
}

int counters(HWND top) {
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  std::vector<USHORT> table;
  const bool listed = process_handles(pid, table);
  std::printf(
      "{\"pid\":%lu,\"private_bytes\":%llu,\"working_set\":%llu,\"gdi\":%lu,\"user\":%lu,\"handles\":%lu,"
      "\"system_handles\":%ld,\"wine_mru_keys\":%ld}\n",
      static_cast<unsigned long>(pid), static_cast<unsigned long long>(memory.PrivateUsage),
      static_cast<unsigned long long>(memory.WorkingSetSize), static_cast<unsigned long>(gdi),
      static_cast<unsigned long>(user), static_cast<unsigned long>(handles),
      listed ? static_cast<long>(table.size()) : -1L, listed ? wine_mru_keys(pid, table) : -1L);
  CloseHandle(process);
  return 0;
}

bool dialog_shown(const wchar_t* title, HWND& dialog) {
  dialog = FindWindowW(nullptr, title);
  return dialog && IsWindowVisible(dialog);
}

int key_time(HWND top, const wchar_t* class_name, UINT vk, const wchar_t* dialog_title) {
  Found f{class_name};
  EnumChildWindows(top, find_class, reinterpret_cast<LPARAM>(&f));
  HWND target = f.window ? f.window : top;
  const std::vector<std::wstring> before = texts_of(top);
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const UINT scan = MapVirtualKeyW(vk, 0);
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
  if (dialog_title && std::wcscmp(dialog_title, L"-") == 0) {
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result) != 0;
    QueryPerformanceCounter(&now);
    const double ms =
        1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("{\"key_ms\":%.1f}\n", answered ? ms : -1.0);
    return 0;
  }
  for (;;) {
    QueryPerformanceCounter(&now);
    const double ms =
        1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    HWND dialog = nullptr;
    if (dialog_title ? dialog_shown(dialog_title, dialog) : texts_of(top) != before) {
      std::printf("{\"key_ms\":%.1f}\n", ms);
      if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      for (int i = 0; dialog && i < 500 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) Sleep(10);
      return 0;
    }
    if (ms > 5000) {
      std::printf("{\"key_ms\":-1}\n");
      return 0;
    }
    Sleep(1);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool key = (argc == 5 || argc == 6) && std::wcscmp(argv[1], L"--key") == 0;
  if (!key && argc != 2) {
    std::fprintf(stderr, "usage: wincounters TITLE | wincounters --key TITLE CLASS VK [DIALOG]\n");
    return 2;
  }
  HWND top = FindWindowW(nullptr, argv[key ? 2 : 1]);
  if (!top) return 1;
  if (key)
    return key_time(top, argv[3], static_cast<UINT>(std::wcstoul(argv[4], nullptr, 0)), argc == 6 ? argv[5] : nullptr);
  return counters(top);
}
