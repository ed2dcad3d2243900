#include "gps/checksum.h"

#include <cstring>

#include "gps/number_text.h"

namespace quelor {

namespace {

// XOR of the characters of [p, stop), eight at a time, folded at the end.
std::uint8_t xor_of(const char* p, const char* const stop) {
  std::uint64_t wide = 0;
  for (; stop - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    wide ^= word;
  }
  std::uint8_t sum = 0;
  for (int shift = 0; shift < 64; shift += 8) sum ^= static_cast<std::uint8_t>(wide >> shift);
  for (; p < stop; ++p) sum ^= static_cast<std::uint8_t>(*p);
  return sum;
}

std::size_t sum_start(std::string_view sentence) { return !sentence.empty() && sentence[0] == '$' ? 1 : 0; }

}  // namespace

std::uint8_t nmea_checksum(std::string_view sentence) {
  const std::size_t first = sum_start(sentence);
  const std::size_t star = sentence.find('*', first);
  const std::size_t end = star == std::string_view::npos ? sentence.size() : star;
  return xor_of(sentence.data() + first, sentence.data() + end);
}

ChecksumResult check_nmea_checksum(std::string_view sentence) {
  // One search for "*": a "$" at position 0 is never it.
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos) return ChecksumResult::kMissing;
  std::string_view digits = sentence.substr(star + 1);
  // A "0x" prefix is read as strtol reads it in base 16.
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    unsigned probe = 0;
    if (leading_hex(digits.substr(2), probe)) digits.remove_prefix(2);
  }
  unsigned written = 0;
  if (!leading_hex(digits, written)) return ChecksumResult::kMissing;
  const std::uint8_t sum = xor_of(sentence.data() + sum_start(sentence), sentence.data() + star);
  return written == sum ? ChecksumResult::kOk : ChecksumResult::kMismatch;
}

}  // namespace quelor
