#pragma once
// Whole small files on the Windows file system.

#include "io/file_system.h"

namespace quelor {

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::string> read_file(const std::wstring& path) override;
  bool write_file(const std::wstring& path, std::string_view bytes) override;
  bool delete_file(const std::wstring& path) override;
  bool file_exists(const std::wstring& path) override;
  bool create_directory(const std::wstring& path) override;
};

}  // namespace quelor
