// Seeded fuzzing of everything that reads outside bytes: the instrument's and
// the tilt meter's command input, control lines and the command line; and the
// pty link's bounded queue.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "devsim/control.h"
#include "devsim/instrument_model.h"
#include "devsim/options.h"
#include "devsim/pty_link.h"
#include "devsim/tilt_model.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

std::string random_bytes(std::mt19937_64& rng, std::size_t n, std::string_view alphabet = {}) {
  std::string s;
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t i = 0; i < n; ++i) {
    const int b = byte(rng);
    s += alphabet.empty() ? static_cast<char>(b) : alphabet[static_cast<std::size_t>(b) % alphabet.size()];
  }
  return s;
}

TEST(Fuzz, Em61InputOnlyEverAnswersOkOvOrRecords) {
  InstrumentConfig c;
  c.kind = *find_instrument_kind("em61mk2");
  const WalkPlan plan = testing::test_plan();
  const Site site = testing::test_site(plan);
  std::mt19937_64 rng(2024);
  for (int round = 0; round < 300; ++round) {
    InstrumentState s = initial_instrument_state(c);
    const std::string in = random_bytes(rng, 1 + rng() % 40, round % 2 ? "HXWAKVO\x7F" : "");
    const std::string answer =
        instrument_input(c, s, in, 0.01 * round, site, walk_at_distance(plan, round), 0, nullptr);
    // Framed: every answer byte belongs to "OK", "OV" or a 15-byte record.
    std::size_t i = 0;
    while (i < answer.size()) {
      if (answer.compare(i, 2, "OK") == 0 || answer.compare(i, 2, "OV") == 0) {
        i += 2;
      } else {
        ASSERT_LE(i + 15, answer.size()) << round;
        ASSERT_EQ(answer.substr(i + 13, 2), "\x7F\x7F") << round;
        i += 15;
      }
    }
    EXPECT_LE(s.command.size(), 1u);
  }
}

TEST(Fuzz, TiltInputNeverGrowsWithoutBoundAndAnswersWholeLines) {
  std::mt19937_64 rng(7);
  TiltState s = initial_tilt_state(2);
  for (int round = 0; round < 500; ++round) {
    const std::string in = random_bytes(rng, rng() % 30, round % 3 ? "[1D0125\r" : "");
    const std::string answer = tilt_input(s, in, 0.001 * round);
    EXPECT_LE(s.command.size(), 17u);
    if (!answer.empty()) {
      EXPECT_EQ(answer.back(), '\n');
      EXPECT_EQ(answer.front(), '>');
    }
    EXPECT_TRUE(s.rate_hz == 1 || s.rate_hz == 2 || s.rate_hz == 5 || s.rate_hz == 10 || s.rate_hz == 20);
  }
}

TEST(Fuzz, ControlLinesParseOrExplain) {
  std::mt19937_64 rng(11);
  const std::vector<std::string> words{"trigger", "silence",    "garbage", "badsum", "quality", "gps",
                                       "tilt",    "instrument", "1",       "-1",     "2.5",     "x",
                                       "quit",    "dipole",     "H",       "99999"};
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    if (round % 2) {
      line = random_bytes(rng, rng() % 40);
    } else {
      for (std::size_t n = rng() % 4; n > 0; --n) line += words[rng() % words.size()] + " ";
    }
    const ControlParse p = parse_control_line(line);
    EXPECT_FALSE(p.command.has_value() && !p.error.empty());
  }
}

TEST(Fuzz, CommandLinesParseOrExplain) {
  std::mt19937_64 rng(13);
  const std::vector<std::string> words{"--instrument", "em61mk2", "--gps", "gga",     "--rate", "0",  "1e9",    "nan",
                                       "--origin",     "1,2",     ",",     "--lines", "--seed", "-5", "--tilt", "="};
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::string> args;
    for (std::size_t n = rng() % 8; n > 0; --n) args.push_back(words[rng() % words.size()]);
    std::vector<std::string_view> views(args.begin(), args.end());
    const OptionsParse p = parse_options(views);
    if (p.error.empty() && !p.options.help) {
      EXPECT_GT(p.options.instrument.period_ms, 0.0);
      EXPECT_GE(p.options.gps.rate_hz, 1.0);
    }
  }
}

TEST(PtyLinkQueue, HoldsWholeMessagesUpToItsLimitWhileNobodyReads) {
  char templ[] = "/tmp/devsim-link-XXXXXX";
  ASSERT_NE(::mkdtemp(templ), nullptr);
  PtyLink link;
  ASSERT_EQ(open_pty_link(link, std::string(templ) + "/dev"), "");
  EXPECT_FALSE(slave_is_open(link));
  send(link, "dropped: nobody listens");
  EXPECT_TRUE(link.queue.empty());
  const int slave = ::open((std::string(templ) + "/dev").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(slave, 0);
  EXPECT_TRUE(slave_is_open(link));
  link.open = true;
  const std::string message(1000, 'x');
  for (int i = 0; i < 200; ++i) {
    send(link, message);
    flush(link);
  }
  EXPECT_LE(link.queue.size(), kLinkQueueLimit);
  const std::size_t dropped = link.dropped - 23;  // after the first message
  EXPECT_EQ(dropped % 1000, 0u);                  // whole messages only
  EXPECT_GT(dropped, 0u);
  // The program reads: what was held arrives, in order, uncut.
  std::string got;
  char buf[4096];
  for (int i = 0; i < 200; ++i) {
    flush(link);
    const ssize_t n = ::read(slave, buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<std::size_t>(n));
    if (n <= 0 && link.queue.empty()) break;
  }
  EXPECT_EQ(got.size() + dropped, 200u * 1000u);
  EXPECT_EQ(got.size() % 1000, 0u);
  EXPECT_EQ(got.find_first_not_of('x'), std::string::npos);
  // The program writes; the simulator reads it.
  ASSERT_EQ(::write(slave, "HX", 2), 2);
  EXPECT_EQ(receive(link), "HX");
  ::close(slave);
  EXPECT_FALSE(slave_is_open(link));
  EXPECT_EQ(receive(link), "");  // EIO while nobody has the slave open
  close_pty_link(link);
  EXPECT_NE(::access((std::string(templ) + "/dev").c_str(), F_OK), 0);
  ::rmdir(templ);
}

}  // namespace
}  // namespace quelor::devsim
