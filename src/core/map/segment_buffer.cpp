#include "map/segment_buffer.h"

#include <algorithm>

namespace quelor {

namespace {
constexpr int kHighestClass = 49;
int clamp_class(int c) { return std::clamp(c, 0, kHighestClass); }
}  // namespace

void segment_reset(SegmentBuffer& b) { b = SegmentBuffer{}; }

void segment_start(SegmentBuffer& b) {
  b.filling = true;
  b.count = 0;
}

bool segment_push(SegmentBuffer& b, int entry) {
  if (!b.filling || b.count < 0 || b.count >= kSegmentRowLength) return false;
  b.rows[static_cast<std::size_t>(b.row & 1)][static_cast<std::size_t>(b.count++)] = entry;
  return true;
}

void segment_swap(SegmentBuffer& b) {
  b.closed_count = std::clamp(b.count, 0, kSegmentRowLength);
  b.row = 1 - (b.row & 1);
  b.count = 0;
}

std::span<const int> segment_closed_row(const SegmentBuffer& b) {
  const auto& closed = b.rows[static_cast<std::size_t>(1 - (b.row & 1))];
  return {closed.data(), static_cast<std::size_t>(std::clamp(b.closed_count, 0, kSegmentRowLength))};
}

int segment_pair_entry(int first_class, int second_class) {
  return clamp_class(second_class) * kSegmentPairShift + clamp_class(first_class);
}

int segment_first_class(int entry) { return clamp_class(entry < 0 ? 0 : entry % kSegmentPairShift); }

int segment_second_class(int entry) { return clamp_class(entry < 0 ? 0 : entry / kSegmentPairShift); }

}  // namespace quelor
