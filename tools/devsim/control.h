#pragma once
// Control commands, one per line on standard input or the control FIFO:
//   trigger [RECORDS]           the trigger / marker button (default 3 records)
//   silence DEVICE SECONDS      the device sends and answers nothing
//   unplug DEVICE [SECONDS]     the link vanishes (pty closed, link removed);
//                               back by itself after SECONDS, else on plug
//   plug DEVICE                 the link comes back at the same path (a new pty)
//   garbage DEVICE BYTES        that many random bytes into the stream now
//   badsum DEVICE N             the next N sentences with a wrong checksum
//   quality Q | satellites N | hdop X      the GPS fix
//   dipole V|H                  turn the instrument (EM31/EM38/EM34/EM38-MK2)
//   switch auto|manual          the EM38-MK2's own mode switch: on manual it
//                               sends one record per trigger press, else none
//   offsets X [X ...]           up to six instrument offsets (instrument_bench.h)
//   stance walk|air|ground      where the instrument is held
//   ratio R                     EM61-LX2 channel 1 / channel 2 on the ground
//   current N                   the EM61 transmitter current word (0: as normal)
//   pause-walk | resume-walk | status | quit
// DEVICE is instrument, gps or tilt.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quelor::devsim {

enum class Device { kInstrument, kGps, kTilt };

enum class ControlKind {
  kTrigger,
  kSilence,
  kUnplug,
  kPlug,
  kGarbage,
  kBadsum,
  kQuality,
  kSatellites,
  kHdop,
  kDipole,
  kSwitch,
  kOffsets,
  kStance,
  kRatio,
  kCurrent,
  kPauseWalk,
  kResumeWalk,
  kStatus,
  kQuit,
};

struct ControlCommand {
  ControlKind kind = ControlKind::kStatus;
  Device device = Device::kInstrument;
  double number = 0;               // seconds (unplug: 0 until plug), hdop
  int count = 0;                   // records, bytes, sentences, quality, satellites
  bool vertical = true;            // dipole
  bool manual = false;             // switch
  std::array<double, 6> values{};  // offsets (missing ones are 0)
  int stance = 0;                  // 0 walk, 1 air, 2 ground
};

struct ControlParse {
  std::optional<ControlCommand> command;  // empty for a blank line or an error
  std::string error;                      // set on error
};

ControlParse parse_control_line(std::string_view line);

std::optional<Device> device_from_name(std::string_view name);
std::string_view device_name(Device d);

}  // namespace quelor::devsim
