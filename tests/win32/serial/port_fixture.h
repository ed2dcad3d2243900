#pragma once
// Helpers of the tests that need the pseudo-terminal ports set up by
// tests/e2e/serial_ports.sh: their numbers, the far end of the COM13/COM14
// line, a message-only window that counts reading messages, and a pump.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/readers/reader_shared.h"
#include "platform/win32/serial_line_setup.h"
#include "serial/port_messages.h"

namespace quelor::test {

// COM numbers from QUELOR_SERIAL_PORTS="quiet,responder,line_a,line_b,missing".
struct TestPorts {
  int quiet = 0;
  int responder = 0;
  int line_a = 0;
  int line_b = 0;
  int missing = 0;
  bool present = false;
};

inline TestPorts test_ports() {
  TestPorts p;
  const char* env = std::getenv("QUELOR_SERIAL_PORTS");
  if (env == nullptr) return p;
  int v[5] = {};
  if (std::sscanf(env, "%d,%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3], &v[4]) != 5) return p;
  p = {v[0], v[1], v[2], v[3], v[4], true};
  return p;
}

#define QUELOR_NEED_PORTS(ports)                                        \
  const ::quelor::test::TestPorts ports = ::quelor::test::test_ports(); \
  if (!ports.present) GTEST_SKIP() << "QUELOR_SERIAL_PORTS not set (run by tests/e2e/serial_ports.sh)"

// The messages the test window received, and a snapshot of the shared
// record taken by the handler of each.
struct WindowLog {
  std::map<UINT, int> count;
  std::vector<std::string> records;
  std::vector<std::string> gps;
};

WindowLog& window_log();
HWND test_window();  // message-only window of this thread, created once

// Pumps this thread's messages until `done` or the time-out; true when done.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms);

// The far end of a line: a raw COM handle with instrument line settings.
class FarEnd {
 public:
  explicit FarEnd(int com_number);
  ~FarEnd();
  bool ok() const { return static_cast<bool>(handle_); }
  void write(const std::string& bytes);
  // Reads what arrives within `ms`.
  std::string read_for(DWORD ms);

 private:
  FileHandle handle_;
};

// Operator messages caught instead of shown.
std::vector<PortMessage>& caught_messages();
void catch_messages();

// Resets the shared reader state between tests.
void reset_reader_shared();

}  // namespace quelor::test
