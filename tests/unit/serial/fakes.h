#pragma once
// A fake clock and a scripted serial port: bytes become readable at given
// times; an empty read advances the clock by the port's read time-out.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "io/clock.h"
#include "io/serial_port.h"

namespace quelor::test {

class FakeClock : public Clock {
 public:
  explicit FakeClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t now_ms() override { return now_; }
  void wait_ms(std::uint32_t ms) override { now_ += ms; }
  void advance(std::uint32_t ms) { now_ += ms; }

 private:
  std::uint32_t now_;
};

class ScriptedPort : public SerialPort {
 public:
  struct Arrival {
    std::uint32_t at_ms;
    std::uint8_t byte;
  };

  explicit ScriptedPort(FakeClock& clock, std::uint32_t read_timeout_ms = 10)
      : clock_(clock), timeout_(read_timeout_ms) {}

  // Bytes of `text` readable from `at_ms` on (each 1 ms after the previous).
  void arrive(std::uint32_t at_ms, const std::string& text) {
    for (char c : text) queue_.push_back({at_ms++, static_cast<std::uint8_t>(c)});
  }
  // Bytes that arrive this long after each complete command write.
  // (from the `first`-th command on; 1 = every command)
  void answer_each_command(std::uint32_t delay_ms, const std::string& text, std::size_t first = 1) {
    answer_delay_ = delay_ms;
    answer_ = text;
    answer_from_ = first;
  }
  void break_port() { broken_ = true; }

  int read(std::uint8_t* buffer, std::size_t size) override {
    if (broken_) return -1;
    if (size == 0) return 0;
    ++reads;
    if (!queue_.empty() && queue_.front().at_ms <= clock_.now_ms()) {
      buffer[0] = queue_.front().byte;
      queue_.pop_front();
      return 1;
    }
    clock_.advance(timeout_);
    return 0;
  }

  int write(const std::uint8_t* data, std::size_t size) override {
    if (broken_) return -1;
    written.append(reinterpret_cast<const char*>(data), size);
    write_times.push_back(clock_.now_ms());
    if (!answer_.empty() && written.size() % 2 == 0 && written.size() / 2 >= answer_from_)
      arrive(clock_.now_ms() + answer_delay_, answer_);
    return static_cast<int>(size);
  }

  // Drops the bytes that have arrived; later ones still come.
  void purge() override {
    ++purges;
    while (!queue_.empty() && queue_.front().at_ms <= clock_.now_ms()) queue_.pop_front();
  }

  std::string written;
  std::vector<std::uint32_t> write_times;
  int purges = 0;
  int reads = 0;

 private:
  FakeClock& clock_;
  std::uint32_t timeout_;
  std::deque<Arrival> queue_;
  std::uint32_t answer_delay_ = 0;
  std::string answer_;
  std::size_t answer_from_ = 1;
  bool broken_ = false;
};

}  // namespace quelor::test
