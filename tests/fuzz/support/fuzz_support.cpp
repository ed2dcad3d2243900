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
