#pragma once
// An in-memory FileSystem: files and folders in maps, with the Windows rule
// that a file or folder can only be created inside an existing folder.

#include <map>
#include <set>
#include <string>

#include "io/file_system.h"

namespace quelor {

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem() {
    folders.insert(L"C:");
    folders.insert(L"C:\\ProgramData");
  }

  std::optional<std::string> read_file(const std::wstring& path) override {
    ++reads;
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return std::nullopt;
    return it->second;
  }
  bool write_file(const std::wstring& path, std::string_view bytes) override {
    ++writes;
    if (!folders.count(parent(path)) || read_only) return false;
    files[path] = std::string(bytes);
    return true;
  }
  bool delete_file(const std::wstring& path) override {
    ++deletes;
    return files.erase(path) == 1;
  }
  bool file_exists(const std::wstring& path) override { return files.count(path) == 1; }
  bool create_directory(const std::wstring& path) override {
    if (folders.count(path)) return true;
    if (!folders.count(parent(path))) return false;
    folders.insert(path);
    return true;
  }

  static std::wstring parent(const std::wstring& path) {
    std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  }

  std::map<std::wstring, std::string> files;
  std::set<std::wstring> folders;
  std::set<std::wstring> unreadable;
  bool read_only = false;
  int reads = 0;
  int writes = 0;
  int deletes = 0;
};

}  // namespace quelor
