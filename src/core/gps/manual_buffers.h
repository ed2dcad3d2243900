#pragma once
// Manual-mode hand-over of GPS sentences: the reader keeps a copy of the last
// position sentence and of the last GSA sentence with their start ticks; the
// reading handler either takes them itself to write them with a manual
// reading, or asks the reader to write them (the request flag). The reader
// never refills the copies while the handler holds them.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace quelor {

struct HeldSentence {
  std::string text;
  std::uint32_t tick = 0;
  bool pending = false;
};

struct HeldSentences {
  HeldSentence position;
  HeldSentence gsa;
};

class ManualGpsBuffers {
 public:
  // Reader side: copies the sentence and marks it pending, unless the
  // handler holds the buffers at this moment (then false, nothing copied).
  bool offer_position(std::string_view text, std::uint32_t tick);
  bool offer_gsa(std::string_view text, std::uint32_t tick);

  // Handler side: asks the reader to write the pending copies.
  void request_record() { request_.store(true); }
  bool record_requested() const { return request_.load(); }

  // Reader side: when a record is requested and a position copy is pending,
  // takes both copies (the GSA one only when pending), clears the pending
  // marks and the request and returns true.
  bool take_requested(HeldSentences& out);

  // Handler side: takes the pending copies (holding the buffers while it
  // copies) and clears their pending marks.
  HeldSentences take_pending();

 private:
  bool offer(HeldSentence& slot, std::string_view text, std::uint32_t tick);
  void move_pending(HeldSentences& out);

  std::mutex mutex_;
  HeldSentence position_;
  HeldSentence gsa_;
  std::atomic<bool> request_{false};
};

}  // namespace quelor
