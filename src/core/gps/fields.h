#pragma once
// Field extraction from a separated sentence. Field 1 is the text up to the
// first separator (the sentence head, "$GPGGA"); field n is the text between
// separator n-1 and separator n, or the rest of the text when separator n is
// missing, so the last field of a sentence keeps "*" and the checksum digits.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quelor {

// True and the field in `out` when the text has at least n-1 separators.
bool extract_field(std::string_view text, int n, char separator, std::string_view& out);

// The separator positions of a text, found in one pass, so that reading
// several fields does not scan the text again for each.
struct FieldIndex {
  static constexpr std::size_t kCapacity = 48;
  std::string_view text;
  char separator = ',';
  std::array<std::uint32_t, kCapacity> positions;  // the first `count` are set
  std::size_t count = 0;
  bool complete = true;  // false: the text has more separators than held
};

// Separators after the first `limit` are left to extract_field (fields up
// to number `limit` are read from the index).
void index_fields(FieldIndex& index, std::string_view text, char separator, std::size_t limit = FieldIndex::kCapacity);

// extract_field on the indexed text. Inline: the parser reads every field
// through it.
inline bool indexed_field(const FieldIndex& index, int n, std::string_view& out) {
  if (n < 1) return false;
  const std::size_t before = static_cast<std::size_t>(n) - 1;  // separators before the field
  if (before > index.count || (before == index.count && !index.complete))
    return index.complete ? false : extract_field(index.text, n, index.separator, out);
  const std::size_t begin = before == 0 ? 0 : index.positions[before - 1] + 1;
  if (before < index.count) {
    out = index.text.substr(begin, index.positions[before] - begin);
  } else {
    out = index.text.substr(begin);  // complete, no separator after the field
  }
  return true;
}

}  // namespace quelor
