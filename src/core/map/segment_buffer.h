#pragma once
// The colour classes of the readings between two GPS fixes. The reading
// handlers push one entry per logged reading into the row being filled; at
// each fix the rows swap and the painter draws the closed row as the strip
// between the previous footprint and the new one.

#include <array>
#include <span>

namespace quelor {

inline constexpr int kSegmentRowLength = 500;
inline constexpr int kSegmentPairShift = 64;  // two-value entries: second × 64 + first

struct SegmentBuffer {
  std::array<std::array<int, kSegmentRowLength>, 2> rows{};
  int row = 0;           // the row being filled
  int count = 0;         // entries in the row being filled
  int closed_count = 0;  // entries of the row closed by the last swap
  bool filling = false;  // entries are taken only while filling
};

// Both rows empty, not filling (start of logging).
void segment_reset(SegmentBuffer& b);

// Starts filling the current row from its first entry.
void segment_start(SegmentBuffer& b);

// Appends one entry while filling; false when not filling or the row is full
// (a reading beyond 500 per segment is not mapped).
bool segment_push(SegmentBuffer& b, int entry);

// Closes the row being filled and continues in the other one.
void segment_swap(SegmentBuffer& b);

// The entries of the row closed by the last swap (empty: nothing to draw).
std::span<const int> segment_closed_row(const SegmentBuffer& b);

// Entry of a two-value reading (two sensors, or the CS-21's two values).
int segment_pair_entry(int first_class, int second_class);

// The classes of an entry, each clamped to 0..49 (a one-value entry has its
// class as the first and 0 as the second).
int segment_first_class(int entry);
int segment_second_class(int entry);

}  // namespace quelor
