#pragma once
// The hand-over of instrument records from one reader thread to the window
// thread: a bounded single-producer, single-consumer ring of records, each
// with its own arrival tick. The reader never waits: when the ring is full
// the record is dropped and counted, and the window thread reports the count
// once. The window thread takes each record exactly once, oldest first. A
// reader suspended in the middle of a push blocks nobody: the record is
// visible only after its slot is complete.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "serial/record_bytes.h"

namespace quelor {

// One record as the reader framed it and when it arrived.
struct QueuedRecord {
  RecordBytes record;
  std::uint32_t tick = 0;
};

template <std::size_t Capacity>
class RecordQueue {
  static_assert(Capacity >= 2, "a ring needs room");

 public:
  // Reader side. False when the ring is full: the record is counted as dropped.
  bool push(const RecordBytes& record, std::uint32_t tick) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t head = head_.load(std::memory_order_acquire);
    if (tail - head >= Capacity) {
      dropped_.fetch_add(1, std::memory_order_relaxed);
      return false;
    }
    QueuedRecord& slot = slots_[tail % Capacity];
    slot.record = record;
    slot.tick = tick;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Window-thread side: the oldest record not yet taken.
  std::optional<QueuedRecord> pop() {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return std::nullopt;
    QueuedRecord out = slots_[head % Capacity];
    head_.store(head + 1, std::memory_order_release);
    return out;
  }

  // Records dropped since the last call (the window thread reports them).
  std::uint32_t take_dropped() { return dropped_.exchange(0, std::memory_order_relaxed); }

  // Records waiting.
  std::size_t size() const { return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire); }

  // Window-thread side: forgets what waits (a new survey, a purged port).
  void clear() { head_.store(tail_.load(std::memory_order_acquire), std::memory_order_release); }

  static constexpr std::size_t capacity() { return Capacity; }

 private:
  std::array<QueuedRecord, Capacity> slots_{};
  alignas(64) std::atomic<std::size_t> head_{0};  // next to take (window thread)
  alignas(64) std::atomic<std::size_t> tail_{0};  // next to fill (reader)
  std::atomic<std::uint32_t> dropped_{0};
};

// A few hundred readings: over ten seconds of the fastest instrument.
inline constexpr std::size_t kInstrumentQueueCapacity = 512;
using InstrumentRecordQueue = RecordQueue<kInstrumentQueueCapacity>;

// The remark written once for readings dropped while the window thread was
// held: "Lost" and the count, 11 characters.
std::string dropped_readings_remark(std::uint32_t dropped);

// The remark written once for readings discarded while a box was open (no
// reading is handled then): "Discard" and the count, 11 characters.
std::string discarded_readings_remark(std::uint32_t discarded);

}  // namespace quelor
