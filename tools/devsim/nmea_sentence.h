#pragma once
// NMEA 0183 sentences of the nine position formats the program reads, built
// from one fix. Pure functions: a fix in, text out ("$...*hh\r\n").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelor::devsim {

enum class GpsFormat { kGgaGsa, kGga, kPos, kLlk, kLlq, kGll, kGgk, kPseudoGga, kPseudoGll };

// Grid values sent by a total station: metres, international or US survey feet.
enum class RtsUnits { kMetres, kInternationalFeet, kUsSurveyFeet };

struct GpsFix {
  double time_of_day = 0;  // seconds since midnight UTC
  int day = 1, month = 1, year = 2026;
  double latitude = 0;   // degrees
  double longitude = 0;  // degrees
  double easting = 0;    // grid metres (LLK, LLQ, pseudo-GGA)
  double northing = 0;
  double altitude = 150;  // metres above mean sea level
  double geoid_separation = -36;
  int quality = 2;  // GGA fix quality; 0 = no fix (position fields empty)
  int satellites = 10;
  double hdop = 0.9, pdop = 1.6, vdop = 1.3;
  double course = 0;  // degrees
  double speed = 0;   // metres per second
  // Pseudo-GGA from a SLAM total station: three further values shown.
  double slam_a = 0, slam_b = 0, slam_c = 0;
};

struct NmeaStyle {
  GpsFormat format = GpsFormat::kGga;
  int decimals = 7;   // decimals of the minutes of latitude/longitude
  bool slam = false;  // pseudo-GGA with the SLAM extras (and a checksum)
  RtsUnits rts_units = RtsUnits::kMetres;
};

// Names as given on the command line: gga-gsa gga pos llk llq gll ggk
// pseudo-gga pseudo-gll.
std::optional<GpsFormat> gps_format_from_name(std::string_view name);
std::string_view gps_format_name(GpsFormat f);

// XOR of the characters between "$" and "*" (or the end), as two upper-case
// hexadecimal digits.
std::string nmea_checksum(std::string_view body);

// "$" + body + "*hh" (when with_checksum) + CR LF.
std::string nmea_sentence(std::string_view body, bool with_checksum);

// The same sentence with a checksum that does not match (the last digit
// changed); sentences without a checksum are returned unchanged.
std::string corrupt_checksum(std::string_view sentence);

// True when the sentence carries "*hh" and hh matches its body.
bool has_valid_checksum(std::string_view sentence);

// "ddmm.mmmmmmm" / "dddmm.mmmmmmm" of the absolute value, rounding carried
// into the degrees.
std::string nmea_latitude(double degrees, int decimals);
std::string nmea_longitude(double degrees, int decimals);
// "hhmmss.ss"
std::string nmea_time(double seconds_of_day);

// Every sentence the receiver sends for one fix in this format (GGA and GSA
// for "gga-gsa", one sentence otherwise).
std::vector<std::string> epoch_sentences(const GpsFix& fix, const NmeaStyle& style);

// Does this format need a checksum (pseudo formats do not, except SLAM)?
bool format_has_checksum(const NmeaStyle& style);

}  // namespace quelor::devsim
