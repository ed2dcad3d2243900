#include "file_input.h"

#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace quelor::tool {

namespace {

template <typename Bytes>
bool append_stream(std::FILE* in, Bytes& bytes) {
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
  return std::ferror(in) == 0;
}

}  // namespace

std::optional<std::string> read_file_bytes(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return std::nullopt;
  std::string bytes;
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

}  // namespace quelor::tool
