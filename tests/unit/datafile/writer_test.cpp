#include "datafile/writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "datafile/write_failure.h"

namespace quelor {
namespace {

// A sink that writes byte by byte and yields in between: without the
// writer's lock two threads would interleave inside records.
class SlowSink : public MemorySink {
 public:
  bool write(std::string_view bytes) override {
    for (char c : bytes) {
      MemorySink::write(std::string_view(&c, 1));
      std::this_thread::yield();
    }
    ++calls;
    return true;
  }
  int calls = 0;
};

TEST(Writer, GpsThreadAndWindowThreadNeverInterleaveInsideARecord) {
  SlowSink sink;
  sink.open(L"f");
  const Variant v{kEm38, 0};
  DataFileWriter w(sink, v);
  w.write_header(HeaderFields{}, false);
  w.write_line_block(LineBlockFields{}, LocalTime{}, 0);
  std::thread gps([&] {
    for (std::uint32_t i = 1; i <= 300; ++i)
      w.write_gps_sentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", i, kGpsForwarded);
  });
  std::thread window([&] {
    for (std::uint32_t i = 1; i <= 300; ++i) {
      w.write_reading({"TA01234-0056", i});
      if (i % 50 == 0) w.write_remark("CHECK", 'C', i);
    }
  });
  gps.join();
  window.join();
  const std::string bytes = sink.file(L"f");
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_EQ(r.error_count, 0) << (r.errors.empty() ? "" : r.errors[0].message);
  EXPECT_EQ(r.by_tag.at('T'), 300);
  EXPECT_EQ(r.by_tag.at('!'), 300);
  EXPECT_EQ(r.by_tag.at('@'), 300);
  EXPECT_EQ(r.by_tag.at('#'), 600);
  EXPECT_EQ(r.gps_positions, 300);
  EXPECT_EQ(w.gps_sentence_count(), 300);
  // Each GPS sentence with its summary went out in one write.
  EXPECT_EQ(bytes.find("!000300p"), bytes.rfind("!000"));
}

TEST(Writer, CommitFlushesClosesAndReopensAtTheEnd) {
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter w(sink, {kEm31Mk2, 1});
  w.write_remark("PAUSED", 'X', 5);
  EXPECT_EQ(sink.durable(L"f"), "");
  EXPECT_TRUE(w.commit_to_disk());
  EXPECT_EQ(sink.flushes, 1);
  EXPECT_EQ(sink.closes, 1);
  EXPECT_EQ(sink.reopens, 1);
  EXPECT_EQ(sink.durable(L"f").size(), 24u);
  w.write_remark("$STARTED", 'X', 6);
  EXPECT_EQ(sink.file(L"f").substr(24, 9), "X$STARTED");
  w.write_remark(std::wstring_view(L"Fence post 12"), 'C', 7);
  EXPECT_EQ(sink.file(L"f").substr(48, 24), "CFence post" + std::string(11, ' ') + "7\n");
}

TEST(Writer, NothingIsWrittenWithoutAnOpenFile) {
  MemorySink sink;
  DataFileWriter w(sink, {kEm31Mk2, 0});
  EXPECT_FALSE(w.write_reading({"T", 1}));
  EXPECT_FALSE(w.write_gps_sentence("$GPGGA", 1, kGpsAccepted));
  EXPECT_FALSE(w.commit_to_disk());
  EXPECT_EQ(w.gps_sentence_count(), 0);
  EXPECT_EQ(sink.writes, 0);
}

TEST(Writer, OneWritePerRecordOrEvent) {
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter w(sink, {kEm34_3, 0});
  w.write_reading({"T801234-0056", 1});
  EXPECT_EQ(sink.writes, 1);
  w.write_readings({{"T801234-0056", 2}, {"T801234-0057", 3}, {"T801234-0058", 4}});
  EXPECT_EQ(sink.writes, 2);
  w.write_swath_group(0, {1, 2, 3, 4});
  EXPECT_EQ(sink.writes, 3);
  w.write_gps_sentence(std::string(60, 'G'), 5, kGpsAccepted);
  EXPECT_EQ(sink.writes, 4);
  w.write_header(HeaderFields{}, false);
  EXPECT_EQ(sink.writes, 4 + 5);
  EXPECT_EQ(sink.file(L"f").size() % 27, 0u);
}

// A piece of survey as the program hands it over: readings, GPS sentences
// from the GPS reader, now and then a swath group, ticks from `from` on.
void survey_part(DataFileWriter& w, std::uint32_t from, std::uint32_t count) {
  for (std::uint32_t i = from; i < from + count; ++i) {
    w.write_reading({"TA01234-0056", i});
    if (i % 3 == 0)
      w.write_gps_sentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", i, kGpsForwarded);
    if (i % 7 == 0) w.write_swath_group(0, {1, 2, 3, 4});
  }
}

void start_file(DataFileWriter& w) {
  w.write_header(HeaderFields{}, false);
  w.write_line_block(LineBlockFields{}, LocalTime{}, 1);
  w.commit_to_disk();
  w.write_remark("$STARTED", 'X', 2);
}

// How a drive lets the survey down, and at which step.
struct DriveFailure {
  const char* name;
  Variant variant;
  std::function<void(MemorySink&)> fail;  // after the first part of the survey
  std::function<void(MemorySink&)> mend;  // what the surveyor does before Go
  bool fails_at_pause;                    // only the pause's reopen fails
  WriteError cause;
};

const std::vector<DriveFailure>& drive_failures() {
  static const std::vector<DriveFailure> cases{
      {"disk full inside a record",
       {kEm38, 0},
       [](MemorySink& s) { s.capacity = s.file(L"f").size() + 10; },
       [](MemorySink& s) { s.capacity = SIZE_MAX; },
       false,
       WriteError::kDiskFull},
      {"disk full on a record boundary",
       {kEm31Mk2, 1},
       [](MemorySink& s) { s.capacity = s.file(L"f").size(); },
       [](MemorySink& s) { s.capacity = SIZE_MAX; },
       false,
       WriteError::kDiskFull},
      {"card pulled out",
       {kEm31Mk2, 1},
       [](MemorySink& s) { s.removed = true; },
       [](MemorySink& s) { s.removed = false; },
       false,
       WriteError::kDeviceRemoved},
      {"file made read-only: the pause cannot reopen it",
       {kEm38, 0},
       [](MemorySink& s) { s.read_only = true; },
       [](MemorySink& s) { s.read_only = false; },
       true,
       WriteError::kAccessDenied},
      {"card pulled out before the pause",
       {kEm61Mk2, 0},
       [](MemorySink& s) { s.removed = true; },
       [](MemorySink& s) { s.removed = false; },
       true,
       WriteError::kDeviceRemoved},
  };
  return cases;
}

// The same survey on a drive that fails and on one that never does: after
// Go the failing drive's file is the sound one with the gap remark where
// Go retried, every record whole, and it passes the check.
TEST(Writer, WriteFailuresHoldRecordsInOrderAndWriteThemFirstOnRecovery) {
  for (const DriveFailure& c : drive_failures()) {
    SCOPED_TRACE(c.name);
    MemorySink sound_sink, sink;
    sound_sink.open(L"f");
    sink.open(L"f");
    DataFileWriter sound(sound_sink, c.variant), w(sink, c.variant);
    int notices = 0;
    w.set_failure_notice([&] { ++notices; });
    for (DataFileWriter* x : {&sound, &w}) {
      start_file(*x);
      survey_part(*x, 10, 20);
    }
    const std::string before = sink.file(L"f");
    c.fail(sink);
    if (c.fails_at_pause) {
      EXPECT_FALSE(w.commit_to_disk());
      EXPECT_TRUE(sound.commit_to_disk());
    }
    EXPECT_EQ(notices, c.fails_at_pause ? 1 : 0);
    for (DataFileWriter* x : {&sound, &w}) {
      survey_part(*x, 30, 12);
      x->write_remark("PAUSED", 'X', 50);
      x->commit_to_disk();
    }
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(w.failing());
    EXPECT_EQ(w.failure_cause(), c.cause);
    const std::size_t length = static_cast<std::size_t>(w.record_length());
    EXPECT_EQ(w.held_records(), (sound_sink.file(L"f").size() - before.size()) / length);
    EXPECT_EQ(sink.file(L"f"), before) << "nothing after the failure, no part of a record";
    // Go on a drive still failing: nothing changes.
    EXPECT_FALSE(w.retry(60));
    EXPECT_EQ(sink.file(L"f"), before);
    EXPECT_EQ(notices, 1);
    c.mend(sink);
    ASSERT_TRUE(w.retry(61));
    EXPECT_FALSE(w.failing());
    EXPECT_EQ(w.held_records(), 0u);
    sound.write_remark(file_gap_remark(0), 'X', 61);
    for (DataFileWriter* x : {&sound, &w}) {
      x->write_remark("$STARTED", 'X', 62);
      survey_part(*x, 63, 5);
    }
    EXPECT_EQ(sink.file(L"f"), sound_sink.file(L"f"));
    EXPECT_EQ(w.swath_closings(), sound.swath_closings());
    const std::string& bytes = sink.file(L"f");
    EXPECT_EQ(bytes.find("XFGAP      0"), bytes.rfind("XPAUSED") + length) << "the gap remark after the held records";
    const FileCheckReport r = check_data_file(sink.file(L"f"));
    EXPECT_EQ(r.error_count, 0) << (r.errors.empty() ? "" : r.errors[0].message);
  }
}

// Beyond the bound records are counted, not kept; the gap remark names them.
TEST(Writer, HeldRecordsAreBoundedAndTheRemarkCountsWhatWasDropped) {
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter w(sink, {kEm31Mk2, 1});
  start_file(w);
  const std::size_t start = sink.file(L"f").size();
  sink.removed = true;
  const std::uint32_t handed = static_cast<std::uint32_t>(kHeldRecordLimit) + 25;
  for (std::uint32_t i = 0; i < handed; ++i) w.write_reading({"T801234-0056", 1000 + i});
  EXPECT_EQ(w.held_records(), kHeldRecordLimit);
  EXPECT_EQ(w.lost_records(), 25u);
  sink.removed = false;
  ASSERT_TRUE(w.retry(9000));
  const std::string bytes = sink.file(L"f").substr(start);
  ASSERT_EQ(bytes.size(), (kHeldRecordLimit + 1) * 24);
  // The oldest are kept, in order; the newest went.
  for (std::size_t k : {std::size_t{0}, kHeldRecordLimit / 2, kHeldRecordLimit - 1})
    EXPECT_EQ(std::stoul(bytes.substr(k * 24 + 13, 10)), 1000 + k);
  EXPECT_EQ(bytes.substr(kHeldRecordLimit * 24, 12), "XFGAP     25");
  EXPECT_EQ(w.lost_records(), 0u);
  EXPECT_EQ(check_data_file(sink.file(L"f")).error_count, 0);
}

// A card pulled out in the middle of a write: part of the record is in the
// file and cannot be cut while the card is away; it is cut before anything
// else once the card is back.
class PulledMidWriteSink : public MemorySink {
 public:
  bool write(std::string_view bytes) override {
    const bool ok = MemorySink::write(bytes);
    if (!ok && !removed) removed = true;
    return ok;
  }
};

TEST(Writer, APartRecordThatCannotBeCutAtOnceIsCutBeforeTheNextWrite) {
  PulledMidWriteSink sink;
  sink.open(L"f");
  DataFileWriter w(sink, {kEm38, 0});
  start_file(w);
  const std::string before = sink.file(L"f");
  sink.capacity = before.size() + 5;
  w.write_reading({"TA01234-0056", 100});
  EXPECT_EQ(sink.file(L"f").size(), before.size() + 5) << "the part record stays while the card is out";
  EXPECT_EQ(w.failure_cause(), WriteError::kDiskFull);
  w.write_reading({"TA01234-0057", 101});
  EXPECT_EQ(w.held_records(), 2u);
  EXPECT_FALSE(w.retry(102));
  sink.removed = false;
  sink.capacity = SIZE_MAX;
  ASSERT_TRUE(w.retry(103));
  EXPECT_EQ(sink.file(L"f").substr(0, before.size()), before);
  const FileCheckReport r = check_data_file(sink.file(L"f"));
  EXPECT_EQ(r.error_count, 0) << (r.errors.empty() ? "" : r.errors[0].message);
  EXPECT_EQ(r.by_tag.at('T'), 2);
}

// The failure notice comes once per failure, from whichever thread's write
// failed first; the GPS thread's records are held as the window thread's.
TEST(Writer, GpsAndWindowThreadsBothHoldWhileFailingAndOneNoticeIsGiven) {
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter w(sink, {kEm38, 0});
  start_file(w);
  std::atomic<int> notices{0};
  w.set_failure_notice([&] { ++notices; });
  sink.capacity = sink.file(L"f").size() + 27 * 40 + 3;
  std::thread gps([&] {
    for (std::uint32_t i = 1; i <= 200; ++i) w.write_gps_sentence("$GPGGA,1,2,3*00", i, kGpsForwarded);
  });
  std::thread window([&] {
    for (std::uint32_t i = 1; i <= 200; ++i) w.write_reading({"TA01234-0056", i});
  });
  gps.join();
  window.join();
  EXPECT_EQ(notices.load(), 1);
  EXPECT_EQ(sink.file(L"f").size() % 27, 0u);
  sink.capacity = SIZE_MAX;
  ASSERT_TRUE(w.retry(500));
  const FileCheckReport r = check_data_file(sink.file(L"f"));
  EXPECT_EQ(r.error_count, 0) << (r.errors.empty() ? "" : r.errors[0].message);
  EXPECT_EQ(r.by_tag.at('T'), 200);
  EXPECT_EQ(r.by_tag.at('!'), 200);
  EXPECT_EQ(w.gps_sentence_count(), 200);
}

// The box names the file, the cause and the records held, in at most four lines.
TEST(Writer, WriteFailureBoxNamesFileCauseAndHeldRecords) {
  const struct {
    WriteError cause;
    const char* words;
  } cases[] = {{WriteError::kDiskFull, "Disk full. Free space"},
               {WriteError::kDeviceRemoved, "Drive removed. Put it back"},
               {WriteError::kAccessDenied, "Access denied."},
               {WriteError::kOther, "Write error."}};
  for (const auto& c : cases) {
    for (const OperatorMessage& m :
         {write_failure_message(c.cause, "LINE7.Q31", 12), write_retry_failed_message(c.cause, "LINE7.Q31", 12)}) {
      EXPECT_EQ(m.title, "FILE ERROR");
      EXPECT_NE(m.text.find("LINE7.Q31"), std::string::npos);
      EXPECT_NE(m.text.find(c.words), std::string::npos) << m.text;
      EXPECT_NE(m.text.find("12 records held"), std::string::npos);
      EXPECT_NE(m.text.find("Go"), std::string::npos);
      std::size_t lines = 1;
      for (std::size_t at = m.text.find("\r\n"); at != std::string::npos; at = m.text.find("\r\n", at + 2)) ++lines;
      EXPECT_LE(lines, 4u);
    }
  }
  EXPECT_NE(write_lost_message("LINE7.Q31", 3).text.find("3 records were not written"), std::string::npos);
  EXPECT_EQ(file_gap_remark(0).size(), 11u);
  EXPECT_EQ(file_gap_remark(12345678), "FGAP 999999");
}

TEST(Writer, ProcedureConstantRecords) {
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter lx2(sink, {kEm61Lx2, 0});
  lx2.write_null_values({1, 2, 3, 4}, {5, 6, 7, 8});
  lx2.write_lx2_constants({{{400, 310}, {0, 0}}});
  const std::string bytes = sink.file(L"f");
  ASSERT_EQ(bytes.size(), 6u * 27);
  EXPECT_EQ(bytes.substr(0, 27), "O     1.00      5.00     1\n");
  EXPECT_EQ(bytes.substr(4 * 27, 27), "I   400.00    310.00     1\n");
  MemorySink sink2;
  sink2.open(L"g");
  DataFileWriter em38mk2(sink2, {kEm38Mk2, 0});
  em38mk2.write_em38mk2_constants({});
  DataFileWriter em38_4(sink2, {kEm38_4, 0});
  em38_4.write_em38_4_constants({});
  EXPECT_EQ(sink2.file(L"g").size(), 6u * 27 + 28u * 47);
}

}  // namespace
}  // namespace quelor
