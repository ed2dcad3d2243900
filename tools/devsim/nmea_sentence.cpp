#include "devsim/nmea_sentence.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelor::devsim {
namespace {

struct FormatName {
  GpsFormat format;
  std::string_view name;
};

constexpr std::array<FormatName, 9> kFormatNames{{
    {GpsFormat::kGgaGsa, "gga-gsa"},
    {GpsFormat::kGga, "gga"},
    {GpsFormat::kPos, "pos"},
    {GpsFormat::kLlk, "llk"},
    {GpsFormat::kLlq, "llq"},
    {GpsFormat::kGll, "gll"},
    {GpsFormat::kGgk, "ggk"},
    {GpsFormat::kPseudoGga, "pseudo-gga"},
    {GpsFormat::kPseudoGll, "pseudo-gll"},
}};

std::string format(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

// Angle as whole degrees and minutes with `decimals` decimals, rounded once.
std::string degrees_minutes(double degrees, int degree_digits, int decimals) {
  const long long scale = static_cast<long long>(std::llround(std::pow(10.0, decimals)));
  const long long units = std::llround(std::fabs(degrees) * 60.0 * static_cast<double>(scale));
  const long long per_degree = 60 * scale;
  const long long whole = units / per_degree;
  const long long minute_units = units % per_degree;
  const long long minutes = minute_units / scale;
  const long long fraction = minute_units % scale;
  if (decimals <= 0) return format("%0*lld%02lld", degree_digits, whole, minutes);
  return format("%0*lld%02lld.%0*lld", degree_digits, whole, minutes, decimals, fraction);
}

std::string nmea_date(const GpsFix& f) { return format("%02d%02d%02d", f.month, f.day, f.year % 100); }

char north_south(double lat) { return lat < 0 ? 'S' : 'N'; }
char east_west(double lon) { return lon < 0 ? 'W' : 'E'; }

// Latitude and longitude fields "lat,N,lon,W", empty without a fix.
std::string position_fields(const GpsFix& f, int decimals) {
  if (f.quality == 0) return ",,,";
  return nmea_latitude(f.latitude, decimals) + ',' + north_south(f.latitude) + ',' +
         nmea_longitude(f.longitude, decimals) + ',' + east_west(f.longitude);
}

double grid_in_units(double metres, RtsUnits u) {
  switch (u) {
    case RtsUnits::kInternationalFeet: return metres / 0.3048;
    case RtsUnits::kUsSurveyFeet: return metres / 0.304800609601219;
    case RtsUnits::kMetres: break;
  }
  return metres;
}

std::string gga_body(const GpsFix& f, int decimals) {
  const bool fix = f.quality != 0;
  const std::string age = f.quality == 2 ? "1.2" : "";
  const std::string station = f.quality == 2 ? "0031" : "";
  return format("GPGGA,%s,%s,%d,%02d,%.1f,%s,M,%s,M,%s,%s", nmea_time(f.time_of_day).c_str(),
                position_fields(f, decimals).c_str(), f.quality, f.satellites, f.hdop,
                fix ? format("%.3f", f.altitude).c_str() : "", fix ? format("%.1f", f.geoid_separation).c_str() : "",
                age.c_str(), station.c_str());
}

std::string gsa_body(const GpsFix& f) {
  std::string prns;
  static constexpr int kPrns[12] = {2, 5, 6, 9, 12, 13, 17, 19, 21, 24, 25, 29};
  for (int i = 0; i < 12; ++i) {
    prns += ',';
    if (f.quality != 0 && i < f.satellites) prns += format("%02d", kPrns[i]);
  }
  return format("GPGSA,A,%d%s,%.1f,%.1f,%.1f", f.quality == 0 ? 1 : 3, prns.c_str(), f.pdop, f.hdop, f.vdop);
}

// Ashtech position mode: 0 autonomous, 1 differential, 2 RTK float, 3 RTK
// fixed; the program shows it plus one.
int ashtech_mode(int quality) {
  switch (quality) {
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    case 5: return 2;
    default: return 0;
  }
}

std::string pos_body(const GpsFix& f, int decimals) {
  const bool fix = f.quality != 0;
  return format("PASHR,POS,%d,%02d,%s,%s,%s,,%05.1f,%05.1f,%+05.1f,%04.1f,%04.1f,%04.1f,%04.1f,GG12",
                ashtech_mode(f.quality), f.satellites, nmea_time(f.time_of_day).c_str(),
                position_fields(f, decimals).c_str(), fix ? format("%+09.2f", f.altitude).c_str() : "", f.course,
                f.speed * 1.943844, 0.0, f.pdop, f.hdop, f.vdop, 1.0);
}

std::string grid_body(std::string_view head, const GpsFix& f) {
  const bool fix = f.quality != 0;
  return format("%.*s,%s,%s,%s,M,%s,M,%d,%d,%.1f,%s,M", static_cast<int>(head.size()), head.data(),
                nmea_time(f.time_of_day).c_str(), nmea_date(f).c_str(), fix ? format("%.3f", f.easting).c_str() : "",
                fix ? format("%.3f", f.northing).c_str() : "", f.quality, f.satellites, f.hdop,
                fix ? format("%.3f", f.altitude).c_str() : "");
}

std::string gll_body(const GpsFix& f, int decimals) {
  const bool fix = f.quality != 0;
  const char mode = !fix ? 'N' : (f.quality == 2 ? 'D' : 'A');
  return format("GPGLL,%s,%s,%c,%c", position_fields(f, decimals).c_str(), nmea_time(f.time_of_day).c_str(),
                fix ? 'A' : 'V', mode);
}

std::string ggk_body(const GpsFix& f, int decimals) {
  const bool fix = f.quality != 0;
  return format("PTNL,GGK,%s,%s,%s,%d,%02d,%.1f,%s,M", nmea_time(f.time_of_day).c_str(), nmea_date(f).c_str(),
                position_fields(f, decimals).c_str(), f.quality, f.satellites, f.pdop,
                fix ? format("EHT%.3f", f.altitude + f.geoid_separation).c_str() : "");
}

// A total station's GGA: northing in the latitude field, easting in the
// longitude field, unit letter in field 11. SLAM stations add three values in
// fields 9, 12 and 14 and a checksum.
std::string pseudo_gga_body(const GpsFix& f, const NmeaStyle& s) {
  const char unit = s.rts_units == RtsUnits::kMetres ? 'M' : 'F';
  const bool fix = f.quality != 0;
  const std::string n = fix ? format("%.3f", grid_in_units(f.northing, s.rts_units)) : "";
  const std::string e = fix ? format("%.3f", grid_in_units(f.easting, s.rts_units)) : "";
  const std::string h = fix ? format("%.3f", grid_in_units(f.altitude, s.rts_units)) : "";
  if (s.slam)
    return format("GPGGA,%s,%s,N,%s,E,%d,%02d,%.3f,%s,%c,%.3f,%c,%.3f,0000", nmea_time(f.time_of_day).c_str(),
                  n.c_str(), e.c_str(), f.quality, f.satellites, f.slam_a, h.c_str(), unit, f.slam_b, unit, f.slam_c);
  return format("GPGGA,%s,%s,N,%s,E,%d,%02d,%.1f,%s,%c,0.0,%c,,", nmea_time(f.time_of_day).c_str(), n.c_str(),
                e.c_str(), f.quality, f.satellites, f.hdop, h.c_str(), unit, unit);
}

}  // namespace

std::optional<GpsFormat> gps_format_from_name(std::string_view name) {
  for (const FormatName& f : kFormatNames)
    if (f.name == name) return f.format;
  return std::nullopt;
}

std::string_view gps_format_name(GpsFormat f) {
  for (const FormatName& n : kFormatNames)
    if (n.format == f) return n.name;
  return "";
}

std::string nmea_checksum(std::string_view body) {
  unsigned char x = 0;
  for (char c : body) {
    if (c == '$') continue;
    if (c == '*') break;
    x ^= static_cast<unsigned char>(c);
  }
  return format("%02X", x);
}

std::string nmea_sentence(std::string_view body, bool with_checksum) {
  std::string s = "$";
  s += body;
  if (with_checksum) s += '*' + nmea_checksum(body);
  return s + "\r\n";
}

std::string corrupt_checksum(std::string_view sentence) {
  std::string s(sentence);
  const std::size_t star = s.rfind('*');
  if (star == std::string::npos || star + 2 >= s.size()) return s;
  char& digit = s[star + 2];
  digit = digit == '0' ? '1' : '0';
  return s;
}

bool has_valid_checksum(std::string_view sentence) {
  if (sentence.empty() || sentence.front() != '$') return false;
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos || star + 3 > sentence.size()) return false;
  const std::string digits(sentence.substr(star + 1, 2));
  char* end = nullptr;
  const long value = std::strtol(digits.c_str(), &end, 16);
  if (end != digits.c_str() + 2) return false;
  return nmea_checksum(sentence.substr(1, star - 1)) == format("%02X", static_cast<unsigned>(value));
}

std::string nmea_latitude(double degrees, int decimals) { return degrees_minutes(degrees, 2, decimals); }
std::string nmea_longitude(double degrees, int decimals) { return degrees_minutes(degrees, 3, decimals); }

std::string nmea_time(double seconds_of_day) {
  long long cs = std::llround(seconds_of_day * 100.0) % 8640000;
  if (cs < 0) cs += 8640000;
  const long long h = cs / 360000, m = cs / 6000 % 60, s = cs / 100 % 60, c = cs % 100;
  return format("%02lld%02lld%02lld.%02lld", h, m, s, c);
}

bool format_has_checksum(const NmeaStyle& style) {
  if (style.format == GpsFormat::kPseudoGll) return false;
  if (style.format == GpsFormat::kPseudoGga) return style.slam;
  return true;
}

std::vector<std::string> epoch_sentences(const GpsFix& fix, const NmeaStyle& style) {
  const bool sum = format_has_checksum(style);
  switch (style.format) {
    case GpsFormat::kGgaGsa:
      return {nmea_sentence(gga_body(fix, style.decimals), true), nmea_sentence(gsa_body(fix), true)};
    case GpsFormat::kGga: return {nmea_sentence(gga_body(fix, style.decimals), true)};
    case GpsFormat::kPos: return {nmea_sentence(pos_body(fix, style.decimals), true)};
    case GpsFormat::kLlk: return {nmea_sentence(grid_body("GPLLK", fix), true)};
    case GpsFormat::kLlq: return {nmea_sentence(grid_body("GPLLQ", fix), true)};
    case GpsFormat::kGll: return {nmea_sentence(gll_body(fix, style.decimals), true)};
    case GpsFormat::kGgk: return {nmea_sentence(ggk_body(fix, style.decimals), true)};
    case GpsFormat::kPseudoGga: return {nmea_sentence(pseudo_gga_body(fix, style), sum)};
    case GpsFormat::kPseudoGll: return {nmea_sentence(gll_body(fix, style.decimals), false)};
  }
  return {};
}

}  // namespace quelor::devsim
