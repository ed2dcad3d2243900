#pragma once
// The binary instruments: EM38-MK2 and EM38-4 records ("T", mode byte,
// big-endian words, 0xFF 0xFF) and EM61 records (letter, range byte, signed
// big-endian channels and current, a battery byte, 0x7F 0x7F).

#include <array>
#include <cstdint>
#include <string>

namespace quelor::devsim {

// Raw word of the EM38 family for a value u: u = (R x 5 / 1024 - 160) x 8.
std::uint16_t em38_word(double u);
double em38_word_value(std::uint16_t raw);

void put_be16(std::string& s, std::size_t at, std::uint16_t v);

struct Em38Mk2Reading {
  double conductivity1 = 0, inphase1 = 0;  // 1 m coil: mS/m, ppt
  double conductivity2 = 0, inphase2 = 0;  // 0.5 m coil
  bool vertical = true;
  bool marker = false;
  std::uint16_t extra1 = 215, extra2 = 1240;  // temperature and battery words, sent as they are
};

// In-phase factors of the two coils.
constexpr double kEm38Mk2InphaseFactor1 = 0.028819;
constexpr double kEm38Mk2InphaseFactor2 = 0.00720475;

// 16 bytes.
std::string encode_em38mk2_record(const Em38Mk2Reading& r);

// Coil pairs of the EM38-4 in record order: 1.00, 0.88, 0.50, 0.75 m.
constexpr std::array<double, 4> kEm38_4Spacings{1.00, 0.88, 0.50, 0.75};
constexpr std::array<double, 4> kEm38_4InphaseFactors{0.0286, 0.0222, 0.00716, 0.0161};

struct Em38_4Reading {
  std::array<double, 4> conductivity{};           // mS/m
  std::array<double, 4> inphase{};                // ppt
  std::array<double, 2> supply{12.4, 12.3};       // raw x 0.66667 - 4
  std::array<double, 2> temperature{21.5, 20.8};  // (raw - 31) / 3.1 - 40
  bool marker = false;
};

// 28 bytes.
std::string encode_em38_4_record(const Em38_4Reading& r);

// Volts per count of the two EM61 types before the range factor.
constexpr double kEm61Mk2Unit = 4.8333;
constexpr double kEm61Lx2Unit = 20.0;

struct Em61Reading {
  char letter = 'T';
  std::array<double, 4> channels{};  // channel values as raw x unit / range factor
  double unit = kEm61Mk2Unit;
  int current = 3141;  // transmitter current word
  int battery = 126;   // battery byte (volts x 10)
};

// Range factor (1, 10 or 100) of a channel: the largest that keeps the raw
// word within a signed 16-bit value.
int em61_range_factor(double value, double unit);

// Range byte of four factors: ch1 0x40/0xC0, ch2 0x10/0x30, ch3 0x04/0x0C,
// ch4 0x01/0x03 for 10/100.
std::uint8_t em61_range_byte(const std::array<int, 4>& factors);

// 15 bytes.
std::string encode_em61_record(const Em61Reading& r);

// Gate weights of the EM61-MK2 channels by record letter and coil (standard
// or high power, sub-type 0): the instrument's counts of a channel are the
// gate-normalised millivolts times this weight.
std::array<double, 4> em61_gate_weights(char letter, bool high_power);

// The marker letter of a reading letter: T->M, D->N, E->P, F->Q, J->K.
char em61_marker_letter(char reading_letter);

}  // namespace quelor::devsim
