#pragma once
// The hand-over of the last record from a reader thread to the window
// thread. The reader publishes a complete copy; the handler copies the
// newest complete record out, never a half-written one, and never waits for
// the reader (a reader suspended in the middle of a publish cannot block the
// window thread: it writes the slot that is not published). Two slots, each
// guarded by a sequence number (even = stable); the bytes are atomics so the
// copy is race-free. One writer at a time.

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "serial/record_bytes.h"

namespace quelor {

class RecordSlot {
 public:
  // Writer side.
  void publish(const RecordBytes& record) {
    const int next = published_.load(std::memory_order_relaxed) ^ 1;
    Slot& s = slots_[next];
    const std::uint32_t seq = s.seq.load(std::memory_order_relaxed);
    s.seq.store(seq + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (std::size_t i = 0; i < kWords; ++i) {
      std::uint64_t w = 0;
      std::memcpy(&w, record.bytes.data() + i * 8, 8);
      s.words[i].store(w, std::memory_order_relaxed);
    }
    s.length.store(static_cast<std::uint32_t>(record.length), std::memory_order_relaxed);
    s.seq.store(seq + 2, std::memory_order_release);
    published_.store(next, std::memory_order_release);
    count_.fetch_add(1, std::memory_order_release);
  }

  // Reader side: the newest complete record (empty before the first).
  RecordBytes latest() const {
    RecordBytes out;
    for (;;) {
      const Slot& s = slots_[published_.load(std::memory_order_acquire)];
      const std::uint32_t before = s.seq.load(std::memory_order_acquire);
      if (before & 1u) continue;  // the writer lapped onto this slot: take the other
      for (std::size_t i = 0; i < kWords; ++i) {
        const std::uint64_t w = s.words[i].load(std::memory_order_relaxed);
        std::memcpy(out.bytes.data() + i * 8, &w, 8);
      }
      out.length = s.length.load(std::memory_order_relaxed);
      std::atomic_thread_fence(std::memory_order_acquire);
      if (s.seq.load(std::memory_order_relaxed) == before) break;
    }
    if (out.length >= out.bytes.size()) out.length = out.bytes.size() - 1;
    out.bytes[out.length] = 0;
    return out;
  }

  // Records published so far.
  std::uint32_t count() const { return count_.load(std::memory_order_acquire); }

 private:
  static constexpr std::size_t kWords = kTiltSentenceSize / 8;
  static_assert(sizeof(RecordBytes::bytes) == kWords * 8);

  struct Slot {
    std::atomic<std::uint32_t> seq{0};
    std::array<std::atomic<std::uint64_t>, kWords> words{};
    std::atomic<std::uint32_t> length{0};
  };
  std::array<Slot, 2> slots_{};
  std::atomic<int> published_{0};
  std::atomic<std::uint32_t> count_{0};
};

}  // namespace quelor
