#pragma once
// Conversion of a column-delimited text file of positions into the records
// of a temporary point file, line by line: empty lines and lines beginning
// with "/" are skipped, a line beginning with "b" or "B" lifts the pen, runs
// of spaces count as one space delimiter, the two coordinate columns are
// read as numbers (a line missing either gives no record), geodetic
// positions are projected into the survey's zone, and labels are trimmed and
// cut to 5 characters. With the semicolon or tab delimiter a decimal comma
// reads as a decimal point, as spreadsheets write them. A coordinate field
// holding text that is no number refuses the file with its line number,
// except a heading line before the first point (no digit in either field);
// a number too large for the map is an unusable point.

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

// A number filling the whole (trimmed) field, or nothing; with
// `decimal_comma` one comma may stand for the decimal point. A number beyond
// the range of a double reads as the infinity of its sign: a point of no
// map, unusable like any point off the map. The texts "inf" and "nan" are
// no numbers.
bool read_coordinate(std::string_view field, double& value, bool decimal_comma = false);

// Whether the delimiter leaves the comma free for a decimal comma.
bool allows_decimal_comma(int delimiter);

// The record for one line, or an empty string when the line gives none.
// `refusal` (when given) receives why a coordinate field is no number.
std::string convert_text_line(std::string_view line, const TextConversion& conversion, std::string* refusal = nullptr);

struct TextFileConversion {
  std::string records;
  int refused_line = 0;  // 1-based; 0: the whole file converted
  std::string refusal;   // why that line was refused
};

// The records of the whole file (lines end with a line feed, a carriage
// return before it is dropped), or the first line that refuses the file.
TextFileConversion convert_text_file(std::string_view text, const TextConversion& conversion);

}  // namespace quelor
