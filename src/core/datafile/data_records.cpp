#include "datafile/data_records.h"

#include <algorithm>
#include <cmath>

#include "datafile/record_layout.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// Record with column L-3 a space and column L-2 the format flag '1'.
std::string flagged_record(std::string body, int length) {
  return finish_record(fit_text(body, static_cast<std::size_t>(length - 3)) + " 1", length);
}

std::string em31_family_reading(const Variant& v, const ReadingInput& r) {
  std::string out = fit_text(r.record, std::max<std::size_t>(13, r.record.size()));
  if (r.readings_since_last >= 2 && r.readings_since_last <= 6) out[0] = static_cast<char>('0' + r.readings_since_last);
  if (r.averaged) {
    const std::string first = format_text("%+05d", r.averaged->first);
    const std::string second = format_text("%+05d", r.averaged->second);
    out.replace(2, 5, first.substr(0, 5));
    if (r.record.size() >= 8) out.replace(7, 5, second.substr(0, 5));
  }
  if (!has_shortened_records(v)) out += "   ";
  return out;
}

std::string reading_body(const Variant& v, const ReadingInput& r) {
  const std::string_view rec = r.record;
  switch (v.instrument_type) {
    case kEm38Mk2: return fit_text(rec.substr(0, 14), 14) + "  ";
    case kEm61Mk2:
    case kEm61Lx2: return fit_text(rec.substr(0, 16), 16);
    case kGrad601: return "T" + std::string(rec.substr(0, 2)) + std::string(rec.size() > 5 ? rec.substr(5) : "");
    case kCs21: return "T" + std::string(rec);
    case kEm38_4: return fit_text(rec.substr(0, 35), 35) + " ";
    default: return em31_family_reading(v, r);
  }
}

}  // namespace

std::vector<std::string> line_block_records(const Variant& v, const LineBlockFields& f, const LocalTime& now) {
  const int length = record_length(v);
  static const char kDirections[] = "WSNE";
  const char direction = f.line_direction >= 0 && f.line_direction < 4 ? kDirections[f.line_direction] : 'N';
  const std::string name_tail = f.file_name.size() > 10 ? f.file_name.substr(10, 10) : std::string();
  std::vector<std::string> out;
  out.push_back(
      finish_record("L" + fit_text(printable_text(f.line_name), 12) + fit_text(printable_text(name_tail), 10), length));
  out.push_back(finish_record(format_text("B%11.2f", f.start_station), length));
  out.push_back(finish_record(format_text("A%c      %11.3f", direction, f.station_increment), length));
  out.push_back(finish_record(
      format_text("Z%02d%02d%04d %02d:%02d:%02d", now.day, now.month, now.year, now.hour, now.minute, now.second),
      length));
  std::vector<std::string> constants;
  if (is_em61(v.instrument_type)) constants = null_value_records(v, f.null_values, f.previous_null_values);
  if (has_trait(v.instrument_type, Trait::kFilterFactors))
    for (std::string& r : lx2_constant_records(v, f.lx2_constants)) constants.push_back(std::move(r));
  if (has_trait(v.instrument_type, Trait::kCalibrationConstants))
    constants = em38_4_constant_records(v, f.em38_4_constants);
  for (std::string& r : constants) out.push_back(std::move(r));
  return out;
}

std::string time_of_day_text(const LocalTime& t) {
  return format_text("%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
}

std::string time_mark_record(const Variant& v, const LocalTime& now, std::uint32_t tick) {
  std::string body = "*" + time_of_day_text(now);
  if (!has_shortened_records(v)) body += "   ";
  return ticked_record(body, tick, record_length(v));
}

std::string station_record(const Variant& v, double station, const LocalTime& now) {
  return finish_record(format_text("S%11.2f  ", station) + time_of_day_text(now), record_length(v));
}

std::string remark_record(const Variant& v, char tag, std::string_view text, std::uint32_t tick) {
  std::string body(1, tag);
  body += fit_text(printable_text(text.substr(0, 11)), 11);
  return ticked_record(body, tick, record_length(v));
}

std::string remark_record(const Variant& v, char tag, std::wstring_view text, std::uint32_t tick) {
  std::string narrow;
  for (wchar_t c : text) narrow += static_cast<char>(static_cast<unsigned>(c) & 0xFF);
  return remark_record(v, tag, std::string_view(narrow), tick);
}

std::string reading_record(const Variant& v, const ReadingInput& r) {
  return ticked_record(reading_body(v, r), r.tick, record_length(v));
}

std::string gps_sentence_records(const Variant& v, std::string_view sentence, std::uint32_t tick,
                                 const GpsMarkers& markers, long sentence_count) {
  const int length = record_length(v);
  const std::size_t piece = static_cast<std::size_t>(length - 2);
  const std::string text = printable_text(sentence);
  std::string out;
  std::size_t at = 0;
  do {
    out += finish_record((at == 0 ? markers.first : markers.continuation) + text.substr(at, piece), length);
    at += piece;
  } while (at < text.size());
  std::string summary = format_text("%c%06ld%c", markers.summary, sentence_count, markers.flag);
  out += ticked_record(summary, tick, length);
  return out;
}

std::string tilt_record(const Variant& v, double first_angle, double second_angle, std::uint32_t tick) {
  auto hundredths = [](double angle) { return static_cast<int>(std::lround(std::clamp(angle, -75.0, 75.0) * 100.0)); };
  std::string body = format_text("~%+06d%+06d", hundredths(second_angle), hundredths(first_angle)) + tick_field(tick);
  return finish_record(std::move(body), record_length(v), '\0');
}

bool swath_closing_record(std::string_view record) {
  const char tag = record.empty() ? '\0' : record[0];
  if (tag == 'L' || tag == 'S') return true;
  if (tag != 'X') return false;
  const std::string_view text = record.substr(1);
  const bool instrument_break = text.size() >= 9 && text[0] >= '0' && text[0] <= '9' && text.substr(1, 8) == "CONN BRK";
  return text.starts_with("PAUSED") || text.starts_with("GPS CONN") || instrument_break;
}

std::string swath_start_record(const Variant& v) {
  return finish_record(format_text("{0%14.3f", 0.0), record_length(v));
}

std::string swath_group_records(const Variant& v, int kind, const std::array<double, 4>& values) {
  const char first = static_cast<char>('a' + 4 * std::clamp(kind, 0, 2));
  std::string out;
  for (int i = 0; i < 4; ++i)
    out += finish_record(format_text("{%c%14.3f", first + i, values[static_cast<std::size_t>(i)]), record_length(v));
  return out;
}

std::vector<std::string> null_value_records(const Variant& v, const std::array<double, 4>& values,
                                            const std::array<double, 4>& previous, bool with_previous) {
  const int length = record_length(v);
  std::vector<std::string> out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (has_trait(v.instrument_type, Trait::kNullPairs)) {
      std::string body = with_previous ? format_text("O%9.2f %9.2f    ", values[i], previous[i])
                                       : format_text("O%9.2f", values[i]) + std::string(14, ' ');
      out.push_back(flagged_record(std::move(body), length));
    } else {
      out.push_back(finish_record(format_text("O%9.2f %9.2f", values[i], previous[i]), length));
    }
  }
  return out;
}

std::vector<std::string> lx2_constant_records(const Variant& v, const std::array<ConstantPair, 2>& pairs) {
  std::vector<std::string> out;
  for (const auto& [value, previous] : pairs)
    out.push_back(flagged_record(format_text("I%9.2f %9.2f    ", value, previous), record_length(v)));
  return out;
}

std::vector<std::string> em38mk2_constant_records(const Variant& v, const std::array<ConstantPair, 6>& pairs) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    out.push_back(
        finish_record(format_text("O%1d%10.3f %10.3f   ", static_cast<int>(i + 1), pairs[i].first, pairs[i].second),
                      record_length(v)));
  return out;
}

std::vector<std::string> em38_4_constant_records(const Variant& v, const std::array<ConstantPair, 28>& pairs) {
  static const char kIds[] = "123456789ABCDEFGHIJKLMNOPQRS";
  std::vector<std::string> out;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    out.push_back(
        finish_record(format_text("O%c%10.3f %10.3f  ", kIds[i], pairs[i].first, pairs[i].second), record_length(v)));
  return out;
}

}  // namespace quelor
