#pragma once
// Decoders of the binary EM38-MK2 (14 bytes) and EM38-4 (26 bytes) records.
// Words are big-endian; u(R) = (R * 5 / 1024 - 160) * 8.

#include <array>
#include <cstdint>
#include <span>

#include "serial/channel_slots.h"

namespace quelor {

double em38_word_value(std::uint16_t raw);

// The mode letter of an EM38-MK2 or EM38-4 mode byte (its low three bits):
// 2 or 6 "N", anything else "M".
char em38_mode_letter(int mode_bits);

// Calibration offsets of one dipole: conductivity 1, in-phase 1,
// conductivity 2, in-phase 2.
struct Em38Mk2Offsets {
  std::array<double, 4> vertical{};
  std::array<double, 4> horizontal{};
};

struct Em38Mk2Reading {
  ChannelSlots slots;
  char dipole = 'V';
  char mode = 'M';
  int dipole_code = 16;
  std::array<std::uint16_t, 2> raw{};  // positions 10-11 and 12-13, unchanged
};

Em38Mk2Reading decode_em38_mk2(std::span<const std::uint8_t> record, const Em38Mk2Offsets& offsets, bool single_coil);

// EM38-4 calibration, per coil pair in record order (1.00, 0.88, 0.50, 0.75 m).
struct Em38_4Calibration {
  std::array<double, 4> conductivity_offset{};
  std::array<double, 4> inphase_offset{};
  std::array<double, 4> carrier_offset{};
  std::array<double, 4> carrier_inphase_offset{};
  std::array<double, 2> extra_offset{};  // added to the values of positions 18-21
};

struct Em38_4Reading {
  // Conductivity then in-phase of each pair in record order.
  std::array<double, 8> slots{};
  std::array<double, 4> extra{};  // positions 18-19, 20-21, 22-23, 24-25
  char mode = 'M';
  char dipole = 'V';
  int dipole_code = 8;
};

Em38_4Reading decode_em38_4(std::span<const std::uint8_t> record, const Em38_4Calibration& calibration,
                            bool raw_inphase);

}  // namespace quelor
