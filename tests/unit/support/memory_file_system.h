#pragma once
// A file system in memory for the tests: files by path, folders as a set.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "io/file_system.h"

namespace quelor::testing_support {

class MemoryFileSystem : public FileSystem {
 public:
  std::optional<std::string> read_file(const std::wstring& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool write_file(const std::wstring& path, std::string_view bytes) override {
    files[path] = std::string(bytes);
    return true;
  }
  bool delete_file(const std::wstring& path) override { return files.erase(path) > 0; }
  bool file_exists(const std::wstring& path) override { return files.count(path) > 0; }
  bool create_directory(const std::wstring& path) override {
    folders.insert(path);
    return true;
  }
  std::map<std::wstring, std::string> files;
  std::set<std::wstring> folders;
};

}  // namespace quelor::testing_support
