#include <cstdio>

#include "commands.h"

namespace quelor::tool {

// Placeholder until this subcommand is written.
int run_nmea(int, char**) {
  std::fprintf(stderr, "quelor nmea: not available in this build\n");
  return 2;
}

}  // namespace quelor::tool
