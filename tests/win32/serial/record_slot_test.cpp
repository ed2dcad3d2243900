// The record hand-over between a reader thread and the window thread: the
// handler always copies a complete record, never a mix of two.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "app/readers/record_slot.h"

namespace quelor {
namespace {

RecordBytes uniform_record(std::uint8_t value, std::size_t length) {
  RecordBytes r;
  for (std::size_t i = 0; i < length; ++i) r.bytes[i] = value;
  r.bytes[length] = 0;
  r.length = length;
  return r;
}

TEST(RecordSlot, EmptyBeforeTheFirstRecord) {
  RecordSlot slot;
  EXPECT_EQ(slot.latest().length, 0u);
  EXPECT_EQ(slot.count(), 0u);
}

TEST(RecordSlot, LatestIsTheLastPublished) {
  RecordSlot slot;
  slot.publish(uniform_record('a', 12));
  slot.publish(uniform_record('b', 14));
  const RecordBytes r = slot.latest();
  EXPECT_EQ(r.text(), std::string(14, 'b'));
  EXPECT_EQ(r.bytes[14], 0);
  EXPECT_EQ(slot.count(), 2u);
}

TEST(RecordSlot, FullLengthRecordKeepsItsTerminator) {
  RecordSlot slot;
  slot.publish(uniform_record('z', kTiltSentenceSize - 1));
  const RecordBytes r = slot.latest();
  EXPECT_EQ(r.length, kTiltSentenceSize - 1);
  EXPECT_EQ(r.bytes[kTiltSentenceSize - 1], 0);
}

TEST(RecordSlot, ConcurrentCopiesAreNeverTorn) {
  RecordSlot slot;
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (std::uint32_t k = 1; !stop.load(); ++k) {
      const auto value = static_cast<std::uint8_t>(1 + k % 250);
      slot.publish(uniform_record(value, 8 + value % 120));
    }
  });
  int torn = 0;
  int seen = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 1000) {
    const RecordBytes r = slot.latest();
    if (r.length == 0) continue;
    ++seen;
    const std::uint8_t v = r.bytes[0];
    bool ok = r.length == static_cast<std::size_t>(8 + v % 120);
    for (std::size_t i = 0; ok && i < r.length; ++i) ok = r.bytes[i] == v;
    if (!ok) ++torn;
  }
  stop = true;
  writer.join();
  EXPECT_GT(seen, 1000);
  EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace quelor
