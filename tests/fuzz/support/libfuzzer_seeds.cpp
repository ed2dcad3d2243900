// Under libFuzzer: the target's seeds written into an empty corpus folder
// given on the command line, so that a run starts from valid inputs.
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    const std::filesystem::path dir = (*argv)[i];
    if ((*argv)[i][0] == '-' || !std::filesystem::is_directory(dir) || !std::filesystem::is_empty(dir)) continue;
    int n = 0;
    for (const std::string& s : quelor::fuzz::seeds())
      std::ofstream(dir / ("seed-" + std::to_string(n++)), std::ios::binary) << s;
    break;
  }
  return 0;
}
