#include "devsim/tilt_model.h"

#include <cmath>

namespace quelor::devsim {
namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;
constexpr double kCommandTimeout = 0.5;
constexpr std::size_t kLongestCommand = 16;

}  // namespace

TiltState initial_tilt_state(int rate_index) {
  TiltState s;
  s.rate_hz = tilt_rate_hz(rate_index);
  return s;
}

bool tilt_streams(const TiltState& s, double now) { return s.command.empty() && now >= s.quiet_until; }

std::string tilt_input(TiltState& s, std::string_view bytes, double now) {
  std::string answer;
  for (char b : bytes) {
    if (b == '[') {
      s.command.assign(1, '[');
      s.command_since = now;
      continue;
    }
    if (s.command.empty()) continue;
    s.command += b;
    if (b == '\r') {
      if (const auto hz = parse_tilt_rate_command(s.command)) {
        s.rate_hz = *hz;
        answer += tilt_rate_answer(*hz);
      } else {
        answer += ">Invalid Command\r\n";
      }
      s.command.clear();
    } else if (s.command.size() > kLongestCommand) {
      s.command.clear();
    }
  }
  return answer;
}

void tilt_tick(TiltState& s, double now) {
  if (!s.command.empty() && now - s.command_since > kCommandTimeout) s.command.clear();
}

TiltReading tilt_reading(const WalkPoint& w, double time, Rng* rng) {
  TiltReading r;
  const double step = w.finished ? 0.0 : 1.0;
  r.roll = 0.6 + 1.8 * step * std::sin(kTwoPi * time / 1.1);
  r.pitch = 2.5 + 0.9 * step * std::sin(kTwoPi * time / 0.55 + 0.7);
  r.heading = w.course;
  if (rng) {
    std::normal_distribution<double> n(0.0, 0.05);
    r.roll += n(*rng);
    r.pitch += n(*rng);
  }
  return r;
}

std::string next_tilt_sentence(TiltState& s, const TiltReading& r) {
  const bool bad = s.bad_checksums_left > 0;
  if (bad) --s.bad_checksums_left;
  return encode_tilt_sentence(r, !bad);
}

}  // namespace quelor::devsim
