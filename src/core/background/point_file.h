#pragma once
// The temporary point file of a loaded background file: fixed-length records
// of 38 bytes, "%14.3f,%14.3f,%1d,%s" of easting, northing (map units),
// label length 0-5 and the label padded to 5 characters, then a line feed.
// A break (pen up) has easting and northing -99999.000 and no label; any
// other record with a negative easting is an unusable point.

#include <string>
#include <string_view>
#include <vector>

#include "io/file_system.h"

namespace quelor {

inline constexpr int kPointRecordLength = 38;
inline constexpr int kPointLabelLength = 5;
inline constexpr double kBreakCoordinate = -99999.0;
inline constexpr double kUnusableCoordinate = -88888.0;

struct BackgroundPoint {
  double easting = 0.0;
  double northing = 0.0;
  std::string label;    // at most 5 characters, trimmed
  bool pen_up = false;  // a break record
};

// True when "%14.3f" of the value keeps to its 14 columns.
bool fits_point_field(double value);

// The record of a point; a point whose coordinates do not fit the fields (or
// are not finite) is written as an unusable point.
std::string point_record(double easting, double northing, std::string_view label = {});
std::string break_record();
std::string unusable_point_record();

// Every whole record of a temporary file (numbers from columns 1-14 and
// 16-29).
std::vector<BackgroundPoint> read_point_file(std::string_view bytes);

// A negative easting: a break or an unusable point.
inline bool lifts_pen(const BackgroundPoint& p) { return p.pen_up || p.easting < 0.0; }

// `folder` + the source's file name with its extension replaced by "$" and
// the two-digit load index: "C:\...\Temp\" + "SITE.$03".
// The temporary folder of one running program: `base` (ending in "\\"),
// then the program's name and its process id, so that two programs running
// at once never share point files.
std::wstring program_temporary_folder(std::wstring_view base, std::string_view program_name, unsigned long process_id);

// Creates each folder of `folder` (ending in "\\") below its drive; false
// when the last cannot be had.
bool make_temporary_folder(const std::wstring& folder, FileSystem& fs);

std::wstring temporary_point_file_name(std::wstring_view source_path, int index, std::wstring_view folder);

// The source's file name without its folder.
std::wstring file_name_part(std::wstring_view path);
// The source's folder with its final backslash, or empty.
std::wstring folder_part(std::wstring_view path);

}  // namespace quelor
