#pragma once
// Conversion of a column-delimited text file of positions into the records
// of a temporary point file, line by line: empty lines and lines beginning
// with "/" are skipped, a line beginning with "b" or "B" lifts the pen, runs
// of spaces count as one space delimiter, the two coordinate columns are
// read as numbers (a line missing either gives no record), geodetic
// positions are projected into the survey's zone, and labels are trimmed and
// cut to 5 characters.

#include <string>
#include <string_view>
#include <vector>

#include "background/load_options.h"

namespace quelor {

struct TextConversion {
  BackgroundLoadOptions options;
  int map_units = 0;  // the survey's: 0 metres, 1 feet, 2 US survey feet
  int zone = 1;       // the survey's UTM zone (geodetic files)
};

// The columns of one line: with the space delimiter, leading and trailing
// spaces are dropped and runs of spaces count as one.
std::vector<std::string_view> split_columns(std::string_view line, char delimiter);

// A number filling the whole (trimmed) field, or nothing.
bool read_coordinate(std::string_view field, double& value);

// The record for one line, or an empty string when the line gives none.
std::string convert_text_line(std::string_view line, const TextConversion& conversion);

// The records of the whole file (lines end with a line feed, a carriage
// return before it is dropped).
std::string convert_text_file(std::string_view text, const TextConversion& conversion);

}  // namespace quelor
