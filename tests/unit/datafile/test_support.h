#pragma once
// Fakes shared by the data-file tests: fixed clocks, a file system in memory,
// a scripted save dialog and a message recorder.

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "datafile/create_data_file.h"
#include "datafile/local_time.h"
#include "datafile/message_box.h"
#include "io/clock.h"
#include "io/file_system.h"
#include "../support/memory_file_system.h"

namespace quelor::testing_support {

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::uint32_t start = 1000000) : now(start) {}
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now;
};

class FixedLocalTime : public LocalTimeSource {
 public:
  explicit FixedLocalTime(LocalTime t) : time(t) {}
  LocalTime local_time() override { return time; }
  LocalTime time;
};

inline LocalTime march_7_2025() { return LocalTime{2025, 3, 7, 14, 5, 9, 250}; }

class RecordingMessageBox : public MessageBox {
 public:
  int show(const OperatorMessage& m) override {
    shown.push_back(m);
    return 1;
  }
  std::vector<OperatorMessage> shown;
};

class ScriptedChooser : public SaveFileChooser {
 public:
  std::optional<std::wstring> choose(const SaveDialogRequest& r) override {
    requests.push_back(r);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<std::optional<std::wstring>> answers;
  std::vector<SaveDialogRequest> requests;
};

}  // namespace quelor::testing_support
