#include "file_input.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "background/survey_file.h"

namespace quelor::tool {

namespace {

template <typename Bytes>
bool append_stream(std::FILE* in, Bytes& bytes) {
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
    bytes.insert(bytes.end(), buffer, buffer + n);
  return std::ferror(in) == 0;
}

}  // namespace

std::optional<std::string> read_file_bytes(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return std::nullopt;
  std::string bytes;
  // The file's size up front: a day's file read without doubling the buffer.
  // Only a regular file's: a folder opens and seeks too, with a size of nothing real.
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) {
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
  }
  const bool ok = append_stream(in, bytes);
  std::fclose(in);
  if (!ok) return std::nullopt;
  return bytes;
}

bool read_input(const char* path, std::vector<std::uint8_t>& data) {
  if (path != nullptr && std::strcmp(path, "-") != 0) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) return false;
    const bool ok = append_stream(in, data);
    std::fclose(in);
    return ok;
  }
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  return append_stream(stdin, data);
}

// A folder stands for the survey data files in it, in name order.
std::string expand_data_folders(std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const std::string& f : files) {
    std::error_code ec;
    if (!std::filesystem::is_directory(f, ec)) {
      out.push_back(f);
      continue;
    }
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(f, ec)) {
      if (!entry.is_regular_file(ec)) continue;
      const std::optional<std::string> bytes = read_file_bytes(entry.path().string());
      if (bytes && read_survey_file_info(*bytes)) found.push_back(entry.path().string());
    }
    if (ec) return "cannot read the folder " + f;
    if (found.empty()) return "no survey data file in the folder " + f;
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
  }
  files = std::move(out);
  return {};
}

}  // namespace quelor::tool
