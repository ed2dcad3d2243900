#pragma once
// What every fuzz target defines: fuzz_one, which takes one input and must
// neither crash nor trip a sanitizer (the libFuzzer entry calls it), and its
// seeds, small valid inputs the mutations start from.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "variant/variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quelor::fuzz {

// One input: its bytes, the same as text, and split into a selector byte and
// the rest (empty input: selector 0, no rest).
struct FuzzInput {
  std::span<const std::uint8_t> bytes;
  std::string_view text;
  std::uint8_t selector = 0;
  std::string_view rest;
};

void fuzz_one(const FuzzInput& in);
std::vector<std::string> seeds();

// A failed property: prints it and aborts, so that libFuzzer keeps the input
// and the seeded driver fails its test.
[[noreturn]] void fail(std::string_view what);
inline void expect(bool holds, std::string_view what) {
  if (!holds) fail(what);
}

// One of the 18 programs by a selector byte.
inline Variant variant_of(std::uint8_t selector) {
  const auto rows = variant_table();
  const std::size_t i = selector % (rows.size() * 2);
  return {rows[i / 2].instrument_type, static_cast<int>(i % 2)};
}

// The test data folder of the source tree (golden files used as seeds).
std::string source_dir();
std::string read_source_file(std::string_view relative_path);

}  // namespace quelor::fuzz
