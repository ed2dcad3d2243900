#pragma once
// The survey data file writer. The window thread (readings, commands, header
// and line blocks) and the GPS reader thread (GPS sentence records) both call
// it: every call hands whole records to the sink in one write, under a lock,
// so records never interleave inside a record.
//
// A write that fails (a full disk, a drive pulled out, a file made
// read-only) never leaves part of a record: what a short write put in the
// file is cut back. From the first failure on, the writer holds every record
// it is handed, in order (at most kHeldRecordLimit; beyond them it counts),
// tells the program once through the failure notice, and writes nothing
// until `retry`: that reopens the file when it was lost, writes the held
// records first and then the gap remark ("FGAP" and the count dropped).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "datafile/data_records.h"
#include "datafile/data_sink.h"
#include "datafile/header_records.h"
#include "datafile/local_time.h"
#include "variant/variant.h"

namespace quelor {

class DataFileWriter {
 public:
  DataFileWriter(DataSink& sink, const Variant& variant) : sink_(sink), variant_(variant) {}

  const Variant& variant() const { return variant_; }
  int record_length() const;

  bool write_header(const HeaderFields& fields, bool continuing);
  // Line block then the time mark.
  bool write_line_block(const LineBlockFields& fields, const LocalTime& now, std::uint32_t tick);
  bool write_time_mark(const LocalTime& now, std::uint32_t tick);
  bool write_reading(const ReadingInput& reading);
  // Several readings (an EM34-3 station group), one record each, one write.
  bool write_readings(const std::vector<ReadingInput>& readings);
  // The sentence records and their summary, one write. Counts the sentence.
  bool write_gps_sentence(std::string_view sentence, std::uint32_t tick, const GpsMarkers& markers);
  bool write_remark(std::string_view text, char tag, std::uint32_t tick);
  // The operator's comment as typed (wide), narrowed to 8 bits.
  bool write_remark(std::wstring_view text, char tag, std::uint32_t tick);
  bool write_station(double station, const LocalTime& now);
  bool write_tilt(double first_angle, double second_angle, std::uint32_t tick);
  bool write_swath_start();
  bool write_swath_group(int kind, const std::array<double, 4>& values);
  bool write_null_values(const std::array<double, 4>& values, const std::array<double, 4>& previous,
                         bool with_previous = true);
  bool write_lx2_constants(const std::array<ConstantPair, 2>& pairs);
  bool write_em38mk2_constants(const std::array<ConstantPair, 6>& pairs);
  bool write_em38_4_constants(const std::array<ConstantPair, 28>& pairs);

  // Puts what was written on the disk: flush, close and reopen at the end.
  // Called after the header and line blocks and at every pause;
  // `while_closed` runs between close and reopen (the settings are saved
  // there when a file is created).
  bool commit_to_disk(const std::function<void()>& while_closed = {});

  // Runs once at each first failure, on the thread whose write failed, after
  // the writer's lock is let go: it must only hand the news on.
  void set_failure_notice(std::function<void()> notice) { failure_notice_ = std::move(notice); }
  // The file cannot be written: records are held until `retry` succeeds.
  bool failing() const;
  WriteError failure_cause() const;
  // Records held for the file, and records dropped beyond the bound.
  std::size_t held_records() const;
  std::size_t lost_records() const;
  // Writes the held records and the gap remark (at `tick`). True when the
  // file takes them (or nothing was failing and the file is open); false
  // when it still cannot be written, with the records still held.
  bool retry(std::uint32_t tick);
  // The survey's file is closed for good: what is still held is let go.
  void forget_held();

  // Reads the file at `offset` without moving where records are appended,
  // under the writer's lock.
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size);

  // Records written so far that close the swath (swath_closing_record).
  std::uint32_t swath_closings() const { return swath_closings_.load(); }

  long gps_sentence_count() const;
  void set_gps_sentence_count(long count);

 private:
  bool emit(std::string_view bytes);
  bool emit_all(const std::vector<std::string>& records);
  // Under the lock: writes whole records, or holds them while failing.
  // Sets `first_failure` when this write started a failure.
  bool put(std::string_view bytes, bool& first_failure);
  // Under the lock: one write; a failed one is cut back to where it began.
  bool write_whole(std::string_view bytes);
  bool cut_back();
  bool hold(std::string_view bytes);  // false: beyond the bound, counted
  void fail(bool& first_failure);
  void notify(bool first_failure) const;
  std::size_t records_in(std::string_view bytes) const;

  DataSink& sink_;
  Variant variant_;
  mutable std::mutex mutex_;
  long gps_sentence_count_ = 0;
  std::atomic<std::uint32_t> swath_closings_{0};
  std::function<void()> failure_notice_;
  bool failing_ = false;
  WriteError cause_ = WriteError::kNone;
  std::deque<std::string> held_;  // one entry per write, in order
  std::size_t held_records_ = 0;
  std::size_t lost_records_ = 0;
  std::optional<std::uint64_t> cut_back_to_;  // a short write's start, not yet cut
};

}  // namespace quelor
