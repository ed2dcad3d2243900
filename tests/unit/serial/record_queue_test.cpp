#include "serial/record_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace quelor {
namespace {

// A record whose text carries its sequence number: "T%011u".
RecordBytes numbered(std::uint32_t n) {
  char text[16];
  const int len = std::snprintf(text, sizeof text, "T%011u", n);
  RecordBytes r;
  assign_record(r, reinterpret_cast<const std::uint8_t*>(text), static_cast<std::size_t>(len));
  return r;
}

std::uint32_t number_of(const QueuedRecord& q) {
  return static_cast<std::uint32_t>(std::stoul(std::string(q.record.text().substr(1))));
}

TEST(RecordQueue, OverflowDropsTheNewestAndCountsThemOnce) {
  struct Case {
    int pushed;
    int expect_kept;
  };
  for (const Case c : {Case{3, 3}, Case{8, 8}, Case{9, 8}, Case{20, 8}}) {
    RecordQueue<8> q;
    int accepted = 0;
    for (int i = 0; i < c.pushed; ++i) accepted += q.push(numbered(i), 1000u + i) ? 1 : 0;
    EXPECT_EQ(accepted, c.expect_kept);
    EXPECT_EQ(q.take_dropped(), static_cast<std::uint32_t>(c.pushed - c.expect_kept));
    EXPECT_EQ(q.take_dropped(), 0u);  // reported once
    for (int i = 0; i < c.expect_kept; ++i) {
      const auto r = q.pop();
      ASSERT_TRUE(r);
      EXPECT_EQ(number_of(*r), static_cast<std::uint32_t>(i));
      EXPECT_EQ(r->tick, 1000u + i);  // each record keeps its own tick
    }
    EXPECT_FALSE(q.pop());
  }
}

TEST(RecordQueue, BinaryRecordsKeepEveryByte) {
  RecordQueue<4> q;
  const std::uint8_t raw[] = {0xFF, 0x00, 0x0A, 0x41, 0x00, 0x7F, 0x7F};
  RecordBytes r;
  assign_record(r, raw, sizeof raw);
  ASSERT_TRUE(q.push(r, 5));
  const auto out = q.pop();
  ASSERT_TRUE(out);
  ASSERT_EQ(out->record.length, sizeof raw);
  for (std::size_t i = 0; i < sizeof raw; ++i) EXPECT_EQ(out->record.bytes[i], raw[i]);
}

TEST(RecordQueue, ClearForgetsWaitingRecordsOnly) {
  RecordQueue<4> q;
  q.push(numbered(1), 1);
  q.push(numbered(2), 2);
  q.clear();
  EXPECT_EQ(q.size(), 0u);
  q.push(numbered(3), 3);
  const auto r = q.pop();
  ASSERT_TRUE(r);
  EXPECT_EQ(number_of(*r), 3u);
}

// A reader at 25 readings a second while the window thread is held for two
// seconds (a dialog, a redraw): every reading arrives once, in order, with
// its own tick.
TEST(RecordQueue, TwentyFiveHertzReaderWhileTheWindowThreadIsHeld) {
  InstrumentRecordQueue q;
  constexpr std::uint32_t kReadings = 60;  // 2.4 s
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (std::uint32_t i = 0; i < kReadings; ++i) {
      EXPECT_TRUE(q.push(numbered(i), 10'000u + 40u * i));
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    done.store(true);
  });
  std::this_thread::sleep_for(std::chrono::seconds(2));  // the window thread is busy
  std::vector<std::uint32_t> seen;
  while (!done.load() || q.size() > 0) {
    while (auto r = q.pop()) {
      EXPECT_EQ(r->tick, 10'000u + 40u * number_of(*r));
      seen.push_back(number_of(*r));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  reader.join();
  ASSERT_EQ(seen.size(), kReadings);
  for (std::uint32_t i = 0; i < kReadings; ++i) EXPECT_EQ(seen[i], i);
  EXPECT_EQ(q.take_dropped(), 0u);
}

// Full speed on both sides: whatever is not dropped is taken once, in order,
// never torn (the text always matches its tick).
TEST(RecordQueue, ConcurrentFullSpeedNeitherDuplicatesNorTears) {
  RecordQueue<64> q;
  constexpr std::uint32_t kRecords = 200'000;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (std::uint32_t i = 0; i < kRecords; ++i) q.push(numbered(i), i);
    done.store(true);
  });
  std::uint32_t taken = 0;
  std::int64_t last = -1;
  bool ordered = true, whole = true;
  while (!done.load() || q.size() > 0) {
    if (auto r = q.pop()) {
      const std::uint32_t n = number_of(*r);
      ordered = ordered && static_cast<std::int64_t>(n) > last;
      whole = whole && n == r->tick;
      last = n;
      ++taken;
    }
  }
  reader.join();
  EXPECT_TRUE(ordered);
  EXPECT_TRUE(whole);
  EXPECT_EQ(taken + q.take_dropped(), kRecords);
}

TEST(RecordQueue, DroppedRemarkFitsTheRemarkField) {
  EXPECT_EQ(dropped_readings_remark(7), "Lost      7");
  EXPECT_EQ(dropped_readings_remark(123456789), "Lost 999999");
  EXPECT_EQ(discarded_readings_remark(12), "Discard  12");
  EXPECT_EQ(discarded_readings_remark(123456), "Discard9999");
}

}  // namespace
}  // namespace quelor
