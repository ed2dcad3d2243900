#include "devsim/simulator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "quelor/json.h"

namespace quelor::devsim {
namespace {

constexpr double kLateLimit = 1.0;  // seconds

std::size_t index_of(Device d) { return static_cast<std::size_t>(d); }

std::uint64_t split_mix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double period_of(const Simulator& s, Device d) {
  switch (d) {
    case Device::kInstrument: return s.options.instrument.period_ms / 1000.0;
    case Device::kGps: return 1.0 / s.options.gps.rate_hz;
    case Device::kTilt: return 1.0 / std::max(1, s.tilt.rate_hz);
  }
  return 1.0;
}

bool silent(const Simulator& s, Device d, double t) { return t < s.silent_until[index_of(d)]; }

double time_of_day(const Simulator& s, double t) { return std::fmod(s.start_time_of_day + t, 86400.0); }

void emit(Simulator& s, Device d, double t, DeviceOutput& out) {
  if (silent(s, d, t)) return;
  const WalkPoint w = walk_point(s, t);
  switch (d) {
    case Device::kInstrument:
      if (instrument_streams(s.options.instrument, s.instrument) || press_record_due(s.instrument))
        out.instrument +=
            next_instrument_record(s.options.instrument, s.instrument, s.site, w, time_of_day(s, t), &s.instrument_rng);
      break;
    case Device::kGps: {
      const double speed = s.walking && !w.finished ? s.plan.speed : 0.0;
      const GpsFix fix = make_fix(s.options.gps, s.gps, w, speed, t, time_of_day(s, t), &s.gps_rng);
      for (const std::string& sentence : gps_epoch(s.options.gps, s.gps, fix)) {
        out.gps += sentence;
        ++s.gps_sentences;
      }
      break;
    }
    case Device::kTilt:
      if (tilt_streams(s.tilt, t)) out.tilt += next_tilt_sentence(s.tilt, tilt_reading(w, t, &s.tilt_rng));
      break;
  }
}

std::string status_line(const Simulator& s, double now) {
  const WalkPoint w = walk_point(s, now);
  const GeoPoint g = to_geographic({w.easting, w.northing, s.plan.origin.zone, s.plan.origin.south});
  tool::JsonObject j;
  j.num("time", now)
      .num("easting", w.easting)
      .num("northing", w.northing)
      .integer("zone", s.plan.origin.zone)
      .num("latitude", g.latitude)
      .num("longitude", g.longitude)
      .integer("line", w.line)
      .num("along", w.along)
      .num("across", w.across)
      .boolean("on_line", w.on_line)
      .boolean("walking", s.walking && !w.finished)
      .integer("quality", s.gps.quality)
      .integer("satellites", s.gps.satellites)
      .integer("records", static_cast<long long>(s.instrument.records))
      .integer("gps_sentences", static_cast<long long>(s.gps_sentences));
  return j.text();
}

}  // namespace

std::string& DeviceOutput::of(Device d) {
  switch (d) {
    case Device::kGps: return gps;
    case Device::kTilt: return tilt;
    case Device::kInstrument: break;
  }
  return instrument;
}

Simulator make_simulator(const Options& o, std::uint64_t seed, double start_time_of_day) {
  Simulator s;
  s.options = o;
  s.plan = o.walk;
  s.plan.origin = to_grid({o.origin_latitude, o.origin_longitude});
  s.options.gps.zone = s.plan.origin.zone;
  s.options.gps.south = s.plan.origin.south;
  std::uint64_t mix = seed;
  s.site = make_default_site(s.plan.line_length, (s.plan.lines - 1) * s.plan.spacing, s.plan.heading, split_mix(mix));
  s.instrument_rng.seed(split_mix(mix));
  s.gps_rng.seed(split_mix(mix));
  s.tilt_rng.seed(split_mix(mix));
  s.garbage_rng.seed(split_mix(mix));
  s.start_time_of_day = start_time_of_day;
  s.instrument = initial_instrument_state(o.instrument);
  s.gps.quality = o.quality;
  s.gps.satellites = o.satellites;
  s.gps.hdop = o.hdop;
  s.tilt = initial_tilt_state(o.tilt_rate_index);
  return s;
}

bool device_enabled(const Simulator& s, Device d) {
  switch (d) {
    case Device::kInstrument: return s.options.instrument_on;
    case Device::kGps: return s.options.gps_on;
    case Device::kTilt: return s.options.tilt_on;
  }
  return false;
}

double walk_seconds(const Simulator& s, double now) {
  return s.walked_before + (s.walking ? std::max(0.0, now - s.walk_mark) : 0.0);
}

WalkPoint walk_point(const Simulator& s, double now) {
  return walk_at_distance(s.plan, walk_seconds(s, now) * s.plan.speed);
}

void advance(Simulator& s, double now, DeviceOutput& out) {
  for (Device d : {Device::kInstrument, Device::kGps, Device::kTilt}) {
    if (!device_enabled(s, d)) continue;
    double& due = s.next_due[index_of(d)];
    const double period = period_of(s, d);
    if (now - due > kLateLimit) due += std::floor((now - due) / period) * period;
    while (due <= now) {
      emit(s, d, due, out);
      due += period_of(s, d);
    }
  }
}

double next_event(const Simulator& s) {
  double next = 1e300;
  for (Device d : {Device::kInstrument, Device::kGps, Device::kTilt})
    if (device_enabled(s, d)) next = std::min(next, s.next_due[index_of(d)]);
  return next;
}

std::string device_input(Simulator& s, Device d, std::string_view bytes, double now) {
  if (!device_enabled(s, d) || silent(s, d, now)) return {};
  switch (d) {
    case Device::kInstrument:
      return instrument_input(s.options.instrument, s.instrument, bytes, now, s.site, walk_point(s, now),
                              time_of_day(s, now), &s.instrument_rng);
    case Device::kTilt: {
      const int rate = s.tilt.rate_hz;
      std::string answer = tilt_input(s.tilt, bytes, now);
      if (s.tilt.rate_hz != rate)  // the new rate starts now, not after an old, long period
        s.next_due[index_of(Device::kTilt)] = now + period_of(s, Device::kTilt);
      return answer;
    }
    case Device::kGps: return {};  // commands to the receiver are not answered
  }
  return {};
}

bool device_plugged(const Simulator& s, Device d, double now) { return now >= s.unplugged_until[index_of(d)]; }

void link_opened(Simulator& s, Device d, double now) {
  if (d == Device::kTilt) s.tilt.quiet_until = now + kTiltQuietAfterOpen;
}

void tick(Simulator& s, double now) {
  instrument_tick(s.instrument, now);
  tilt_tick(s.tilt, now);
}

std::string apply_control(Simulator& s, const ControlCommand& c, double now, DeviceOutput& out) {
  switch (c.kind) {
    case ControlKind::kTrigger: press_trigger(s.options.instrument, s.instrument, c.count); break;
    case ControlKind::kSilence: s.silent_until[index_of(c.device)] = now + c.number; break;
    case ControlKind::kUnplug:
      s.unplugged_until[index_of(c.device)] = c.number > 0 ? now + c.number : std::numeric_limits<double>::infinity();
      break;
    case ControlKind::kPlug: s.unplugged_until[index_of(c.device)] = 0; break;
    case ControlKind::kGarbage: {
      std::uniform_int_distribution<int> byte(0, 255);
      std::string& o = out.of(c.device);
      for (int i = 0; i < c.count; ++i) o += static_cast<char>(byte(s.garbage_rng));
      // The tilt line runs XON/XOFF: an XOFF in the noise stops the program's
      // output until the meter sends XON. A port's XOFF state ends when the
      // port is opened again, a pty's does not, so the meter resumes it here.
      if (c.device == Device::kTilt) o += '\x11';
      break;
    }
    case ControlKind::kBadsum:
      if (c.device == Device::kTilt)
        s.tilt.bad_checksums_left = c.count;
      else if (c.device == Device::kInstrument)
        s.instrument.bad_checksums_left = c.count;
      else
        s.gps.bad_checksums_left = c.count;
      break;
    case ControlKind::kQuality: s.gps.quality = c.count; break;
    case ControlKind::kSatellites: s.gps.satellites = c.count; break;
    case ControlKind::kHdop: s.gps.hdop = c.number; break;
    case ControlKind::kDipole: s.options.instrument.setup.vertical = c.vertical; break;
    case ControlKind::kSwitch: set_mode_switch(s.options.instrument, s.instrument, c.manual); break;
    case ControlKind::kOffsets: s.options.instrument.bench.offsets = c.values; break;
    case ControlKind::kStance: s.options.instrument.bench.stance = static_cast<Stance>(c.stance); break;
    case ControlKind::kRatio: s.options.instrument.bench.lx2_ratio = c.number; break;
    case ControlKind::kCurrent:
      if (c.count == 0)
        s.options.instrument.bench.current.reset();
      else
        s.options.instrument.bench.current = c.count;
      break;
    case ControlKind::kPauseWalk:
      if (s.walking) {
        s.walked_before = walk_seconds(s, now);
        s.walking = false;
      }
      break;
    case ControlKind::kResumeWalk:
      if (!s.walking) {
        s.walk_mark = now;
        s.walking = true;
      }
      break;
    case ControlKind::kStatus: return status_line(s, now);
    case ControlKind::kQuit: s.quit = true; break;
  }
  return {};
}

}  // namespace quelor::devsim
