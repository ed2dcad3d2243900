#include "serial/instrument_command.h"

#include <array>

namespace quelor {

namespace {

constexpr int kAttempts = 3;
constexpr std::uint32_t kWindowMs = 1000;

// Answer watcher: "O" arms; armed "K" -> 1, armed "V" -> 0; an unarmed
// "K"/"V" is ignored; other bytes change nothing. -1 while no answer.
struct AnswerWatch {
  bool armed = false;
};

int watch_byte(AnswerWatch& w, std::uint8_t byte) {
  if (byte == 'O') {
    w.armed = true;
  } else if (byte == 'K' || byte == 'V') {
    if (w.armed) return byte == 'K' ? 1 : 0;
    w.armed = false;
  }
  return -1;
}

// One attempt: write both bytes, then watch one window. -1 without answer.
int one_attempt(SerialPort& port, Clock& clock, std::uint8_t first, std::uint8_t second) {
  port.write(&first, 1);
  clock.wait_ms(40);
  port.write(&second, 1);
  const std::uint32_t start = clock.now_ms();
  AnswerWatch watch;
  while (elapsed_ms(start, clock.now_ms()) < kWindowMs) {
    std::uint8_t byte = 0;
    const int got = port.read(&byte, 1);
    if (got < 0) return -1;  // broken port: no answer in this window
    if (got != 1) continue;
    const int answer = watch_byte(watch, byte);
    if (answer >= 0) return answer;
  }
  return -1;
}

}  // namespace

int send_instrument_command(SerialPort& port, Clock& clock, std::uint8_t first, std::uint8_t second, int reopen_flag,
                            const ReopenInstrumentPort& reopen, int& instrument_answer) {
  SerialPort* target = &port;
  if (reopen_flag > 0) {
    if (reopen.close) reopen.close();
    clock.wait_ms(70);
    target = reopen.open ? reopen.open() : nullptr;
    clock.wait_ms(70);
    if (target == nullptr) return 0;  // nothing to talk to
  }
  target->purge();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int answer = one_attempt(*target, clock, first, second);
    if (answer >= 0) {
      instrument_answer = answer;
      return 1;
    }
  }
  return 0;
}

std::string tilt_rate_command(int rate_index) {
  static constexpr std::array<const char*, 5> kRates{"1", "2", "5", "10", "20"};
  if (rate_index < 0 || rate_index >= static_cast<int>(kRates.size())) return {};
  return std::string("[1D") + kRates[static_cast<std::size_t>(rate_index)] + "\r";
}

int set_tilt_output_rate(SerialPort& port, int rate_index) {
  const std::string command = tilt_rate_command(rate_index);
  if (command.empty()) return 0;
  // A streaming meter's sentences that came before the command would end
  // the read at their line feed, before the answer.
  port.purge();
  port.write(reinterpret_cast<const std::uint8_t*>(command.data()), command.size());
  std::string answer;
  for (int i = 0; i < 40; ++i) {
    std::uint8_t byte = 0;
    const int got = port.read(&byte, 1);
    if (got < 0) break;
    if (got != 1) continue;
    answer += static_cast<char>(byte);
    if (byte == '\n') break;
  }
  return answer.find(">New Output Data Rate") != std::string::npos ? 1 : 0;
}

}  // namespace quelor
