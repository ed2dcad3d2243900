#include "gps/fields.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quelor {

bool extract_field(std::string_view text, int n, char separator, std::string_view& out) {
  if (n < 1) return false;
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t sep = text.find(separator, begin);
    if (sep == std::string_view::npos) return false;
    begin = sep + 1;
  }
  const std::size_t end = text.find(separator, begin);
  out = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
  return true;
}

namespace {

bool add_position(FieldIndex& index, std::size_t pos, std::size_t limit) {
  if (index.count == limit) {
    index.complete = false;
    return false;
  }
  index.positions[index.count++] = static_cast<std::uint32_t>(pos);
  return true;
}

}  // namespace

void index_fields(FieldIndex& index, std::string_view text, char separator, std::size_t limit) {
  if (limit > FieldIndex::kCapacity) limit = FieldIndex::kCapacity;
  index.text = text;
  index.separator = separator;
  index.count = 0;
  index.complete = true;
  const char* const data = text.data();
  const std::size_t size = text.size();
  std::size_t pos = 0;
#if defined(__SSE2__)
  // Sixteen characters at a time where the processor has SSE2 (every x86-64).
  const __m128i wanted = _mm_set1_epi8(separator);
  for (; pos + 16 <= size; pos += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
    while (hits != 0) {
      if (!add_position(index, pos + static_cast<std::size_t>(__builtin_ctz(hits)), limit)) return;
      hits &= hits - 1;
    }
  }
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // Eight characters at a time: the high bit of each byte equal to the
  // separator, exactly (no borrow between bytes).
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(separator);
  for (; pos + 8 <= size; pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + pos, 8);
    const std::uint64_t x = word ^ pattern;
    std::uint64_t hits = ~(((x & kLow7) + kLow7) | x | kLow7);
    while (hits != 0) {
      if (!add_position(index, pos + static_cast<std::size_t>(__builtin_ctzll(hits)) / 8, limit)) return;
      hits &= hits - 1;
    }
  }
#endif
  for (; pos < size; ++pos)
    if (data[pos] == separator && !add_position(index, pos, limit)) return;
}

}  // namespace quelor
