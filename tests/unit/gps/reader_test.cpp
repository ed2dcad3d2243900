#include "gps/reader.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "reader_fakes.h"
#include "test_sentences.h"

namespace quelor {
namespace {

using testing::FakeClock;
using testing::FakeHost;
using testing::nmea;

const std::string kGga = nmea("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kGsa = nmea("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
const std::string kGsv = nmea("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");

struct Fixture {
  explicit Fixture(int format = kFormatGga, bool slam = false) {
    GpsReaderConfig config;
    config.format = make_format_table(format, slam);
    reader = make_gps_reader(config);
    gps_reader_begin(reader, control, clock);
  }
  void line(const std::string& text) {
    for (unsigned char c : text + "\r\n") gps_reader_feed(reader, c, host, clock, &manual);
  }
  void logging(int mode = 0) {
    host.status.logging = true;
    host.status.survey_mode = mode;
  }
  FakeClock clock;
  FakeHost host;
  GpsReaderControl control;
  GpsReaderState reader;
  ManualGpsBuffers manual;
};

TEST(GpsReader, GgaEvery500MsIsForwardedEverySecondSentence) {
  Fixture f;
  f.logging();
  f.clock.now = 5000;
  for (int i = 0; i < 8; ++i) {
    f.line(kGga);
    f.clock.now += 500;
  }
  EXPECT_EQ(f.host.positions.size(), 4u);
  ASSERT_EQ(f.host.written.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(f.host.written[i].markers, i % 2 == 0 ? kMarkerSetAp : kMarkerSetA) << i;
    EXPECT_EQ(f.host.written[i].tick, 5000u + 500u * i);
    EXPECT_EQ(f.host.written[i].text, kGga);
  }
  EXPECT_EQ(f.host.positions[0], kGga);
}

TEST(GpsReader, IntervalIsStrictlyMoreThanTheMinimum) {
  Fixture f;
  f.line(kGga);  // first: forwarded
  f.clock.now += 910;
  f.line(kGga);  // exactly 910: not more
  f.clock.now += 1;
  f.line(kGga);  // 911 after the first forwarded one
  EXPECT_EQ(f.host.positions.size(), 2u);
  EXPECT_TRUE(f.host.written.empty());  // not logging
}

TEST(GpsReader, IntervalUsesTheAbsoluteDifferenceOfStartTicks) {
  Fixture f;
  f.clock.now = 0xFFFFFF00u;
  f.line(kGga);
  f.clock.now = 0x00000300u;  // 1024 ms later, across the wrap
  f.line(kGga);
  EXPECT_EQ(f.host.positions.size(), 2u);
  EXPECT_EQ(tick_distance(100, 1100), 1000u);
  EXPECT_EQ(tick_distance(1100, 100), 1000u);
  EXPECT_EQ(tick_distance(0x00000010u, 0xFFFFFFF0u), 0x20u);
}

TEST(GpsReader, PositionWrittenOnlyWhileLoggingAndAcquiring) {
  Fixture f;
  f.logging();
  f.host.status.instrument_connected = false;
  f.line(kGga);
  EXPECT_EQ(f.host.positions.size(), 1u);
  EXPECT_TRUE(f.host.written.empty());
}

TEST(GpsReader, BadChecksumIsLoggedWithMarkerSetQAndNotData) {
  Fixture f;
  f.logging();
  f.clock.now = 1000;
  f.line(kGga);
  std::string broken = kGga;
  broken[10] = '9';
  f.clock.now = 3000;
  f.line(broken);
  f.line("$GPGGA,123519,4807.038,N");  // no checksum
  ASSERT_EQ(f.host.written.size(), 3u);
  EXPECT_EQ(f.host.written[1].markers, kMarkerSetQ);
  EXPECT_EQ(f.host.written[2].markers, kMarkerSetQ);
  EXPECT_EQ(f.host.positions.size(), 1u);
  EXPECT_EQ(f.reader.last_data_tick, 1000u);  // unchanged by rejected lines
  EXPECT_EQ(f.reader.sentence, kGga);
}

TEST(GpsReader, LineWithoutDollarIsLoggedWithQOutsideManual) {
  Fixture f(kFormatPseudoGga);  // even when the checksum is not required
  f.logging();
  f.line("GPGGA,1,2,3,4");
  ASSERT_EQ(f.host.written.size(), 1u);
  EXPECT_EQ(f.host.written[0].markers, kMarkerSetQ);
  EXPECT_EQ(f.host.written[0].text, "GPGGA,1,2,3,4");
  EXPECT_TRUE(f.host.positions.empty());
  Fixture m;
  m.logging(kSurveyModeManual);
  m.line("garbage");
  std::string broken = kGga;
  broken[10] = '9';
  m.line(broken);
  EXPECT_TRUE(m.host.written.empty());
}

TEST(GpsReader, RejectedLinesAreNotLoggedOutsideLogging) {
  Fixture f;
  f.line("garbage");
  f.line("$GPGGA,1*00");
  EXPECT_TRUE(f.host.written.empty());
}

TEST(GpsReader, GsaForwardedOnlyWithGgaGsa) {
  Fixture f(kFormatGgaGsa);
  f.logging();
  f.line(kGsa);
  ASSERT_EQ(f.host.gsas.size(), 1u);
  EXPECT_EQ(f.host.gsas[0], kGsa);
  ASSERT_EQ(f.host.written.size(), 1u);
  EXPECT_EQ(f.host.written[0].markers, kMarkerSetA);
  Fixture g(kFormatGga);
  g.logging();
  g.line(kGsa);
  EXPECT_TRUE(g.host.gsas.empty());
  EXPECT_TRUE(g.host.written.empty());  // checksum required: other sentences dropped
}

TEST(GpsReader, OtherSentencesLoggedWhenTheChecksumIsNotRequired) {
  Fixture f(kFormatPseudoGll);
  f.logging();
  f.line(kGsv);
  f.line("$GPXYZ,no checksum");
  ASSERT_EQ(f.host.written.size(), 2u);
  EXPECT_EQ(f.host.written[0].markers, kMarkerSetA);
  EXPECT_EQ(f.host.written[1].markers, kMarkerSetA);
  EXPECT_TRUE(f.host.positions.empty());
  EXPECT_EQ(f.reader.sentence, "$GPXYZ,nochecksum");
}

TEST(GpsReader, SentenceNameIsSearchedAnywhere) {
  Fixture f(kFormatPos);
  f.line(nmea("$PASHR,POS,0,07,174109.50,3722.36223,N,12159.82741,W,00016.06"));
  f.clock.now += 1000;
  f.line(kGga);
  ASSERT_EQ(f.host.positions.size(), 1u);
  EXPECT_NE(f.host.positions[0].find("POS"), std::string::npos);
}

TEST(GpsReader, OverlongSentenceWrapsAndFailsItsChecksum) {
  Fixture f;
  f.logging();
  f.line(nmea("$GPGGA," + std::string(250, '1')));
  ASSERT_EQ(f.host.written.size(), 1u);
  EXPECT_EQ(f.host.written[0].markers, kMarkerSetQ);
  EXPECT_TRUE(f.host.positions.empty());
}

TEST(GpsReader, ManualModeSendsAtOnceAndKeepsCopies) {
  Fixture f(kFormatGgaGsa);
  f.logging(kSurveyModeManual);
  f.clock.now = 100;
  f.line(kGga);
  f.clock.now = 200;
  f.line(kGga);  // no rate limit in Manual mode
  f.clock.now = 300;
  f.line(kGsa);
  EXPECT_EQ(f.host.positions.size(), 2u);
  EXPECT_EQ(f.host.gsas.size(), 1u);
  EXPECT_TRUE(f.host.written.empty());  // nothing logged until requested
  f.manual.request_record();
  f.clock.now = 400;
  f.line(kGsv);  // any accepted sentence lets the reader write the copies
  ASSERT_EQ(f.host.written.size(), 2u);
  EXPECT_EQ(f.host.written[0].text, kGga);
  EXPECT_EQ(f.host.written[0].tick, 200u);
  EXPECT_EQ(f.host.written[0].markers, kMarkerSetA);
  EXPECT_EQ(f.host.written[1].text, kGsa);
  EXPECT_EQ(f.host.written[1].tick, 300u);
  EXPECT_FALSE(f.manual.record_requested());
  f.line(kGsv);
  EXPECT_EQ(f.host.written.size(), 2u);  // pending marks cleared
}

TEST(GpsReader, ManualRequestWaitsForAPendingPosition) {
  Fixture f(kFormatGgaGsa);
  f.logging(kSurveyModeManual);
  f.manual.request_record();
  f.line(kGsa);
  EXPECT_TRUE(f.host.written.empty());
  EXPECT_TRUE(f.manual.record_requested());
  f.line(kGga);
  ASSERT_EQ(f.host.written.size(), 2u);
  EXPECT_EQ(f.host.written[0].text, kGga);
}

TEST(GpsReader, HandlerTakesThePendingCopiesItself) {
  Fixture f;
  f.logging(kSurveyModeManual);
  f.line(kGga);
  const HeldSentences held = f.manual.take_pending();
  EXPECT_TRUE(held.position.pending);
  EXPECT_EQ(held.position.text, kGga);
  EXPECT_FALSE(held.gsa.pending);
  EXPECT_FALSE(f.manual.take_pending().position.pending);
}

TEST(GpsReader, SilenceOf3000MsRunsTheReconnection) {
  Fixture f;
  f.logging();
  f.clock.now = 3000;
  EXPECT_FALSE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
  f.clock.now = 3001;
  EXPECT_TRUE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
  const std::vector<std::string> expected = {"remark GPS CONN BRK", "sound SOUND_RING", "blank", "close", "reopen"};
  EXPECT_EQ(f.host.events, expected);
  EXPECT_FALSE(f.control.connection_broken.load());
  // The next attempt waits another 3000 ms.
  f.host.events.clear();
  f.clock.now += 3000;
  EXPECT_FALSE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
  f.clock.now += 1;
  EXPECT_TRUE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
}

TEST(GpsReader, ReconnectionOutsideLoggingWithoutSound) {
  Fixture f;
  f.host.status.sound_on = false;
  f.clock.now = 4000;
  f.host.reopen_succeeds = false;
  EXPECT_TRUE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
  const std::vector<std::string> expected = {"blank", "close", "reopen"};
  EXPECT_EQ(f.host.events, expected);
  EXPECT_FALSE(f.control.connection_broken.load());  // cleared whatever the outcome
}

TEST(GpsReader, CloseIsRetriedForUpTo500Ms) {
  Fixture f;
  f.host.status.sound_on = false;
  f.host.close_failures = 1000;
  f.clock.now = 4000;
  gps_reader_check_silence(f.reader, f.control, f.host, f.clock);
  int closes = 0;
  for (const std::string& e : f.host.events) closes += e == "close";
  EXPECT_GE(closes, 2);
  EXPECT_LE(closes, 52);
  EXPECT_GE(f.clock.now, 4500u);
  EXPECT_LE(f.clock.now, 4520u);
  EXPECT_EQ(f.host.events.back(), "reopen");
  Fixture g;
  g.host.status.sound_on = false;
  g.host.close_failures = 3;
  g.clock.now = 4000;
  gps_reader_check_silence(g.reader, g.control, g.host, g.clock);
  const std::vector<std::string> expected = {"blank", "close", "close", "close", "close", "reopen"};
  EXPECT_EQ(g.host.events, expected);
}

TEST(GpsReader, AcceptedSentenceKeepsTheConnection) {
  Fixture f;
  f.clock.now = 2900;
  f.line(kGsv);  // accepted although not forwarded
  f.clock.now = 5800;
  EXPECT_FALSE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock));
}

// A window thread that keeps the reader in its send for 4 s makes no
// silence: the sentences of those 4 s wait in the port, and the wait for the
// next one starts when the send returns.
TEST(GpsReader, TimeBlockedInTheSendIsNoSilence) {
  for (int mode : {0, kSurveyModeManual}) {
    Fixture f;
    f.logging(mode);
    f.clock.now = 1000;
    f.host.on_send = [&] { f.clock.now += 4000; };
    f.line(kGga);
    EXPECT_EQ(f.clock.now, 5000u);
    f.host.on_send = nullptr;
    f.clock.now = 7900;
    EXPECT_FALSE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock)) << mode;
    f.clock.now = 8001;
    EXPECT_TRUE(gps_reader_check_silence(f.reader, f.control, f.host, f.clock)) << mode;  // silence is still seen
  }
}

TEST(GpsReader, LoopRunsUntilTheRunFlagIsCleared) {
  Fixture f;
  f.host.fake_port.push(kGga + "\r\n" + kGsa + "\r\n" + kGga + "\r\n");
  int reads = 0;
  f.host.fake_port.on_read = [&] {
    f.clock.now += 1;
    if (++reads > 400) f.control.run.store(0);
  };
  f.control.run.store(1);
  run_gps_reader(f.reader, f.control, f.host, f.clock, &f.manual);
  EXPECT_EQ(f.control.state.load(), kGpsReaderEnded);
  EXPECT_EQ(f.host.positions.size(), 1u);  // the second GGA came within 910 ms
}

TEST(GpsReader, LoopReconnectsABrokenPort) {
  Fixture f;
  f.host.status.sound_on = false;
  f.host.fake_port.broken = true;
  int reads = 0;
  f.host.fake_port.on_read = [&] {
    if (++reads == 200) f.control.run.store(0);
  };
  f.control.run.store(1);
  run_gps_reader(f.reader, f.control, f.host, f.clock, &f.manual);
  int reopens = 0;
  for (const std::string& e : f.host.events) reopens += e == "reopen";
  EXPECT_GE(reopens, 2);  // every 3000 ms of 50 ms waits
}

TEST(GpsReader, ManualBuffersAreNotRefilledWhileTheHandlerHoldsThem) {
  ManualGpsBuffers buffers;
  EXPECT_TRUE(buffers.offer_position("$A", 1));
  std::atomic<bool> done{false};
  std::thread reader([&] {
    for (int i = 0; i < 2000; ++i) buffers.offer_position("$B" + std::to_string(i), 2);
    done = true;
  });
  while (!done) {
    const HeldSentences held = buffers.take_pending();
    if (held.position.pending) {
      EXPECT_EQ(held.position.text[0], '$');
    }
  }
  reader.join();
}

// An instrument procedure pauses the reader: nothing is read, no break is
// reported however long the pause, and on resume the bytes that piled up are
// purged and the silence wait starts afresh.
TEST(GpsReader, PauseReadsNothingAndResumesWithoutABreak) {
  struct PauseClock : testing::FakeClock {
    void wait_ms(std::uint32_t ms) override {
      now += ms;
      if (++waits == 200) control->paused.store(false);  // 10 s later
    }
    GpsReaderControl* control = nullptr;
    int waits = 0;
  };
  Fixture f;
  PauseClock clock;
  clock.control = &f.control;
  f.host.fake_port.push(kGga + "\r\n");
  int reads = 0;
  f.host.fake_port.on_read = [&] {
    clock.now += 1;
    if (reads++ == 0) {  // the first read comes after the pause
      EXPECT_GE(clock.now, 10000u);
    }
    if (reads == 100) f.control.run.store(0);
  };
  f.control.paused.store(true);
  f.control.run.store(1);
  run_gps_reader(f.reader, f.control, f.host, clock, &f.manual);
  EXPECT_TRUE(f.host.events.empty());  // purged: no sentence, no remark, no reconnection
  EXPECT_TRUE(f.host.fake_port.bytes.empty());
  EXPECT_GE(f.reader.last_data_tick, 10000u);
}

}  // namespace
}  // namespace quelor
