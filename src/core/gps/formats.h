#pragma once
// The GPS data formats ("GPS Data:" choice) and the format table that tells
// the reader which sentence to forward and the parser which field holds what.

#include <array>
#include <string_view>

namespace quelor {

enum GpsFormat : int {
  kFormatGgaGsa = 0,
  kFormatGga = 1,
  kFormatPos = 2,
  kFormatLlk = 3,
  kFormatLlq = 4,
  kFormatGll = 5,
  kFormatGgk = 6,
  kFormatPseudoGga = 7,
  kFormatPseudoGll = 8,
};
inline constexpr int kGpsFormatCount = 9;

// Roles as numbered in the table.
enum FieldRole : int {
  kRoleSatellites = 0,
  kRoleQuality = 1,
  kRoleNorthSouth = 2,
  kRoleLatitude = 3,
  kRoleEastWest = 4,
  kRoleLongitude = 5,
  kRoleDilution = 6,
  kRoleDilution2 = 7,
  kRoleNorthing = 8,
  kRoleEasting = 9,
  kRoleDilution3 = 10,
  kRoleSatellitesShown = 12,
  kRoleExtraA = 13,
  kRoleExtraB = 14,
  kRoleExtraC = 15,
};

struct RoleField {
  int role;
  int field;  // field 1 is the sentence head
};

struct FormatTable {
  int format = kFormatGga;
  bool slam = false;               // "pseudo-GGA by SLAM RTS" (format 7 only)
  std::string_view sentence_name;  // "GGA", "POS", ...
  int time_field = 2;
  bool checksum_required = true;
  std::array<RoleField, 8> pairs{};
  int pair_count = 0;
};

bool is_valid_gps_format(int format);

// The table of a format; `slam` only matters for Pseudo GGA. An unknown
// format index gives the GGA table.
FormatTable make_format_table(int format, bool slam);

// "GGA/GSA", "GGA", ..., "Pseudo GGA" or "p-GGA SLAM", "Pseudo GLL".
std::string_view gps_format_label(int format, bool slam);

// Formats whose positions are grid values sent by a total station.
bool is_grid_format(int format);

}  // namespace quelor
