#pragma once
// Helpers shared by the settings tests.

#include <string>
#include <string_view>
#include <vector>

#include "variant/variant.h"

namespace quelor {

// Every variant of the variant table, both product lines.
inline std::vector<Variant> all_variants() {
  std::vector<Variant> out;
  for (const VariantRow& row : variant_table())
    for (int nav : {0, 1}) out.push_back({row.instrument_type, nav});
  return out;
}

// The file's lines without their CR LF; line 1 is the version line. Fails the
// calling test (by returning an empty list) when a line lacks its CR LF.
inline std::vector<std::string> split_crlf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) return {};
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

inline std::string variant_name(const Variant& v) { return std::string(product_names(v).program_name); }

}  // namespace quelor
