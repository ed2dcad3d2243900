#pragma once
// The one reader of a survey data file's records: the record length from the
// first line feed, then record after record with its tag, body, kind and
// tick. Every part of the program that reads a data file back goes through
// it (and through file_header.h for the header block).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// The longest record of any variant (CS-21): no line feed within it, no data file.
inline constexpr int kLongestDataRecord = 65;

enum class RecordKind {
  kIdentification,        // header record 1: a program code and its version
  kSetup,                 // 'H', 'G': header records 2-5
  kConstant,              // 'O', 'I': instrument constants
  kLineBlock,             // 'L', 'B', 'A', 'Z'
  kTimeMark,              // '*'
  kStation,               // 'S'
  kReading,               // the instrument's reading letters
  kMarker,                // the instrument's marker letters (EM61)
  kGpsFirst,              // '@'
  kGpsContinuation,       // '#'
  kGpsInput,              // '?': a line from the GPS port that was no NMEA sentence
  kGpsInputContinuation,  // '"'
  kGpsSummary,            // '!'
  kComment,               // 'C', and '\' (a tilt sentence that failed its checks)
  kRemark,                // 'X'
  kSwath,                 // '{'
  kTilt,                  // '~'
  kUnknown,
};

// Whether records of this kind end with the "%10lu" tick field.
bool kind_has_tick(RecordKind kind);

struct DataRecord {
  long number = 0;         // 1-based record number in the file
  std::string_view bytes;  // the whole record, line feed included
  char tag = 0;
  RecordKind kind = RecordKind::kUnknown;
  // The tick field ("%10lu" in columns L-11 to L-2; columns 13-22 of a tilt
  // record) of the kinds that have one, when it reads as one.
  std::optional<std::uint32_t> tick;

  // The record without its line feed.
  std::string_view body() const { return bytes.empty() ? bytes : bytes.substr(0, bytes.size() - 1); }
};

// Column `column` of a record as a decimal digit; nothing for any other
// character or a column beyond the record.
std::optional<int> digit_at(std::string_view record, std::size_t column);

// printf "%f"-style number in `width` columns from `first` (spaces around
// it allowed, nothing else); nothing otherwise.
std::optional<double> number_at(std::string_view record, std::size_t first, std::size_t width);

// "%10lu": spaces, then digits up to the end of the field, at most 2^32 - 1.
std::optional<std::uint32_t> parse_tick(std::string_view field);

// A program code with its three version digits in columns 9-11.
bool is_identification_record(std::string_view record);

// The data file as records. `record_length` is the first line feed's
// position plus one (0: no line feed within the longest record); `variant`
// comes from the identification record when the file starts with one.
struct DataFile {
  std::string_view bytes;
  int record_length = 0;
  std::optional<Variant> variant;

  long record_count() const;
  // Bytes after the last whole record (a record cut short by a crash).
  std::size_t trailing_bytes() const;
};

DataFile open_data_file(std::string_view bytes);

// Classifies a record as `instrument_type` writes it.
DataRecord classify_record(std::string_view bytes, long number, InstrumentType instrument_type);

struct RecordCursor {
  const DataFile* file = nullptr;
  InstrumentType instrument_type = kEm31Mk2;  // whose reading and marker letters
  std::size_t at = 0;                         // byte offset of the next record
  long number = 0;                            // records read so far
};

// A cursor at the first record (or at record `first`, 1-based). The
// instrument is the file's own, else EM31-MK2.
RecordCursor record_cursor(const DataFile& file, long first = 1);

// The next whole record, or nothing at the end of the whole records.
std::optional<DataRecord> next_record(RecordCursor& cursor);

}  // namespace quelor
