#pragma once
// What every fuzz target defines: the libFuzzer entry, which takes one input
// and must neither crash nor trip a sanitizer, and its seeds, small valid
// inputs the mutations start from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quelor::fuzz {

std::vector<std::string> seeds();

// A failed property: prints it and aborts, so that libFuzzer keeps the input
// and the seeded driver fails its test.
[[noreturn]] void fail(std::string_view what);
inline void expect(bool holds, std::string_view what) {
  if (!holds) fail(what);
}

// The input split into a selector byte and the rest (empty input: 0, none).
struct Split {
  std::uint8_t selector = 0;
  std::string_view rest;
};
inline Split split_input(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  return {data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

// The test data folder of the source tree (golden files used as seeds).
std::string source_dir();
std::string read_source_file(std::string_view relative_path);

}  // namespace quelor::fuzz
