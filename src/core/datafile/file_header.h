#pragma once
// The header block of a data file read back: every field the writer puts in
// the identification record, 'H', the 'G' records and the constants after
// them (header_records.h writes the same HeaderFields).

#include <optional>
#include <string>

#include "datafile/header_records.h"
#include "datafile/record_cursor.h"

namespace quelor {

struct FileHeader {
  Variant variant;
  std::string program_code;  // as written, first letter in either case
  std::string version;       // columns 9-11, "230"
  bool continuing = false;   // lower-case first letter: a continued file's header
  HeaderFields fields;       // what the records hold; the rest keeps its defaults
  bool has_h = false;
  bool has_g3 = false;  // record 3: GPS offsets, option, sentence, enabled
  bool has_g4 = false;  // records 4 and 5: reference position (real-time map line)
  bool has_g5 = false;
  bool has_gps_digits = false;  // record 3 holds a GPS sentence digit
  long records = 0;             // records of the block, constants included
};

// The header block whose identification record is the cursor's next
// record; the cursor is left after the block. Nothing when that record is
// no identification record (the cursor is then left after it).
std::optional<FileHeader> read_file_header(RecordCursor& cursor);

// The first header of a file.
std::optional<FileHeader> read_file_header(const DataFile& file);

// Whether the file was written with two sensors: its sensor count digit
// says two (Grad601, EM61-LX2), or an EM61-LX2 program code names LX2.
bool header_two_sensors(const FileHeader& h);

// Record 3's GPS sentence (0-8): column 19, or Pseudo GLL for an 'A' in
// column 17 (earlier files).
int header_gps_sentence(std::string_view record3);

}  // namespace quelor
