// Scripted sessions through real pseudo-terminals: the simulator's event loop
// runs in a thread, the test opens the program's side of the link and talks
// to it with the program's own command exchange and framers.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "devsim/event_loop.h"
#include "devsim/nmea_sentence.h"
#include "devsim/options.h"
#include "devsim/pty_link.h"
#include "devsim/simulator.h"
#include "io/clock.h"
#include "io/serial_port.h"
#include "serial/instrument_command.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

class SteadyClock : public Clock {
 public:
  std::uint32_t now_ms() override {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
  }
  void wait_ms(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// The program's side of a link, with a read time-out like a COM port's.
class PtyPort : public SerialPort {
 public:
  explicit PtyPort(const std::string& path, int timeout_ms = 20)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)), timeout_ms_(timeout_ms) {}
  ~PtyPort() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool is_open() const { return fd_ >= 0; }
  int read(std::uint8_t* buffer, std::size_t size) override {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeout_ms_) <= 0) return 0;
    const ssize_t n = ::read(fd_, buffer, size);
    return n < 0 ? 0 : static_cast<int>(n);
  }
  int write(const std::uint8_t* data, std::size_t size) override { return static_cast<int>(::write(fd_, data, size)); }
  void purge() override {
    std::uint8_t junk[512];
    while (::read(fd_, junk, sizeof junk) > 0) {
    }
  }
  // The other side went away (the simulator unplugged the link).
  bool hung_up() const {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
  }
  // Everything that arrives within `ms` milliseconds.
  std::string collect(int ms) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::uint8_t buf[512];
    while (std::chrono::steady_clock::now() < end) {
      const int n = read(buf, sizeof buf);
      out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
    }
    return out;
  }

 private:
  int fd_;
  int timeout_ms_;
};

class PtySession : public ::testing::Test {
 protected:
  void start(std::vector<std::string_view> args) {
    char templ[] = "/tmp/devsim-test-XXXXXX";
    ASSERT_NE(::mkdtemp(templ), nullptr);
    dir_ = templ;
    const OptionsParse p = parse_options(args);
    ASSERT_TRUE(p.error.empty()) << p.error;
    sim_ = make_simulator(p.options, 5, 40000);
    const char* names[3] = {"instrument", "gps", "tilt"};
    for (std::size_t i = 0; i < 3; ++i) {
      if (!device_enabled(sim_, static_cast<Device>(i))) continue;
      ASSERT_EQ(open_pty_link(links_[i], dir_ + "/" + names[i]), "");
      io_.links[i] = &links_[i];
    }
    io_.out = std::tmpfile();
    io_.stop = &stop_;
    thread_ = std::thread([this] { run_loop(sim_, io_); });
  }
  void TearDown() override {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (PtyLink& l : links_) close_pty_link(l);
    if (io_.out) std::fclose(io_.out);
    if (!dir_.empty()) ::rmdir(dir_.c_str());
  }
  std::string path(const char* name) const { return dir_ + "/" + name; }

  std::string dir_;
  Simulator sim_;
  std::array<PtyLink, 3> links_;
  LoopIo io_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  SteadyClock clock_;
};

TEST_F(PtySession, Em61AnswersHXWithOKAndThenStreams) {
  start({"--instrument", "em61mk2", "--gps", "gga"});
  PtyPort port(path("instrument"));
  ASSERT_TRUE(port.is_open());
  EXPECT_EQ(port.collect(300), "");  // silent before the handshake
  int answer = -1;
  EXPECT_EQ(send_instrument_command(port, clock_, 'H', 'X', 0, {}, answer), 1);
  EXPECT_EQ(answer, 1);  // "OK"
  const std::string stream = port.collect(600);
  const auto records = testing::frame_stream(kEm61Mk2, {}, stream);
  EXPECT_GE(records.size(), 4u);
  for (const RecordBytes& r : records) EXPECT_EQ(r.bytes[0], 'T');
}

TEST_F(PtySession, ThePortMayBeClosedAndOpenedAgain) {
  start({"--instrument", "em31mk2", "--gps", "gga", "--gps-rate", "20"});
  for (int round = 0; round < 3; ++round) {
    {
      PtyPort port(path("instrument"));
      ASSERT_TRUE(port.is_open());
      const auto records = testing::frame_stream(kEm31Mk2, {}, port.collect(400));
      EXPECT_GE(records.size(), 2u) << "round " << round;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // nobody listens: output is dropped
    PtyPort gps(path("gps"));
    const std::string first = gps.collect(15);
    EXPECT_LT(first.size(), 3u * 80u) << "stale sentences were kept";
  }
  // The simulator is still running.
  PtyPort gps(path("gps"));
  const std::string text = gps.collect(400);
  EXPECT_NE(text.find("$GPGGA"), std::string::npos);
  EXPECT_TRUE(has_valid_checksum(text.substr(text.find("$GPGGA"))));
}

std::string link_target(const std::string& path) {
  char target[256] = {};
  const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
  return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

void control_line(const std::string& fifo, const std::string& line) {
  const int w = ::open(fifo.c_str(), O_WRONLY);
  ASSERT_GE(w, 0);
  const std::string text = line + "\n";
  ASSERT_EQ(::write(w, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ::close(w);
}

// A Bluetooth port that vanishes and comes back: the link path is gone while
// unplugged, the port held open sees a hang-up, and after the plug the same
// path leads to a new pty that streams again; both with a time and on command.
TEST_F(PtySession, UnplugAndPlugKeepTheLinkPath) {
  char templ[] = "/tmp/devsim-fifo-XXXXXX";
  ASSERT_NE(::mkdtemp(templ), nullptr);
  const std::string fifo = std::string(templ) + "/control";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  io_.control_fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(io_.control_fd, 0);
  start({"--instrument", "em31mk2", "--gps", "gga"});
  const std::string link = path("instrument");
  const std::string first_pty = link_target(link);
  ASSERT_FALSE(first_pty.empty());
  PtyPort before(link);
  ASSERT_TRUE(before.is_open());
  EXPECT_GE(testing::frame_stream(kEm31Mk2, {}, before.collect(400)).size(), 2u);

  control_line(fifo, "unplug instrument 0.8");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  struct stat st {};
  EXPECT_NE(::lstat(link.c_str(), &st), 0) << "the link stays while unplugged";
  EXPECT_TRUE(before.hung_up());
  EXPECT_EQ(before.collect(100), "");
  EXPECT_FALSE(PtyPort(link).is_open());
  EXPECT_NE(::lstat(path("gps").c_str(), &st), -1) << "the other devices stay";

  std::this_thread::sleep_for(std::chrono::milliseconds(900));
  const std::string second_pty = link_target(link);
  ASSERT_FALSE(second_pty.empty()) << "no link after the unplug time";
  EXPECT_NE(second_pty, first_pty);  // the old pty is still held open above
  {
    PtyPort after(link);
    ASSERT_TRUE(after.is_open());
    EXPECT_GE(testing::frame_stream(kEm31Mk2, {}, after.collect(400)).size(), 2u);
  }
  EXPECT_EQ(before.collect(100), "") << "nothing reaches the old pty";

  control_line(fifo, "unplug instrument");
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_NE(::lstat(link.c_str(), &st), 0) << "an unplug without a time lasts until plug";
  control_line(fifo, "plug instrument");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  PtyPort again(link);
  ASSERT_TRUE(again.is_open());
  EXPECT_GE(testing::frame_stream(kEm31Mk2, {}, again.collect(400)).size(), 2u);

  stop_ = true;
  thread_.join();
  ::close(io_.control_fd);
  ::unlink(fifo.c_str());
  ::rmdir(templ);
}

TEST_F(PtySession, TiltMeterConfirmsTheRateCommand) {
  start({"--no-instrument", "--no-gps", "--tilt", "--tilt-rate", "0"});
  PtyPort port(path("tilt"), 10);
  ASSERT_TRUE(port.is_open());
  EXPECT_NE(set_tilt_output_rate(port, 4), 0);
  const std::string text = port.collect(1000);
  std::size_t sentences = 0;
  for (std::size_t at = text.find("$PTLT"); at != std::string::npos; at = text.find("$PTLT", at + 1)) ++sentences;
  EXPECT_GE(sentences, 8u);  // 20 Hz now; 1 Hz before (a loaded machine delivers fewer than 20)
}

TEST_F(PtySession, ControlFifoDrivesTheRun) {
  char templ[] = "/tmp/devsim-fifo-XXXXXX";
  ASSERT_NE(::mkdtemp(templ), nullptr);
  const std::string fifo = std::string(templ) + "/control";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  io_.control_fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(io_.control_fd, 0);
  start({"--instrument", "em38mk2", "--gps", "gga"});
  PtyPort port(path("instrument"));
  port.collect(200);
  {
    const int w = ::open(fifo.c_str(), O_WRONLY);
    const std::string lines = "silence instrument 0.6\n";
    ASSERT_EQ(::write(w, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    ::close(w);  // the writer going away does not end the control input
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  port.purge();
  EXPECT_LT(port.collect(300).size(), 20u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GE(testing::frame_stream(kEm38Mk2, {}, port.collect(500)).size(), 5u);
  {
    const int w = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_EQ(::write(w, "quit\n", 5), 5);
    ::close(w);
  }
  thread_.join();  // quit ends the loop
  EXPECT_TRUE(sim_.quit);
  ::close(io_.control_fd);
  ::unlink(fifo.c_str());
  ::rmdir(templ);
}

}  // namespace
}  // namespace quelor::devsim
