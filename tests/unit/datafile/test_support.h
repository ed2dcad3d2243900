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

class MemoryFileSystem : public FileSystem {
 public:
  std::optional<std::string> read_file(const std::wstring& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool write_file(const std::wstring& path, std::string_view bytes) override {
    files[path] = std::string(bytes);
    return true;
  }
  bool delete_file(const std::wstring& path) override { return files.erase(path) > 0; }
  bool file_exists(const std::wstring& path) override { return files.count(path) > 0; }
  bool create_directory(const std::wstring& path) override {
    folders.insert(path);
    return true;
  }
  std::map<std::wstring, std::string> files;
  std::set<std::wstring> folders;
};

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
