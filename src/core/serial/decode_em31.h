#pragma once
// Decoders of the "T" records of the EM31-MK2, EM38 and EM34-3:
// "T", status byte S, first value (5 characters), second value (5 characters).

#include <cstdint>
#include <span>

#include "serial/channel_slots.h"

namespace quelor {

struct Em31Options {
  bool manual_mode = false;      // Manual logging mode: mode letter always "N"
  bool inphase_divisor = false;  // EM31-MK2 in-phase divisor setting (3.35)
  bool inphase_only = false;     // EM31-MK2 in-phase-only setting
  bool em38_x10 = false;         // EM38 x10 setting
};

struct Em31Reading {
  ChannelSlots slots;
  char dipole = 'V';            // "V" or "H"
  char mode = 'N';              // "M" or "N"
  double range = 0;             // full-scale number
  int dipole_code = 16;         // 16 vertical, 8 horizontal; EM34-3: the slot index
  bool flag_b = false;          // bit 0 of the status byte
  bool marker = false;          // status byte without bit 7 is 64 or more
  bool inphase_record = false;  // EM38: the value is an in-phase value
};

Em31Reading decode_em31_mk2(std::span<const std::uint8_t> record, const Em31Options& options);
Em31Reading decode_em38(std::span<const std::uint8_t> record, const Em31Options& options);
Em31Reading decode_em34_3(std::span<const std::uint8_t> record, const Em31Options& options);

}  // namespace quelor
