#include "datafile/writer.h"

#include <gtest/gtest.h>

#include <thread>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"

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
