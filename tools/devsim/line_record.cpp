#include "devsim/line_record.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "devsim/nmea_sentence.h"

namespace quelor::devsim {
namespace {

constexpr std::array<int, 5> kTiltRates{1, 2, 5, 10, 20};

std::string format(const char* fmt, auto... args) {
  char buf[200];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string finish(const std::string& body, bool good_checksum) {
  const std::string s = nmea_sentence(body, true);
  return good_checksum ? s : corrupt_checksum(s);
}

}  // namespace

std::string grad601_value(double nt) {
  const double v = std::clamp(nt, -9999.0, 9999.0);
  const double a = std::fabs(v);
  return format(a < 9.995 ? "%.2f" : a < 99.95 ? "%.1f" : "%.0f", v);
}

double grad601_resolution(double nt) {
  const double a = std::fabs(nt);
  return a < 9.995 ? 0.01 : a < 99.95 ? 0.1 : 1.0;
}

std::string encode_grad601_line(const GradReading& r) {
  if (r.sensors <= 1) return "$PBAR," + grad601_value(r.sensor1) + "\r\n";
  return "$PBAR," + grad601_value(r.sensor1) + "," + grad601_value(r.sensor2) + "\r\n";
}

std::string encode_cs21_line(const Cs21Reading& r, bool good_checksum) {
  const std::string time = nmea_time(r.time_of_day).substr(0, 8);  // hhmmss.s
  return finish(format("PDLM%d,%s,%.3f,%.3f,%.3f,%.3f,%.1f", r.group == 2 ? 2 : 1, time.c_str(), r.hcp_conductivity,
                       r.hcp_inphase, r.prp_conductivity, r.prp_inphase, r.temperature),
                good_checksum);
}

std::string encode_tilt_sentence(const TiltReading& r, bool good_checksum) {
  return finish(format("PTLT,%+.2f,%.1f,%.1f,%+.2f", r.pitch, r.heading, r.temperature, r.roll), good_checksum);
}

int tilt_rate_hz(int index) {
  if (index < 0 || index >= static_cast<int>(kTiltRates.size())) return kTiltRates[2];
  return kTiltRates[static_cast<std::size_t>(index)];
}

std::optional<int> parse_tilt_rate_command(std::string_view command) {
  if (command.size() < 5 || command.substr(0, 3) != "[1D" || command.back() != '\r') return std::nullopt;
  const std::string_view digits = command.substr(3, command.size() - 4);
  int hz = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    hz = hz * 10 + (c - '0');
    if (hz > 1000) return std::nullopt;
  }
  for (int rate : kTiltRates)
    if (rate == hz) return hz;
  return std::nullopt;
}

std::string tilt_rate_command(int index) { return format("[1D%d\r", tilt_rate_hz(index)); }

std::string tilt_rate_answer(int hz) { return format(">New Output Data Rate: %d Hz\r\n", hz); }

}  // namespace quelor::devsim
