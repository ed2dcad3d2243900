#pragma once
// What one step of an instrument procedure asks of the logging window: the
// lines of the message area, a box to ask (answered through the procedure's
// answer function), a beep, a settings save, constant records for the data
// file, and the GPS reader paused or resumed. The window thread suspends the
// instrument reader before every box and purges and resumes it after.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "datafile/data_records.h"
#include "datafile/message_box.h"

namespace quelor {

class DataFileWriter;

// Instrument constant records, each value with the one it replaced.
struct ConstantWrite {
  enum class Kind { kNullValues, kLx2Constants, kEm38Mk2Constants, kEm38_4Constants };
  Kind kind = Kind::kNullValues;
  std::vector<ConstantPair> pairs;
  bool with_previous = true;  // EM61-LX2 null values: false writes the new values alone
};

struct ProcedureStep {
  std::optional<std::vector<std::string>> message;  // centred lines; nullopt leaves the area as it is
  std::optional<OperatorMessage> ask;               // the box to show now
  bool beep = false;                                // MessageBeep(MB_ICONEXCLAMATION)
  bool save_settings = false;
  std::vector<ConstantWrite> writes;  // written only while a data file is open
  bool pause_gps = false;
  bool resume_gps = false;          // purge the GPS port, wait 5 ms, reset its last-data tick
  bool clear_status_flags = false;  // the sixteen EM61-LX2 alarm counters
  bool stamp_last_record = false;   // the connection monitor starts afresh
  bool disable_buttons = false;     // the logging buttons and channel selectors
  bool ended = false;               // normal logging again: buttons, redraw, focus
};

// "Title" and lines joined by "\r\n".
OperatorMessage procedure_box(std::string title, const std::vector<std::string>& lines, DialogTemplate t);

// Writes every constant record of the step through `writer`; nothing when
// no data file is open (`writer` null). False when a write failed.
bool write_procedure_records(DataFileWriter* writer, const std::vector<ConstantWrite>& writes);

// Pairs (new[i], previous[i]).
template <std::size_t N>
std::vector<ConstantPair> constant_pairs(const std::array<double, N>& values, const std::array<double, N>& previous) {
  std::vector<ConstantPair> pairs;
  for (std::size_t i = 0; i < N; ++i) pairs.emplace_back(values[i], previous[i]);
  return pairs;
}

}  // namespace quelor
