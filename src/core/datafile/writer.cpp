#include "datafile/writer.h"

#include "datafile/record_layout.h"
#include "datafile/write_failure.h"

namespace quelor {

int DataFileWriter::record_length() const { return quelor::record_length(variant_); }

bool DataFileWriter::emit(std::string_view bytes) {
  bool first_failure = false;
  bool ok = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ok = put(bytes, first_failure);
  }
  notify(first_failure);
  return ok;
}

bool DataFileWriter::put(std::string_view bytes, bool& first_failure) {
  if (!failing_ && !sink_.is_open()) return false;  // no survey file: refused
  bool written = false;
  bool kept = false;
  if (!failing_) {
    written = write_whole(bytes);
    if (!written) fail(first_failure);
  }
  if (!written) kept = hold(bytes);
  const std::size_t length = static_cast<std::size_t>(record_length());
  for (std::size_t at = 0; (written || kept) && at < bytes.size(); at += length)
    if (swath_closing_record(bytes.substr(at, length))) ++swath_closings_;
  return written;
}

bool DataFileWriter::write_whole(std::string_view bytes) {
  if (!cut_back()) return false;
  const std::optional<std::uint64_t> start = sink_.position();
  if (sink_.write(bytes)) return true;
  cut_back_to_ = start;
  cut_back();
  return false;
}

bool DataFileWriter::cut_back() {
  if (!cut_back_to_) return true;
  if (!sink_.is_open() || !sink_.cut_to(static_cast<std::size_t>(*cut_back_to_))) return false;
  cut_back_to_.reset();
  return true;
}

bool DataFileWriter::hold(std::string_view bytes) {
  const std::size_t n = records_in(bytes);
  if (held_records_ + n > kHeldRecordLimit) {
    lost_records_ += n;
    return false;
  }
  held_.emplace_back(bytes);
  held_records_ += n;
  return true;
}

void DataFileWriter::fail(bool& first_failure) {
  if (!failing_) first_failure = true;
  failing_ = true;
  cause_ = sink_.last_error();
}

void DataFileWriter::notify(bool first_failure) const {
  if (first_failure && failure_notice_) failure_notice_();
}

std::size_t DataFileWriter::records_in(std::string_view bytes) const {
  const std::size_t length = static_cast<std::size_t>(record_length());
  return (bytes.size() + length - 1) / length;
}

bool DataFileWriter::failing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failing_;
}

WriteError DataFileWriter::failure_cause() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cause_;
}

std::size_t DataFileWriter::held_records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_records_;
}

std::size_t DataFileWriter::lost_records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lost_records_;
}

bool DataFileWriter::retry(std::uint32_t tick) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failing_) return sink_.is_open();
  if (!sink_.is_open() && !sink_.reopen()) {
    cause_ = sink_.last_error();
    return false;
  }
  for (; !held_.empty(); held_.pop_front()) {
    if (!write_whole(held_.front())) {
      cause_ = sink_.last_error();
      return false;
    }
    held_records_ -= records_in(held_.front());
  }
  if (!write_whole(remark_record(variant_, 'X', file_gap_remark(lost_records_), tick))) {
    cause_ = sink_.last_error();
    return false;
  }
  failing_ = false;
  cause_ = WriteError::kNone;
  lost_records_ = 0;
  return true;
}

void DataFileWriter::forget_held() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_.clear();
  held_records_ = 0;
  lost_records_ = 0;
  failing_ = false;
  cause_ = WriteError::kNone;
  cut_back_to_.reset();
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

bool DataFileWriter::write_reading(const ReadingInput& reading) { return emit(reading_record(variant_, reading)); }

bool DataFileWriter::write_readings(const std::vector<ReadingInput>& readings) {
  std::string bytes;
  for (const ReadingInput& r : readings) bytes += reading_record(variant_, r);
  return emit(bytes);
}

bool DataFileWriter::write_gps_sentence(std::string_view sentence, std::uint32_t tick, const GpsMarkers& markers) {
  bool first_failure = false;
  bool ok = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!failing_ && !sink_.is_open()) return false;
    ++gps_sentence_count_;
    ok = put(gps_sentence_records(variant_, sentence, tick, markers, gps_sentence_count_), first_failure);
  }
  notify(first_failure);
  return ok;
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

// While failing nothing is committed: the file is left as the failure found
// it until `retry`.
bool DataFileWriter::commit_to_disk(const std::function<void()>& while_closed) {
  bool first_failure = false;
  bool ok = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failing_ || !sink_.is_open()) {
      if (failing_ && while_closed) while_closed();
      return false;
    }
    const bool flushed = sink_.flush();
    if (!flushed) fail(first_failure);
    sink_.close();
    if (while_closed) while_closed();
    const bool reopened = sink_.reopen();
    if (!reopened) fail(first_failure);
    ok = flushed && reopened;
  }
  notify(first_failure);
  return ok;
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
