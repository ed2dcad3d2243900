#pragma once
// Whole-file access for small files (settings files, probes for free names).
// The Windows program implements it with CreateFileW & co; tests use a map.

#include <optional>
#include <string>
#include <string_view>

namespace quelor {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file, or nothing when it cannot be opened.
  virtual std::optional<std::string> read_file(const std::wstring& path) = 0;
  // Creates or replaces the file with these bytes; false when it cannot.
  virtual bool write_file(const std::wstring& path, std::string_view bytes) = 0;
  virtual bool delete_file(const std::wstring& path) = 0;
  virtual bool file_exists(const std::wstring& path) = 0;
  // Creates one folder (its parent must exist); an existing folder is success.
  virtual bool create_directory(const std::wstring& path) = 0;
};

}  // namespace quelor
