#pragma once
// Validation of a survey data file as any variant writes it: framing, tags,
// printable text, tick fields, header and line blocks.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quelor {

struct FileCheckError {
  long record = 0;  // 1-based record number
  std::string message;
};

inline constexpr std::size_t kMaxReportedErrors = 100;

struct FileCheckReport {
  int record_length = 0;
  long records = 0;
  std::map<char, long> by_tag;
  std::string program_code;  // of the first header
  std::string version;
  long headers = 0;
  long lines = 0;
  long gps_positions = 0;              // '!' records flagged 'p'
  std::vector<FileCheckError> errors;  // the first kMaxReportedErrors
  long error_count = 0;
  // What leaves the file valid but is not used: a stored GPS sentence whose
  // checksum does not match, a position that jumps (the first kMaxReportedErrors).
  std::vector<FileCheckError> warnings;
  long warning_count = 0;
};

FileCheckReport check_data_file(std::string_view bytes);

}  // namespace quelor
