#include "devsim/gps_receiver.h"

#include <array>
#include <cmath>

namespace quelor::devsim {
namespace {

// Index: GGA quality 0..9.
constexpr std::array<double, 10> kSigma{0.0, 1.5, 0.4, 0.3, 0.012, 0.25, 2.0, 0.0, 0.0, 0.6};

// Error correlation time (seconds): receiver errors wander, they do not jump.
constexpr double kCorrelationTime = 20.0;

double walk_error(double previous, double sigma, double dt, Rng* rng) {
  if (!rng || sigma <= 0) return 0;
  const double a = dt > 0 ? std::exp(-dt / kCorrelationTime) : 0.0;
  std::normal_distribution<double> n(0.0, 1.0);
  return a * previous + std::sqrt(1 - a * a) * sigma * n(*rng);
}

}  // namespace

double position_sigma(int quality) {
  if (quality < 0 || quality >= static_cast<int>(kSigma.size())) return 1.5;
  return kSigma[static_cast<std::size_t>(quality)];
}

GpsFix make_fix(const GpsConfig& c, GpsState& s, const WalkPoint& w, double speed, double time, double time_of_day,
                Rng* rng) {
  const double dt = s.last_time < 0 ? 0.0 : time - s.last_time;
  s.last_time = time;
  const double sigma = position_sigma(s.quality) * c.noise;
  s.error_east = walk_error(s.error_east, sigma / std::sqrt(2.0), dt, rng);
  s.error_north = walk_error(s.error_north, sigma / std::sqrt(2.0), dt, rng);
  s.error_up = walk_error(s.error_up, 1.5 * sigma, dt, rng);

  GpsFix f;
  f.time_of_day = time_of_day;
  f.day = c.day;
  f.month = c.month;
  f.year = c.year;
  const GridPoint g{w.easting + s.error_east, w.northing + s.error_north, c.zone, c.south};
  const GeoPoint p = to_geographic(g);
  f.latitude = p.latitude;
  f.longitude = p.longitude;
  f.easting = g.easting;
  f.northing = g.northing;
  f.altitude = c.altitude + s.error_up;
  f.quality = s.quality;
  f.satellites = s.satellites;
  f.hdop = s.hdop;
  f.pdop = std::round(s.hdop * 1.8 * 10) / 10;
  f.vdop = std::round(s.hdop * 1.5 * 10) / 10;
  f.course = w.course;
  f.speed = speed;
  f.slam_a = sigma;
  f.slam_b = 1.5 * sigma;
  f.slam_c = s.quality >= 4 ? 95.0 : 60.0;
  return f;
}

std::vector<std::string> gps_epoch(const GpsConfig& c, GpsState& s, const GpsFix& fix) {
  std::vector<std::string> out = epoch_sentences(fix, c.style);
  for (std::string& sentence : out) {
    if (s.bad_checksums_left <= 0) break;
    if (sentence.find('*') == std::string::npos) continue;
    sentence = corrupt_checksum(sentence);
    --s.bad_checksums_left;
  }
  return out;
}

}  // namespace quelor::devsim
