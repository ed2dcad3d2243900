#pragma once
// The whole simulated field: walk, site, instrument, GPS receiver and tilt
// meter, driven by the caller's clock (seconds since the start of the run).
// No I/O: the caller carries the bytes to and from the serial links.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "devsim/control.h"
#include "devsim/gps_receiver.h"
#include "devsim/instrument_model.h"
#include "devsim/options.h"
#include "devsim/site.h"
#include "devsim/tilt_model.h"
#include "devsim/walk.h"

namespace quelor::devsim {

// Bytes each device sends, appended by the simulator.
struct DeviceOutput {
  std::string instrument, gps, tilt;
  std::string& of(Device d);
};

struct Simulator {
  Options options;
  WalkPlan plan;
  Site site;
  double start_time_of_day = 0;  // UTC seconds of day at time 0

  Rng instrument_rng, gps_rng, tilt_rng, garbage_rng;
  InstrumentState instrument;
  GpsState gps;
  TiltState tilt;
  std::uint64_t gps_sentences = 0;  // sent since the start (the soak test's count)

  bool walking = true;
  double walked_before = 0;  // walk seconds before `walk_mark`
  double walk_mark = 0;      // run time the walk last resumed

  std::array<double, 3> next_due{};         // by Device
  std::array<double, 3> silent_until{};     // by Device
  std::array<double, 3> unplugged_until{};  // by Device: 0 plugged, infinity until `plug`
  bool quit = false;
};

Simulator make_simulator(const Options& o, std::uint64_t seed, double start_time_of_day);

bool device_enabled(const Simulator& s, Device d);

// Seconds of walking up to run time `now`.
double walk_seconds(const Simulator& s, double now);
WalkPoint walk_point(const Simulator& s, double now);

// Emits everything due up to `now`. Records more than a second late are
// skipped, not sent in a burst.
void advance(Simulator& s, double now, DeviceOutput& out);

// Run time of the next scheduled record or sentence.
double next_event(const Simulator& s);

// Bytes that arrived from the program on a device's link; returns the
// device's immediate answer.
std::string device_input(Simulator& s, Device d, std::string_view bytes, double now);

// Whether the device's link is there at run time `now` (unplug / plug).
bool device_plugged(const Simulator& s, Device d, double now);

// The program opened the device's port.
void link_opened(Simulator& s, Device d, double now);

// Keeps timers going (unfinished commands).
void tick(Simulator& s, double now);

// Applies a control command; returns a line to print (status), else empty.
std::string apply_control(Simulator& s, const ControlCommand& c, double now, DeviceOutput& out);

}  // namespace quelor::devsim
