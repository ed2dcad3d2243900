#pragma once
// One GPS fix as the parser reads it from a position sentence.

#include <array>
#include <string>
#include <string_view>

namespace quelor {

// Shown in the position fields for a fix that is not used.
inline constexpr std::wstring_view kInvalidPositionText = L"     N/A     ";

struct GpsFix {
  int valid = 1;
  int satellites = 0;   // satellites used
  int quality = 0;      // fix quality; the sentence value plus one for POS
  std::string_view quality_label;  // empty when the quality field is missing
  double latitude = 0.0;   // decimal degrees, south negative
  double longitude = 0.0;  // decimal degrees, west negative
  double northing = 0.0;   // metres: projected, or read from a total station
  double easting = 0.0;
  double dilution = 0.0;
  bool geographic = false;  // latitude/longitude read (else northing/easting)
  double time_of_day = 0.0;  // seconds since midnight
  int zone = 0;              // the grid zone once projected (geographic fixes)

  // Only shown: the satellite count and three further values of p-GGA SLAM.
  int satellites_shown = 0;
  std::array<double, 3> extras{};

  // Display texts of the status area (empty when the format has no such
  // field or the field could not be read).
  std::wstring latitude_text;   // "N43°36.5940'"
  std::wstring longitude_text;  // "W079°36.0000'"
  std::wstring dilution_text;   // "%3.1f" below 10, "%3.0f" from 10
  std::wstring satellites_shown_text;        // " %02d"
  std::array<std::wstring, 3> extra_texts;   // "%8.3f" each
};

}  // namespace quelor
