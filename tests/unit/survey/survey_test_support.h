#pragma once
// Helpers of the survey tests: scripted operator answers, instrument records
// and NMEA sentences with correct checksums.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "datafile/message_box.h"
#include "gps/checksum.h"

namespace quelor::survey_testing {

// Answers questions from a script (1 yes/OK, 0 no/cancel) and keeps what it was shown.
class ScriptedMessages : public MessageBox {
 public:
  explicit ScriptedMessages(std::deque<int> answers = {}) : answers_(std::move(answers)) {}
  int show(const OperatorMessage& message) override {
    shown.push_back(message);
    if (answers_.empty()) return 1;
    const int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::vector<OperatorMessage> shown;

 private:
  std::deque<int> answers_;
};

// A "T" record: 'T', status byte, two five-character values.
inline std::string t_record(std::uint8_t status, int first, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "T%c%+05d%+05d", static_cast<char>(status), first, second);
  return text;
}

inline std::span<const std::uint8_t> bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

inline std::string nmea(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", nmea_checksum(body));
  return body + buf;
}

// "ddmm.mmmmmm" / "dddmm.mmmmmm" of an absolute value in degrees.
inline std::string nmea_angle(double degrees, int degree_digits) {
  const double a = std::fabs(degrees);
  const int d = static_cast<int>(a);
  const double minutes = (a - d) * 60.0;
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%09.6f", degree_digits, d, minutes);
  return text;
}

// A GGA sentence at a time of day in seconds.
inline std::string gga(double latitude, double longitude, double seconds, int quality = 4, int satellites = 12,
                       double hdop = 0.8) {
  const int s = static_cast<int>(seconds);
  char time[32];
  std::snprintf(time, sizeof time, "%02d%02d%05.2f", s / 3600, (s / 60) % 60, std::fmod(seconds, 60.0));
  char tail[96];
  std::snprintf(tail, sizeof tail, ",%d,%02d,%.1f,545.4,M,46.9,M,,", quality, satellites, hdop);
  const std::string body = std::string("$GPGGA,") + time + "," + nmea_angle(latitude, 2) + "," +
                           (latitude < 0 ? "S" : "N") + "," + nmea_angle(longitude, 3) + "," +
                           (longitude < 0 ? "W" : "E") + tail;
  return nmea(body);
}

}  // namespace quelor::survey_testing

// Fakes of the data-file step: clocks, a file system in memory and a save dialog.
#include <map>
#include <optional>
#include <set>

#include "datafile/create_data_file.h"
#include "io/clock.h"
#include "io/file_system.h"
#include "../support/memory_file_system.h"

namespace quelor::survey_testing {

class StepClock : public Clock {
 public:
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now = 500000;
};

class FixedDay : public LocalTimeSource {
 public:
  LocalTime local_time() override { return time; }
  LocalTime time{2025, 3, 7, 9, 30, 0, 0};
};

using FilesInMemory = testing_support::MemoryFileSystem;

class ChooseName : public SaveFileChooser {
 public:
  explicit ChooseName(std::wstring path) : path_(std::move(path)) {}
  std::optional<std::wstring> choose(const SaveDialogRequest& r) override {
    requests.push_back(r);
    return path_;
  }
  std::vector<SaveDialogRequest> requests;

 private:
  std::wstring path_;
};

}  // namespace quelor::survey_testing
