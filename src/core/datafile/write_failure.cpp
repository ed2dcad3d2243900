#include "datafile/write_failure.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace quelor {

namespace {

constexpr std::array<std::pair<WriteError, WriteErrorText>, 4> kErrorTexts{{
    {WriteError::kDiskFull, {"Disk full.", "Free space, then press Go."}},
    {WriteError::kDeviceRemoved, {"Drive removed.", "Put it back, then press Go."}},
    {WriteError::kAccessDenied, {"Access denied.", "Unlock the file, then press Go."}},
    {WriteError::kOther, {"Write error.", "Check the drive, then press Go."}},
}};

std::string held_line(std::size_t held_records) {
  char text[64];
  std::snprintf(text, sizeof text, "Logging stopped. %zu records held.", held_records);
  return text;
}

OperatorMessage compose(std::string_view first_line, WriteError error, std::string_view file_name,
                        std::size_t held_records) {
  const WriteErrorText t = write_error_text(error);
  std::string text(first_line);
  text += "\r\n";
  text += file_name;
  text += "\r\n";
  text += t.cause;
  text += ' ';
  text += t.remedy;
  text += "\r\n";
  text += held_line(held_records);
  return {"FILE ERROR", text, DialogTemplate::kOk};
}

}  // namespace

std::string file_gap_remark(std::size_t lost_records) {
  char text[16];
  std::snprintf(text, sizeof text, "FGAP %6u", static_cast<unsigned>(std::min<std::size_t>(lost_records, 999999)));
  return text;
}

WriteErrorText write_error_text(WriteError error) {
  for (const auto& [e, t] : kErrorTexts)
    if (e == error) return t;
  return kErrorTexts.back().second;
}

OperatorMessage write_failure_message(WriteError error, std::string_view file_name, std::size_t held_records) {
  return compose("Cannot write the data file", error, file_name, held_records);
}

OperatorMessage write_lost_message(std::string_view file_name, std::size_t lost_records) {
  char text[64];
  std::snprintf(text, sizeof text, "%zu records were not written.", lost_records);
  std::string body = "The data file is closed.\r\n";
  body += file_name;
  body += "\r\n";
  body += text;
  return {"FILE ERROR", body, DialogTemplate::kOk};
}

OperatorMessage write_retry_failed_message(WriteError error, std::string_view file_name, std::size_t held_records) {
  return compose("The data file still cannot be written", error, file_name, held_records);
}

}  // namespace quelor
