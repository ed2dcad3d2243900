#pragma once
// A data file that can no longer be written: what the writer keeps meanwhile,
// the remark that marks the gap once writing works again, and the box that
// tells the surveyor the file, the cause and what to do.

#include <cstddef>
#include <string>
#include <string_view>

#include "datafile/data_sink.h"
#include "datafile/message_box.h"

namespace quelor {

// Records kept in memory while the file cannot be written (about 100 KB);
// what comes beyond them is counted and dropped.
inline constexpr std::size_t kHeldRecordLimit = 4096;

// "FGAP %6u": the remark written after the held records once the file can
// be written again; the count is the records that could not be kept.
std::string file_gap_remark(std::size_t lost_records);

// The cause as the surveyor reads it and what to do about it.
struct WriteErrorText {
  std::string_view cause;
  std::string_view remedy;
};
WriteErrorText write_error_text(WriteError error);

// "FILE ERROR": the file's name, the cause, what to do, and how many records
// the program holds until Go writes them.
OperatorMessage write_failure_message(WriteError error, std::string_view file_name, std::size_t held_records);

// Go found the file still not writable.
OperatorMessage write_retry_failed_message(WriteError error, std::string_view file_name, std::size_t held_records);

// Exit with records the file never took: how many are lost.
OperatorMessage write_lost_message(std::string_view file_name, std::size_t lost_records);

}  // namespace quelor
