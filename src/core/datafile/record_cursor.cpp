#include "datafile/record_cursor.h"

#include <array>
#include <cstdlib>
#include <string>

#include "datafile/naming.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

struct TagKind {
  char tag;
  RecordKind kind;
};

constexpr std::array<TagKind, 20> kTagKinds{{
    {'H', RecordKind::kSetup},      {'G', RecordKind::kSetup},
    {'O', RecordKind::kConstant},   {'I', RecordKind::kConstant},
    {'L', RecordKind::kLineBlock},  {'B', RecordKind::kLineBlock},
    {'A', RecordKind::kLineBlock},  {'Z', RecordKind::kLineBlock},
    {'*', RecordKind::kTimeMark},   {'S', RecordKind::kStation},
    {'@', RecordKind::kGpsFirst},   {'#', RecordKind::kGpsContinuation},
    {'?', RecordKind::kGpsInput},   {'"', RecordKind::kGpsInputContinuation},
    {'!', RecordKind::kGpsSummary}, {'C', RecordKind::kComment},
    {'\\', RecordKind::kComment},   {'X', RecordKind::kRemark},
    {'{', RecordKind::kSwath},      {'~', RecordKind::kTilt},
}};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool kind_has_tick(RecordKind kind) {
  switch (kind) {
    case RecordKind::kTimeMark:
    case RecordKind::kReading:
    case RecordKind::kMarker:
    case RecordKind::kGpsSummary:
    case RecordKind::kComment:
    case RecordKind::kRemark:
    case RecordKind::kTilt: return true;
    default: return false;
  }
}

std::optional<int> digit_at(std::string_view record, std::size_t column) {
  if (column >= record.size() || !is_digit(record[column])) return std::nullopt;
  return record[column] - '0';
}

std::optional<double> number_at(std::string_view record, std::size_t first, std::size_t width) {
  if (first >= record.size()) return std::nullopt;
  std::string_view field = record.substr(first, width);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  if (field.empty()) return std::nullopt;
  const std::string text(field);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> parse_tick(std::string_view field) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  if (field.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : field) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

bool is_identification_record(std::string_view record) {
  if (record.size() < 12) return false;
  const std::string_view start = record.substr(1, 2);
  if (start != "LK" && start != "YN") return false;
  for (std::size_t i = 9; i < 12; ++i)
    if (!is_digit(record[i])) return false;
  return variant_of_program_code(record.substr(0, 9)).has_value();
}

long DataFile::record_count() const {
  return record_length > 0 ? static_cast<long>(bytes.size() / static_cast<std::size_t>(record_length)) : 0;
}

std::size_t DataFile::trailing_bytes() const {
  return record_length > 0 ? bytes.size() % static_cast<std::size_t>(record_length) : bytes.size();
}

DataFile open_data_file(std::string_view bytes) {
  DataFile f;
  f.bytes = bytes;
  const std::size_t lf = bytes.substr(0, kLongestDataRecord).find('\n');
  if (lf == std::string_view::npos) return f;
  f.record_length = static_cast<int>(lf + 1);
  if (is_identification_record(bytes.substr(0, lf))) f.variant = variant_of_program_code(bytes.substr(0, 9));
  return f;
}

DataRecord classify_record(std::string_view bytes, long number, InstrumentType instrument_type) {
  DataRecord r;
  r.number = number;
  r.bytes = bytes;
  r.tag = bytes.empty() ? '\0' : bytes[0];
  const std::string_view body = r.body();
  if (is_identification_record(body)) {
    r.kind = RecordKind::kIdentification;
    return r;
  }
  if (is_reading_letter(instrument_type, r.tag))
    r.kind = RecordKind::kReading;
  else if (is_marker_letter(instrument_type, r.tag))
    r.kind = RecordKind::kMarker;
  else
    for (const TagKind& t : kTagKinds)
      if (t.tag == r.tag) r.kind = t.kind;
  if (!kind_has_tick(r.kind)) return r;
  if (r.kind == RecordKind::kTilt) {
    if (body.size() >= 23) r.tick = parse_tick(body.substr(13, 10));
  } else if (body.size() >= 11) {
    r.tick = parse_tick(body.substr(body.size() - 10, 10));
  }
  return r;
}

RecordCursor record_cursor(const DataFile& file, long first) {
  RecordCursor c;
  c.file = &file;
  c.instrument_type = file.variant ? file.variant->instrument_type : kEm31Mk2;
  if (first > 1 && file.record_length > 0) {
    c.number = first - 1;
    c.at = static_cast<std::size_t>(first - 1) * static_cast<std::size_t>(file.record_length);
  }
  return c;
}

std::optional<DataRecord> next_record(RecordCursor& c) {
  if (!c.file || c.file->record_length <= 0) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(c.file->record_length);
  if (c.at + length > c.file->bytes.size()) return std::nullopt;
  const std::string_view bytes = c.file->bytes.substr(c.at, length);
  c.at += length;
  return classify_record(bytes, ++c.number, c.instrument_type);
}

}  // namespace quelor
