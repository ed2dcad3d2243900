#include "datafile/writer.h"

#include "datafile/record_layout.h"

namespace quelor {

int DataFileWriter::record_length() const { return quelor::record_length(variant_); }

bool DataFileWriter::emit(std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool ok = sink_.is_open() && sink_.write(bytes);
  const std::size_t length = static_cast<std::size_t>(record_length());
  for (std::size_t at = 0; ok && at < bytes.size(); at += length)
    if (swath_closing_record(bytes.substr(at, length))) ++swath_closings_;
  return ok;
}

std::size_t DataFileWriter::read_at(std::uint64_t offset, char* buffer, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  return sink_.is_open() ? sink_.read_at(offset, buffer, size) : 0;
}

bool DataFileWriter::emit_all(const std::vector<std::string>& records) {
  bool ok = true;
  for (const std::string& r : records) ok = emit(r) && ok;
  return ok;
}

bool DataFileWriter::write_header(const HeaderFields& fields, bool continuing) {
  return emit_all(header_block(variant_, fields, continuing));
}

bool DataFileWriter::write_line_block(const LineBlockFields& fields, const LocalTime& now, std::uint32_t tick) {
  const bool ok = emit_all(line_block_records(variant_, fields, now));
  return write_time_mark(now, tick) && ok;
}

bool DataFileWriter::write_time_mark(const LocalTime& now, std::uint32_t tick) {
  return emit(time_mark_record(variant_, now, tick));
}

bool DataFileWriter::write_reading(const ReadingInput& reading) {
  return emit(reading_record(variant_, reading));
}

bool DataFileWriter::write_readings(const std::vector<ReadingInput>& readings) {
  std::string bytes;
  for (const ReadingInput& r : readings) bytes += reading_record(variant_, r);
  return emit(bytes);
}

bool DataFileWriter::write_gps_sentence(std::string_view sentence, std::uint32_t tick, const GpsMarkers& markers) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!sink_.is_open()) return false;
  ++gps_sentence_count_;
  return sink_.write(gps_sentence_records(variant_, sentence, tick, markers, gps_sentence_count_));
}

bool DataFileWriter::write_remark(std::string_view text, char tag, std::uint32_t tick) {
  return emit(remark_record(variant_, tag, text, tick));
}

bool DataFileWriter::write_remark(std::wstring_view text, char tag, std::uint32_t tick) {
  return emit(remark_record(variant_, tag, text, tick));
}

bool DataFileWriter::write_station(double station, const LocalTime& now) {
  return emit(station_record(variant_, station, now));
}

bool DataFileWriter::write_tilt(double first_angle, double second_angle, std::uint32_t tick) {
  return emit(tilt_record(variant_, first_angle, second_angle, tick));
}

bool DataFileWriter::write_swath_start() { return emit(swath_start_record(variant_)); }

bool DataFileWriter::write_swath_group(int kind, const std::array<double, 4>& values) {
  return emit(swath_group_records(variant_, kind, values));
}

bool DataFileWriter::write_null_values(const std::array<double, 4>& values, const std::array<double, 4>& previous,
                                       bool with_previous) {
  return emit_all(null_value_records(variant_, values, previous, with_previous));
}

bool DataFileWriter::write_lx2_constants(const std::array<ConstantPair, 2>& pairs) {
  return emit_all(lx2_constant_records(variant_, pairs));
}

bool DataFileWriter::write_em38mk2_constants(const std::array<ConstantPair, 6>& pairs) {
  return emit_all(em38mk2_constant_records(variant_, pairs));
}

bool DataFileWriter::write_em38_4_constants(const std::array<ConstantPair, 28>& pairs) {
  return emit_all(em38_4_constant_records(variant_, pairs));
}

bool DataFileWriter::commit_to_disk(const std::function<void()>& while_closed) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!sink_.is_open()) return false;
  const bool flushed = sink_.flush();
  sink_.close();
  if (while_closed) while_closed();
  return sink_.reopen() && flushed;
}

long DataFileWriter::gps_sentence_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return gps_sentence_count_;
}

void DataFileWriter::set_gps_sentence_count(long count) {
  std::lock_guard<std::mutex> lock(mutex_);
  gps_sentence_count_ = count;
}

}  // namespace quelor
