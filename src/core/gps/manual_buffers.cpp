#include "gps/manual_buffers.h"

namespace quelor {

bool ManualGpsBuffers::offer(HeldSentence& slot, std::string_view text, std::uint32_t tick) {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  slot.text.assign(text);
  slot.tick = tick;
  slot.pending = true;
  return true;
}

bool ManualGpsBuffers::offer_position(std::string_view text, std::uint32_t tick) {
  return offer(position_, text, tick);
}

bool ManualGpsBuffers::offer_gsa(std::string_view text, std::uint32_t tick) { return offer(gsa_, text, tick); }

void ManualGpsBuffers::move_pending(HeldSentences& out) {
  out = HeldSentences{};
  if (position_.pending) out.position = position_;
  if (gsa_.pending) out.gsa = gsa_;
  position_.pending = false;
  gsa_.pending = false;
}

bool ManualGpsBuffers::take_requested(HeldSentences& out) {
  if (!request_.load()) return false;
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || !position_.pending) return false;
  move_pending(out);
  request_.store(false);
  return true;
}

HeldSentences ManualGpsBuffers::take_pending() {
  std::lock_guard<std::mutex> lock(mutex_);
  HeldSentences out;
  move_pending(out);
  return out;
}

}  // namespace quelor
