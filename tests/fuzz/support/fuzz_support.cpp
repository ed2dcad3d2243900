#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fuzz_target.h"

namespace quelor::fuzz {

void fail(std::string_view what) {
  std::fprintf(stderr, "fuzz property failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

std::string source_dir() {
  if (const char* dir = std::getenv("QUELOR_SOURCE_DIR")) return dir;
  return QUELOR_SOURCE_DIR;
}

std::string read_source_file(std::string_view relative_path) {
  std::ifstream in(source_dir() + "/" + std::string(relative_path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace quelor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quelor::fuzz::FuzzInput in;
  in.bytes = std::span<const std::uint8_t>(data, size);
  in.text = std::string_view(reinterpret_cast<const char*>(data), size);
  if (size > 0) {
    in.selector = data[0];
    in.rest = in.text.substr(1);
  }
  quelor::fuzz::fuzz_one(in);
  return 0;
}
