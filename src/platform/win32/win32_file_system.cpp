#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace quelor {

namespace {

constexpr DWORD kChunk = 1u << 16;

}  // namespace

std::optional<std::string> Win32FileSystem::read_file(const std::wstring& path) {
  FileHandle file{
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

bool Win32FileSystem::write_file(const std::wstring& path, std::string_view bytes) {
  FileHandle file{CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) return false;
  while (!bytes.empty()) {
    const DWORD part = bytes.size() < kChunk ? static_cast<DWORD>(bytes.size()) : kChunk;
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), part, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool Win32FileSystem::delete_file(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

bool Win32FileSystem::file_exists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::create_directory(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace quelor
