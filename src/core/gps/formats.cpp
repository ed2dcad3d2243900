#include "gps/formats.h"

namespace quelor {

namespace {

struct FormatRow {
  std::string_view label;
  std::string_view sentence_name;
  int time_field;
  bool checksum_required;
  std::array<RoleField, 8> pairs;
  int pair_count;
};

// The UTC time is field 2 of GGA, LLK and LLQ and field 6 of GLL; the
// Ashtech POS and Trimble GGK sentences carry their own name in field 2 and
// the time in fields 5 and 3.
constexpr FormatRow kFormats[kGpsFormatCount] = {
    {"GGA/GSA",
     "GGA",
     2,
     true,
     {{{kRoleSatellites, 8},
       {kRoleQuality, 7},
       {kRoleNorthSouth, 4},
       {kRoleLatitude, 3},
       {kRoleEastWest, 6},
       {kRoleLongitude, 5}}},
     6},
    {"GGA",
     "GGA",
     2,
     true,
     {{{kRoleSatellites, 8},
       {kRoleQuality, 7},
       {kRoleNorthSouth, 4},
       {kRoleLatitude, 3},
       {kRoleEastWest, 6},
       {kRoleLongitude, 5},
       {kRoleDilution, 9}}},
     7},
    {"POS",
     "POS",
     5,
     true,
     {{{kRoleSatellites, 4},
       {kRoleQuality, 3},
       {kRoleNorthSouth, 7},
       {kRoleLatitude, 6},
       {kRoleEastWest, 9},
       {kRoleLongitude, 8},
       {kRoleDilution2, 15}}},
     7},
    {"LLK",
     "LLK",
     2,
     true,
     {{{kRoleSatellites, 9}, {kRoleQuality, 8}, {kRoleNorthing, 6}, {kRoleEasting, 4}, {kRoleDilution3, 10}}},
     5},
    {"LLQ",
     "LLQ",
     2,
     true,
     {{{kRoleSatellites, 9}, {kRoleQuality, 8}, {kRoleNorthing, 6}, {kRoleEasting, 4}, {kRoleDilution3, 10}}},
     5},
    {"GLL", "GLL", 6, true, {{{kRoleNorthSouth, 3}, {kRoleLatitude, 2}, {kRoleEastWest, 5}, {kRoleLongitude, 4}}}, 4},
    {"GGK",
     "GGK",
     3,
     true,
     {{{kRoleSatellites, 10},
       {kRoleQuality, 9},
       {kRoleNorthSouth, 6},
       {kRoleLatitude, 5},
       {kRoleEastWest, 8},
       {kRoleLongitude, 7},
       {kRoleDilution, 11}}},
     7},
    {"Pseudo GGA", "GGA", 2, false, {{{kRoleNorthing, 3}, {kRoleEasting, 5}}}, 2},
    {"Pseudo GLL",
     "GLL",
     6,
     false,
     {{{kRoleNorthSouth, 3}, {kRoleLatitude, 2}, {kRoleEastWest, 5}, {kRoleLongitude, 4}}},
     4},
};

constexpr FormatRow kSlamRow = {"p-GGA SLAM",
                                "GGA",
                                2,
                                true,
                                {{{kRoleNorthing, 3},
                                  {kRoleEasting, 5},
                                  {kRoleSatellitesShown, 8},
                                  {kRoleExtraA, 9},
                                  {kRoleExtraB, 12},
                                  {kRoleExtraC, 14}}},
                                6};

const FormatRow& format_row(int format, bool slam) {
  if (!is_valid_gps_format(format)) return kFormats[kFormatGga];
  if (format == kFormatPseudoGga && slam) return kSlamRow;
  return kFormats[format];
}

}  // namespace

bool is_valid_gps_format(int format) { return format >= 0 && format < kGpsFormatCount; }

FormatTable make_format_table(int format, bool slam) {
  const FormatRow& row = format_row(format, slam);
  FormatTable table;
  table.format = is_valid_gps_format(format) ? format : kFormatGga;
  table.slam = table.format == kFormatPseudoGga && slam;
  table.sentence_name = row.sentence_name;
  table.time_field = row.time_field;
  table.checksum_required = row.checksum_required;
  table.pairs = row.pairs;
  table.pair_count = row.pair_count;
  return table;
}

std::string_view gps_format_label(int format, bool slam) { return format_row(format, slam).label; }

bool is_grid_format(int format) { return format == kFormatLlk || format == kFormatLlq || format == kFormatPseudoGga; }

}  // namespace quelor
