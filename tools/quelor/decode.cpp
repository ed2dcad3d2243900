#include <cstdio>

#include "commands.h"

namespace quelor::tool {

// Placeholder until this subcommand is written.
int run_decode(int, char**) {
  std::fprintf(stderr, "quelor decode: not available in this build\n");
  return 2;
}

}  // namespace quelor::tool
