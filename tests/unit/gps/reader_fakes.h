#pragma once
// A scripted clock, port and host for the GPS reader tests.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/reader.h"

namespace quelor::testing {

class FakeClock : public Clock {
 public:
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now = 0;
};

struct Written {
  std::string text;
  std::uint32_t tick;
  MarkerSet markers;
};

class FakePort : public SerialPort {
 public:
  int read(std::uint8_t* buffer, std::size_t size) override {
    if (on_read) on_read();
    if (broken) return -1;
    if (bytes.empty() || size == 0) return 0;
    buffer[0] = bytes.front();
    bytes.pop_front();
    return 1;
  }
  int write(const std::uint8_t*, std::size_t size) override { return static_cast<int>(size); }
  void purge() override { bytes.clear(); }
  void push(std::string_view text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

  std::deque<std::uint8_t> bytes;
  bool broken = false;
  std::function<void()> on_read;
};

class FakeHost : public GpsReaderHost {
 public:
  GpsSurveyStatus survey_status() override { return status; }
  void write_sentence(std::string_view text, std::uint32_t tick, const MarkerSet& markers) override {
    written.push_back({std::string(text), tick, markers});
    events.push_back("write");
  }
  void send_position(std::string_view sentence) override {
    positions.emplace_back(sentence);
    events.push_back("position");
    if (on_send) on_send();
  }
  void send_gsa(std::string_view sentence) override {
    gsas.emplace_back(sentence);
    events.push_back("gsa");
  }
  void write_remark(std::string_view text) override { events.push_back("remark " + std::string(text)); }
  void play_sound(std::string_view resource) override { events.push_back("sound " + std::string(resource)); }
  void blank_gps_fields() override { events.push_back("blank"); }
  bool close_port() override {
    events.push_back("close");
    if (close_failures > 0) {
      --close_failures;
      return false;
    }
    port_open = false;
    return true;
  }
  bool reopen_port() override {
    events.push_back("reopen");
    port_open = reopen_succeeds;
    return reopen_succeeds;
  }
  SerialPort* port() override { return port_open ? &fake_port : nullptr; }

  GpsSurveyStatus status;
  std::vector<Written> written;
  std::vector<std::string> positions;
  std::vector<std::string> gsas;
  std::vector<std::string> events;
  int close_failures = 0;
  bool reopen_succeeds = true;
  bool port_open = true;
  FakePort fake_port;
  std::function<void()> on_send;  // the window thread handling the message
};

}  // namespace quelor::testing
