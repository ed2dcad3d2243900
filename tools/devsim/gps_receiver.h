#pragma once
// The GPS receiver (or total station): the walk's position plus a slowly
// wandering error whose size fits the fix quality, sent in one of the nine
// formats.

#include <string>
#include <vector>

#include "devsim/nmea_sentence.h"
#include "devsim/readings.h"
#include "devsim/walk.h"

namespace quelor::devsim {

struct GpsConfig {
  NmeaStyle style{};
  double rate_hz = 1;       // 1..20 epochs per second
  double noise = 1.0;       // scale of the position error, 0 for none
  double altitude = 173.0;  // metres
  int day = 8, month = 12, year = 2026;
  int zone = 17;  // grid of the walk
  bool south = false;
};

struct GpsState {
  int quality = 2;
  int satellites = 10;
  double hdop = 0.9;
  double error_east = 0, error_north = 0, error_up = 0;  // metres
  int bad_checksums_left = 0;
  double last_time = -1;  // time of the last epoch, seconds
};

// One-sigma horizontal error (metres) of a GGA fix quality: 1 autonomous
// 1.5 m, 2 DGPS 0.4 m, 4 RTK fixed 0.012 m, 5 RTK float 0.25 m, ...
double position_sigma(int quality);

// The fix for one epoch at run time `time` (seconds) and UTC time of day,
// the walker moving at `speed` m/s.
GpsFix make_fix(const GpsConfig& c, GpsState& s, const WalkPoint& w, double speed, double time, double time_of_day,
                Rng* rng);

// The sentences of one epoch, with the next wrong checksums applied.
std::vector<std::string> gps_epoch(const GpsConfig& c, GpsState& s, const GpsFix& fix);

}  // namespace quelor::devsim
