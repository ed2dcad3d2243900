#pragma once
// Conversion of a survey data file of this program family into the records
// of a temporary point file: the record length from the first line feed, the
// identification check, then every stored position sentence ('@' and '#'
// pieces) decoded with the rules of the live GPS input and converted like a
// live fix into the survey's zone and map unit. A sentence whose checksum
// fails, or a fix that jumps, gives no point. Each new survey line lifts the
// pen.

#include <optional>
#include <string>
#include <string_view>

#include "datafile/record_cursor.h"
#include "variant/variant.h"

namespace quelor {

// Position of the first line feed plus one, looked for within the longest
// record; 0 when there is none.
int data_file_record_length(std::string_view bytes);

// The identification record begins with one of this program's own codes
// ("ZLK31   W", "QYN384  W", ...), or its first 8 bytes hold "EM", "PRO",
// "ML" or "QYN" (the earlier formats of the family).
bool data_file_identification_supported(std::string_view first_record);

struct DataFileConversion {
  int map_units = 0;  // the survey's
  int zone = 1;       // the survey's UTM zone
  int rts_units = 0;  // feet of grid sentences (settings)
  InstrumentType instrument_type = kEm31Mk2;
};

// The records, or nothing for a format that is not supported.
std::optional<std::string> convert_data_file(std::string_view bytes, const DataFileConversion& conversion);

}  // namespace quelor
