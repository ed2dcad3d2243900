// The GPS reader thread on the COM13/COM14 line and on the quiet COM11:
// forwarding, logging hooks, the reconnection after silence, and closing the
// GPS port while the reader is blocked in a read or in SendMessageW.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "app/readers/gps_reader_thread.h"
#include "app/readers/serial_ports.h"
#include "port_fixture.h"
#include "serial/reading_messages.h"
#include "settings/settings.h"

namespace quelor {
namespace {

using test::FarEnd;
using test::pump_until;
using test::window_log;

struct Logged {
  std::string text;
  char flag;
};
std::mutex g_log_mutex;
std::vector<Logged> g_logged;
std::vector<std::string> g_remarks;
std::atomic<int> g_gps_blanks{0};

std::string with_checksum(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  return "$" + body + "*" + hex;
}

// Eight data bits: under Wine a pseudo-terminal refuses a second
// SetCommState with seven data bits (error 87), which a real port accepts.
Settings pty_gps_settings() {
  Settings s;
  s.gps_data_bits = 1;
  return s;
}

const std::string kGga = with_checksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");

class GpsThread : public ::testing::Test {
 protected:
  void SetUp() override {
    test::reset_reader_shared();
    test::catch_messages();
    std::lock_guard lock(g_log_mutex);
    g_logged.clear();
    g_remarks.clear();
    g_gps_blanks = 0;
    ReaderHooks& h = reader_shared().hooks;
    h.write_gps_sentence.store([](std::string_view text, std::uint32_t, const MarkerSet& m) {
      std::lock_guard guard(g_log_mutex);
      g_logged.push_back({std::string(text), m.flag});
    });
    h.write_remark.store([](std::string_view text) {
      std::lock_guard guard(g_log_mutex);
      g_remarks.emplace_back(text);
    });
    h.blank_gps_fields.store([] { ++g_gps_blanks; });
  }
  void TearDown() override {
    EXPECT_EQ(close_gps_port(), 1);
    HANDLE thread = reader_shared().gps_thread.exchange(nullptr);
    if (thread != nullptr) {
      stop_gps_reader();
      ResumeThread(thread);
      EXPECT_TRUE(wait_thread_end(thread, 2000));
      CloseHandle(thread);
    }
    ReaderHooks& h = reader_shared().hooks;
    h.write_remark.store(nullptr);
    h.blank_gps_fields.store(nullptr);
    test::reset_reader_shared();
    set_port_message_sink(nullptr);
  }

  static GpsThreadSetup setup_on(int com_number) {
    GpsThreadSetup setup;
    setup.port_index = com_number - 1;
    setup.line_settings = gps_line_settings(pty_gps_settings());
    return setup;
  }
  static bool start_on(int com_number) {
    if (open_gps_port_at(com_number - 1, gps_line_settings(pty_gps_settings())) != 1) {
      for (const PortMessage& m : test::caught_messages())
        ADD_FAILURE() << m.title << ": " << (m.lines.empty() ? "" : m.lines[0]);
      return false;
    }
    if (create_gps_reader(setup_on(com_number)) == nullptr) return false;
    resume_gps_reader();
    return true;
  }
  // Closes and checks that the reader thread ended and the port is closed.
  static DWORD timed_close() {
    const DWORD start = GetTickCount();
    EXPECT_EQ(close_gps_port(), 1);
    const DWORD spent = GetTickCount() - start;
    EXPECT_EQ(reader_shared().gps_thread.load(), nullptr);
    EXPECT_EQ(reader_shared().gps_reader_state.load(), kReaderFinished);
    EXPECT_FALSE(port_handle_valid(reader_shared().gps_port.load()));
    EXPECT_EQ(reader_shared().gps_port_closing.load(), 0);
    EXPECT_TRUE(test::caught_messages().empty());
    return spent;
  }
};

TEST_F(GpsThread, ForwardsThePositionSentenceAndLogsIt) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  reader_shared().survey.logging.store(true);
  ASSERT_TRUE(start_on(ports.line_a));
  remote.write(kGga + "\r\n");
  ASSERT_TRUE(pump_until([] { return window_log().count[WM_GPS_POSITION] == 1; }, 3000));
  EXPECT_EQ(window_log().gps.back(), kGga);
  EXPECT_EQ(gps_sentence().text(), kGga);
  remote.write("$GPGGA,bad*00\r\n");
  ASSERT_TRUE(pump_until(
      [] {
        std::lock_guard lock(g_log_mutex);
        return g_logged.size() == 2;
      },
      3000));
  {
    std::lock_guard lock(g_log_mutex);
    EXPECT_EQ(g_logged[0].text, kGga);
    EXPECT_EQ(g_logged[0].flag, 0x70);  // forwarded position sentence
    EXPECT_EQ(g_logged[1].text, "$GPGGA,bad*00");
    EXPECT_EQ(g_logged[1].flag, 0x20);
  }
  EXPECT_EQ(window_log().count[WM_GPS_POSITION], 1);
  EXPECT_LT(timed_close(), 1000u);
}

TEST_F(GpsThread, ClosingWhileTheReaderIsBlockedInARead) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_TRUE(start_on(ports.quiet));
  ASSERT_TRUE(pump_until([] { return reader_shared().gps_reader_state.load() == kReaderRunning; }, 2000));
  Sleep(200);
  // A blocked read ends at its 50 ms time-out; the reader then sees its stop.
  EXPECT_LT(timed_close(), 1000u);
}

TEST_F(GpsThread, ClosingWhileTheReaderWaitsInSendMessage) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_TRUE(start_on(ports.line_a));
  remote.write(kGga + "\r\n");
  Sleep(500);  // no pumping: the reader now waits in SendMessageW for this thread
  EXPECT_EQ(window_log().count[WM_GPS_POSITION], 0);
  EXPECT_LT(timed_close(), 2000u);
  EXPECT_EQ(window_log().count[WM_GPS_POSITION], 1);  // handled during the close
}

TEST_F(GpsThread, ClosingAReaderThatWasNeverResumed) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_gps_port_at(ports.quiet - 1, gps_line_settings(pty_gps_settings())), 1);
  ASSERT_NE(create_gps_reader(setup_on(ports.quiet)), nullptr);
  EXPECT_LT(timed_close(), 1000u);
}

TEST_F(GpsThread, SilentReceiverIsReconnected) {
  QUELOR_NEED_PORTS(ports);
  reader_shared().survey.logging.store(true);
  ASSERT_TRUE(start_on(ports.quiet));
  Sleep(2500);
  EXPECT_EQ(g_gps_blanks.load(), 0);
  ASSERT_TRUE(pump_until([] { return g_gps_blanks.load() == 1; }, 2000));
  ASSERT_TRUE(pump_until([] { return port_handle_valid(reader_shared().gps_port.load()); }, 1000));
  {
    std::lock_guard lock(g_log_mutex);
    ASSERT_EQ(g_remarks.size(), 1u);
    EXPECT_EQ(g_remarks[0], "GPS CONN BRK");
  }
  EXPECT_EQ(reader_shared().gps_reader_state.load(), kReaderRunning);
  EXPECT_LT(timed_close(), 1000u);
}

}  // namespace
}  // namespace quelor
