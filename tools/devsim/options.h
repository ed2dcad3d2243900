#pragma once
// Command line of the simulator.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/gps_receiver.h"
#include "devsim/instrument_model.h"
#include "devsim/walk.h"

namespace quelor::devsim {

struct Options {
  bool instrument_on = true;
  InstrumentConfig instrument{};
  std::optional<double> rate_hz;  // --rate for the EM34-3, CS-21 and EM61 types

  bool gps_on = true;
  GpsConfig gps{};
  int quality = 2;
  int satellites = 10;
  double hdop = 0.9;

  bool tilt_on = false;
  int tilt_rate_index = 2;

  double origin_latitude = 43.6099;
  double origin_longitude = -79.6000;
  WalkPlan walk{};
  std::vector<int> skipped_lines;  // survey: lines walked without logging a reading (a missed line)

  std::string dir;               // empty: devsim-run next to the program
  std::string control_path;      // FIFO of control commands (stdin always works)
  std::string gps_capture_path;  // every byte the program sends the GPS receiver goes here
  std::optional<std::uint64_t> seed;
  double duration = 0;  // seconds, 0 = until quit or a signal
  bool help = false;
};

struct OptionsParse {
  Options options;
  std::string error;  // empty on success
};

OptionsParse parse_options(std::span<const std::string_view> args);

std::string usage_text();

}  // namespace quelor::devsim
