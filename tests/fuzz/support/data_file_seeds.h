#pragma once
// Seeds of the targets that read survey data files: the golden data file of
// each of the 18 programs (as the writer makes them), behind a selector byte
// that picks the same program.
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "variant/variant.h"

namespace quelor::fuzz {

inline std::string golden_data_file(const Variant& v) {
  return read_source_file("tests/golden/datafile/" + std::string(product_names(v).program_name) + ".dat");
}

// With the selector byte first, or the file alone.
inline std::vector<std::string> data_file_seeds(bool with_selector) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < variant_table().size() * 2; ++i) {
    const std::string file = golden_data_file(variant_of(static_cast<std::uint8_t>(i)));
    if (file.empty()) continue;
    out.push_back(with_selector ? std::string(1, static_cast<char>(i)) + file : file);
  }
  return out;
}

}  // namespace quelor::fuzz
