#include "map/segment_buffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelor {
namespace {

std::vector<int> closed(const SegmentBuffer& b) {
  const auto row = segment_closed_row(b);
  return {row.begin(), row.end()};
}

TEST(SegmentBuffer, RowsSwapAtEachFixAndKeepTheClosedEntries) {
  SegmentBuffer b;
  EXPECT_FALSE(segment_push(b, 3));  // not filling before the first fix
  segment_start(b);
  for (int c : {1, 2, 3}) EXPECT_TRUE(segment_push(b, c));
  segment_swap(b);
  EXPECT_EQ(closed(b), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(segment_push(b, 9));  // into the other row; the closed one stays
  EXPECT_EQ(closed(b), (std::vector<int>{1, 2, 3}));
  segment_swap(b);
  EXPECT_EQ(closed(b), (std::vector<int>{9}));
  segment_swap(b);  // a segment without readings
  EXPECT_TRUE(closed(b).empty());
  segment_reset(b);
  EXPECT_FALSE(b.filling);
  EXPECT_TRUE(closed(b).empty());
}

TEST(SegmentBuffer, AFullRowDropsFurtherReadings) {
  SegmentBuffer b;
  segment_start(b);
  for (int i = 0; i < kSegmentRowLength; ++i) ASSERT_TRUE(segment_push(b, i % 50));
  EXPECT_FALSE(segment_push(b, 7));
  segment_swap(b);
  const auto row = segment_closed_row(b);
  ASSERT_EQ(row.size(), static_cast<std::size_t>(kSegmentRowLength));
  EXPECT_EQ(row.back(), (kSegmentRowLength - 1) % 50);
}

TEST(SegmentBuffer, PairEntriesPackTheSecondClassTimes64) {
  struct Case {
    int first, second, entry;
  };
  for (const Case& c :
       {Case{0, 0, 0}, Case{49, 0, 49}, Case{0, 49, 49 * 64}, Case{12, 30, 30 * 64 + 12}, Case{-5, 80, 49 * 64}}) {
    const int e = segment_pair_entry(c.first, c.second);
    EXPECT_EQ(e, c.entry);
    EXPECT_EQ(segment_first_class(e), std::clamp(c.first, 0, 49));
    EXPECT_EQ(segment_second_class(e), std::clamp(c.second, 0, 49));
  }
  // Every class read from an entry indexes one of the 50 colour pens.
  for (int e : {-1, 63, 64 * 63 + 63, 1 << 20}) {
    EXPECT_GE(segment_first_class(e), 0);
    EXPECT_LE(segment_first_class(e), 49);
    EXPECT_LE(segment_second_class(e), 49);
  }
}

}  // namespace
}  // namespace quelor
