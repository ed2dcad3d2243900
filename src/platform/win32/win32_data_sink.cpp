#include "platform/win32/win32_data_sink.h"

namespace quelor {

namespace {

HANDLE open_always(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Win32DataSink::~Win32DataSink() { close(); }

bool Win32DataSink::open(const std::wstring& path) {
  close();
  path_ = path;
  handle_ = open_always(path);
  return is_open();
}

std::size_t Win32DataSink::read(char* buffer, std::size_t size) {
  if (!is_open() || size == 0) return 0;
  DWORD got = 0;
  if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
  return got;
}

bool Win32DataSink::seek_start() {
  return is_open() && SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool Win32DataSink::seek_end() {
  return is_open() && SetFilePointer(handle_, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

// Records are short: one WriteFile carries them whole; a short write (disk
// full) is reported as a failure rather than left half-done silently.
bool Win32DataSink::write(std::string_view bytes) {
  if (!is_open()) return false;
  if (bytes.empty()) return true;
  DWORD written = 0;
  if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return false;
  return written == bytes.size();
}

bool Win32DataSink::flush() { return is_open() && FlushFileBuffers(handle_); }

void Win32DataSink::close() {
  if (!is_open()) return;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool Win32DataSink::reopen() {
  close();
  if (path_.empty()) return false;
  handle_ = open_always(path_);
  return seek_end();
}

}  // namespace quelor
