// Built and run under ThreadSanitizer only (preset tsan): the GPS reader on a
// thread of its own, as the program runs it, while the window thread pauses
// and resumes it, takes the Manual copies, asks for records and ends it. The
// sanitizer checks every hand-over between the two threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "gps/reader.h"
#include "reader_fakes.h"
#include "test_sentences.h"

namespace quelor {
namespace {

TEST(GpsReaderRace, WindowThreadPausesTakesAsksAndEndsTheReader) {
  const std::string stream = testing::nmea("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\n" +
                             testing::nmea("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\r\n";
  testing::FakeClock clock;
  testing::FakeHost host;
  host.status.logging = true;
  host.status.survey_mode = kSurveyModeManual;
  std::atomic<int> reads{0};
  host.fake_port.on_read = [&] {  // an endless stream, purged on every resume
    reads.fetch_add(1);
    if (host.fake_port.bytes.empty()) host.fake_port.push(stream);
  };
  GpsReaderControl control;
  ManualGpsBuffers manual;
  GpsReaderState reader = make_gps_reader(GpsReaderConfig{});
  control.run.store(1);
  std::thread thread([&] { run_gps_reader(reader, control, host, clock, &manual); });
  std::size_t taken = 0;
  // The schedule below starts once the reader reads (a thread started late
  // would meet a paused reader first, and the fake clock never resumes it).
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; reads.load() < 20 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10); ++i) {
    if (manual.take_pending().position.pending) ++taken;
    if (i % 5 == 0) manual.request_record();
    std::this_thread::yield();
  }
  for (int i = 0; i < 3000; ++i) {
    if (i % 1000 == 300) control.paused.store(true);
    if (i % 1000 == 600) control.paused.store(false);
    if (manual.take_pending().position.pending) ++taken;
    if (i % 5 == 0) manual.request_record();
    std::this_thread::yield();
  }
  // A reader thread the scheduler kept waiting may have had no turn yet:
  // it reads on (unpaused, asked for records) until something is taken or
  // it has read a while longer.
  const int resumed_at = reads.load();
  const auto settle = std::chrono::steady_clock::now();
  while (taken == 0 && reads.load() < resumed_at + 20 &&
         std::chrono::steady_clock::now() - settle < std::chrono::seconds(10)) {
    if (manual.take_pending().position.pending) ++taken;
    manual.request_record();
    std::this_thread::yield();
  }
  control.run.store(0);
  thread.join();
  EXPECT_EQ(control.state.load(), kGpsReaderEnded);
  EXPECT_GT(taken + host.written.size(), 0u);  // positions went through one hand-over or the other
}

}  // namespace
}  // namespace quelor
