#include "devsim/binary_record.h"

#include <algorithm>
#include <cmath>

namespace quelor::devsim {
namespace {

std::uint16_t word_of(double raw) { return static_cast<std::uint16_t>(std::clamp(std::round(raw), 0.0, 65535.0)); }

std::int16_t signed_word_of(double raw) {
  return static_cast<std::int16_t>(std::clamp(std::round(raw), -32768.0, 32767.0));
}

// A record's last byte before its terminator must not look like the
// terminator, or a reader could end the record one byte early.
void keep_clear_of(std::string& s, std::size_t at, char terminator) {
  if (s[at] == terminator) s[at] = static_cast<char>(static_cast<unsigned char>(terminator) - 1);
}

}  // namespace

std::uint16_t em38_word(double u) { return word_of((u / 8.0 + 160.0) * 1024.0 / 5.0); }

double em38_word_value(std::uint16_t raw) { return (raw * 5.0 / 1024.0 - 160.0) * 8.0; }

void put_be16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v >> 8);
  s[at + 1] = static_cast<char>(v & 0xFF);
}

std::string encode_em38mk2_record(const Em38Mk2Reading& r) {
  std::string s(16, '\0');
  s[0] = 'T';
  // 2 or 6: mode "N"; 3 or 7 (trigger held): "M". Above 3: vertical dipole.
  s[1] = static_cast<char>((r.vertical ? 6 : 2) + (r.marker ? 1 : 0));
  put_be16(s, 2, em38_word(r.conductivity2));
  put_be16(s, 4, em38_word(r.inphase2 / kEm38Mk2InphaseFactor2));
  put_be16(s, 6, em38_word(r.conductivity1));
  put_be16(s, 8, em38_word(r.inphase1 / kEm38Mk2InphaseFactor1));
  put_be16(s, 10, r.extra1);
  put_be16(s, 12, r.extra2);
  keep_clear_of(s, 13, '\xFF');
  s[14] = s[15] = '\xFF';
  return s;
}

std::string encode_em38_4_record(const Em38_4Reading& r) {
  std::string s(28, '\0');
  s[0] = 'T';
  s[1] = static_cast<char>(r.marker ? 7 : 6);
  for (std::size_t i = 0; i < 4; ++i) {
    put_be16(s, 2 + 4 * i, em38_word(r.conductivity[i]));
    put_be16(s, 4 + 4 * i, em38_word(r.inphase[i] / kEm38_4InphaseFactors[i]));
  }
  for (std::size_t i = 0; i < 2; ++i) {
    put_be16(s, 18 + 2 * i, word_of((r.supply[i] + 4.0) / 0.66667));
    put_be16(s, 22 + 2 * i, word_of((r.temperature[i] + 40.0) * 3.1 + 31.0));
  }
  keep_clear_of(s, 25, '\xFF');
  s[26] = s[27] = '\xFF';
  return s;
}

int em61_range_factor(double value, double unit) {
  for (int factor : {100, 10}) {
    if (std::fabs(value * factor / unit) <= 32767.0) return factor;
  }
  return 1;
}

std::uint8_t em61_range_byte(const std::array<int, 4>& factors) {
  static constexpr std::uint8_t kTen[4] = {0x40, 0x10, 0x04, 0x01};
  static constexpr std::uint8_t kHundred[4] = {0xC0, 0x30, 0x0C, 0x03};
  std::uint8_t g = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (factors[i] == 100)
      g |= kHundred[i];
    else if (factors[i] == 10)
      g |= kTen[i];
  }
  return g;
}

std::string encode_em61_record(const Em61Reading& r) {
  std::string s(15, '\0');
  s[0] = r.letter;
  std::array<int, 4> factors{};
  for (std::size_t i = 0; i < 4; ++i) {
    factors[i] = em61_range_factor(r.channels[i], r.unit);
    put_be16(s, 2 + 2 * i, static_cast<std::uint16_t>(signed_word_of(r.channels[i] * factors[i] / r.unit)));
  }
  s[1] = static_cast<char>(em61_range_byte(factors));
  put_be16(s, 10, static_cast<std::uint16_t>(signed_word_of(r.current)));
  s[12] = static_cast<char>(std::clamp(r.battery, 0, 255));
  keep_clear_of(s, 12, '\x7F');
  s[13] = s[14] = '\x7F';
  return s;
}

std::array<double, 4> em61_gate_weights(char letter, bool high_power) {
  switch (letter) {
    case 'E':
    case 'P': return {0.9025, 1.363, 2.026795, 3.018856};
    case 'F':
    case 'Q': return {0.9025, 1.363, 2.043, 12.152};
    case 'D':
    case 'N':
      if (high_power) return {1.72, 2.54, 3.74, 6.07 * 1.114 * 1.112};
      return {2, 2, 2, 4 * 1.114 / 1.112};
    default:
      if (high_power) return {1.72, 2.54, 3.74, 6.07};
      return {2, 2, 2, 2};
  }
}

char em61_marker_letter(char reading_letter) {
  switch (reading_letter) {
    case 'T': return 'M';
    case 'D': return 'N';
    case 'E': return 'P';
    case 'F': return 'Q';
    case 'J': return 'K';
    case 'j': return 'k';
    default: return reading_letter;
  }
}

}  // namespace quelor::devsim
