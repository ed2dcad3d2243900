// The simulated field driven by a test clock: record schedules, the EM61
// handshake and polled readings, triggers, silence, garbage, bad checksums
// and the walk's pause.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "devsim/nmea_sentence.h"
#include "devsim/options.h"
#include "devsim/simulator.h"
#include "serial/decode_em31.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

Simulator simulator(std::vector<std::string_view> args) {
  const OptionsParse p = parse_options(args);
  EXPECT_TRUE(p.error.empty()) << p.error;
  return make_simulator(p.options, 11, 36000);
}

// Runs the simulator from `from` to `to` seconds in 10 ms steps.
DeviceOutput run(Simulator& s, double from, double to) {
  DeviceOutput out;
  for (double t = from; t <= to + 1e-9; t += 0.01) {
    advance(s, t, out);
    tick(s, t);
  }
  return out;
}

std::size_t count(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(Simulator, RecordPeriodsOfEveryInstrument) {
  struct Case {
    const char* name;
    double per_second;
  };
  for (const Case& c : {Case{"em31mk2", 10.5}, Case{"em38", 1000 / 91.0}, Case{"em38mk2", 1000 / 47.0},
                        Case{"grad601", 1000 / 91.0}, Case{"cs21", 10}, Case{"em38-4", 10}}) {
    Simulator s = simulator({"--instrument", c.name, "--gps", "gga", "--gps-rate", "5"});
    const DeviceOutput out = run(s, 0, 20);
    const int expected = static_cast<int>(20 * c.per_second) + 1;
    EXPECT_NEAR(static_cast<double>(s.instrument.records), expected, 1.0) << c.name;
    EXPECT_EQ(count(out.gps, "$GPGGA"), 101u) << c.name;
  }
}

TEST(Simulator, Em61IsSilentUntilHandshakeThenStreamsInTheModeAsked) {
  Simulator s = simulator({"--instrument", "em61mk2", "--gps", "gga", "--em61-letter", "D"});
  DeviceOutput out = run(s, 0, 1);
  EXPECT_TRUE(out.instrument.empty());
  EXPECT_EQ(device_input(s, Device::kInstrument, "H", 1.0), "");
  out = run(s, 1.01, 1.03);  // a command half received holds the stream
  EXPECT_TRUE(out.instrument.empty());
  EXPECT_EQ(device_input(s, Device::kInstrument, "X", 1.04), "OK");
  out = run(s, 1.05, 2.04);
  ASSERT_EQ(out.instrument.size(), 10u * 15u);
  for (std::size_t i = 0; i < out.instrument.size(); i += 15) {
    EXPECT_EQ(out.instrument[i], 'D');
    EXPECT_EQ(out.instrument.substr(i + 13, 2), "\x7F\x7F");
  }
  EXPECT_EQ(device_input(s, Device::kInstrument, "HW", 2.05), "OK");
  out = run(s, 2.06, 2.5);
  ASSERT_FALSE(out.instrument.empty());
  EXPECT_EQ(out.instrument[0], 'J');
  EXPECT_EQ(device_input(s, Device::kInstrument, "HQ", 2.6), "OV");
  // "K" or "V" alone, or "H" that times out, are no commands.
  EXPECT_EQ(device_input(s, Device::kInstrument, "KV", 2.7), "");
  EXPECT_EQ(device_input(s, Device::kInstrument, "H", 2.8), "");
  tick(s, 3.5);
  EXPECT_TRUE(s.instrument.command.empty());
}

TEST(Simulator, PolledEm61AnswersEachAWithOneRecord) {
  Simulator s = simulator({"--instrument", "em61mk2", "--gps", "gga", "--polled"});
  EXPECT_EQ(device_input(s, Device::kInstrument, "A", 0.1), "");  // asleep
  EXPECT_EQ(device_input(s, Device::kInstrument, "HX", 0.2), "OK");
  DeviceOutput out = run(s, 0.3, 2);
  EXPECT_TRUE(out.instrument.empty());  // polled: no stream
  const std::string one = device_input(s, Device::kInstrument, "A", 2.1);
  ASSERT_EQ(one.size(), 15u);
  EXPECT_EQ(one[0], 'T');
  EXPECT_EQ(device_input(s, Device::kInstrument, "AA", 2.2).size(), 30u);
  const auto records = testing::frame_stream(kEm61Mk2, {.polled = true}, one);
  EXPECT_EQ(records.size(), 1u);
}

TEST(Simulator, TriggerMarksTheNextRecords) {
  Simulator s = simulator({"--instrument", "em31mk2", "--gps", "gga"});
  DeviceOutput out;
  apply_control(s, *parse_control_line("trigger 2").command, 0, out);
  out = run(s, 0, 0.5);
  const auto records = testing::frame_stream(kEm31Mk2, {}, out.instrument);
  ASSERT_EQ(records.size(), 6u);
  std::vector<bool> markers;
  for (const RecordBytes& r : records) markers.push_back(decode_em31_mk2(r.view(), {}).marker);
  EXPECT_EQ(markers, (std::vector<bool>{true, true, false, false, false, false}));
}

TEST(Simulator, Em61TriggerSendsMarkerLetters) {
  Simulator s = simulator({"--instrument", "em61lx2", "--gps", "gga"});
  device_input(s, Device::kInstrument, "HX", 0);
  DeviceOutput out;
  apply_control(s, *parse_control_line("trigger 1").command, 0, out);
  out = run(s, 0, 0.25);
  ASSERT_EQ(out.instrument.size(), 3u * 15u);
  EXPECT_EQ(out.instrument[0], 'M');
  EXPECT_EQ(out.instrument[15], 'T');
}

TEST(Simulator, SilenceStopsOneDeviceForItsTime) {
  Simulator s = simulator({"--instrument", "em38mk2", "--gps", "gga", "--gps-rate", "10"});
  DeviceOutput out;
  apply_control(s, *parse_control_line("silence gps 2").command, 0, out);
  out = run(s, 0, 1.99);
  EXPECT_TRUE(out.gps.empty());
  EXPECT_FALSE(out.instrument.empty());
  out = run(s, 2.0, 3.0);
  EXPECT_GE(count(out.gps, "$GPGGA"), 10u);
  EXPECT_LE(count(out.gps, "$GPGGA"), 11u);
}

TEST(Simulator, UnplugForATimeOrUntilPlugOneDeviceOnly) {
  Simulator s = simulator({"--instrument", "em31mk2", "--gps", "gga"});
  DeviceOutput out;
  struct Step {
    double at;
    const char* command;   // applied at `at`, or nothing
    bool instrument, gps;  // plugged just after
  };
  const Step steps[] = {
      {0.0, nullptr, true, true},
      {1.0, "unplug instrument 2.5", false, true},
      {3.4, nullptr, false, true},
      {3.5, nullptr, true, true},
      {4.0, "unplug gps", true, false},
      {60.0, nullptr, true, false},
      {61.0, "plug gps", true, true},
      {62.0, "unplug instrument 9", false, true},
      {63.0, "plug instrument", true, true},
  };
  for (const Step& step : steps) {
    if (step.command) apply_control(s, *parse_control_line(step.command).command, step.at, out);
    EXPECT_EQ(device_plugged(s, Device::kInstrument, step.at + 0.001), step.instrument) << step.at;
    EXPECT_EQ(device_plugged(s, Device::kGps, step.at + 0.001), step.gps) << step.at;
    EXPECT_TRUE(device_plugged(s, Device::kTilt, step.at));
  }
}

TEST(Simulator, SilentEm61DoesNotAnswer) {
  Simulator s = simulator({"--instrument", "em61mk2", "--gps", "gga"});
  DeviceOutput out;
  apply_control(s, *parse_control_line("silence instrument 1").command, 0, out);
  EXPECT_EQ(device_input(s, Device::kInstrument, "HX", 0.5), "");
  EXPECT_EQ(device_input(s, Device::kInstrument, "HX", 1.5), "OK");
}

TEST(Simulator, GarbageIsReproducibleAndTheFramerRecovers) {
  auto garbage_run = []() {
    Simulator s = simulator({"--instrument", "em38mk2", "--gps", "gga"});
    DeviceOutput out = run(s, 0, 0.5);
    apply_control(s, *parse_control_line("garbage instrument 300").command, 0.5, out);
    const DeviceOutput more = run(s, 0.51, 1.5);
    return out.instrument + more.instrument;
  };
  const std::string a = garbage_run(), b = garbage_run();
  EXPECT_EQ(a, b);
  const auto records = testing::frame_stream(kEm38Mk2, {}, a);
  // 32 records in 1.5 s; the one the garbage runs into may be lost.
  EXPECT_GE(records.size(), 31u);
  EXPECT_LE(records.size(), 33u);
}

TEST(Simulator, BadsumOnGpsTiltAndCs21) {
  Simulator s = simulator({"--instrument", "cs21", "--gps", "gga-gsa", "--tilt", "--tilt-rate", "3"});
  DeviceOutput out;
  for (const char* c : {"badsum gps 3", "badsum tilt 2", "badsum instrument 4"})
    apply_control(s, *parse_control_line(c).command, 0, out);
  out = run(s, 0, 2.0);
  auto bad_count = [](const std::string& stream) {
    std::size_t bad = 0, start = 0;
    for (std::size_t nl; (nl = stream.find('\n', start)) != std::string::npos; start = nl + 1)
      if (!has_valid_checksum(stream.substr(start, nl + 1 - start))) ++bad;
    return bad;
  };
  EXPECT_EQ(bad_count(out.gps), 3u);
  EXPECT_EQ(bad_count(out.tilt), 2u);
  EXPECT_EQ(bad_count(out.instrument), 4u);
  EXPECT_EQ(count(out.tilt, "$PTLT"), 21u);
}

TEST(Simulator, QualityAndSatellitesReachTheSentences) {
  Simulator s = simulator({"--instrument", "em31mk2", "--gps", "gga"});
  DeviceOutput out;
  apply_control(s, *parse_control_line("quality 5").command, 0, out);
  apply_control(s, *parse_control_line("satellites 4").command, 0, out);
  apply_control(s, *parse_control_line("hdop 3.5").command, 0, out);
  out = run(s, 0, 0.5);
  EXPECT_NE(out.gps.find(",5,04,3.5,"), std::string::npos) << out.gps;
}

TEST(Simulator, PauseWalkHoldsThePosition) {
  Simulator s = simulator({"--instrument", "em31mk2", "--gps", "gga", "--speed", "2"});
  DeviceOutput out;
  run(s, 0, 1);
  apply_control(s, *parse_control_line("pause-walk").command, 1, out);
  const WalkPoint a = walk_point(s, 1), b = walk_point(s, 5);
  EXPECT_DOUBLE_EQ(a.easting, b.easting);
  EXPECT_DOUBLE_EQ(a.northing, b.northing);
  apply_control(s, *parse_control_line("resume-walk").command, 5, out);
  EXPECT_NEAR(walk_seconds(s, 6), 2.0, 1e-9);
  const std::string status = apply_control(s, *parse_control_line("status").command, 6, out);
  EXPECT_NE(status.find("\"along\":4"), std::string::npos) << status;
  EXPECT_NE(status.find("\"zone\":17"), std::string::npos) << status;
  apply_control(s, *parse_control_line("quit").command, 6, out);
  EXPECT_TRUE(s.quit);
}

TEST(Simulator, DipoleCommandTurnsTheInstrument) {
  Simulator s = simulator({"--instrument", "em38mk2", "--gps", "gga"});
  DeviceOutput out;
  apply_control(s, *parse_control_line("dipole H").command, 0, out);
  out = run(s, 0, 0.1);
  ASSERT_GE(out.instrument.size(), 16u);
  EXPECT_EQ(out.instrument[1], '\x02');
}

TEST(Simulator, TiltAnswersTheRateCommandAndChangesRate) {
  Simulator s = simulator({"--no-instrument", "--no-gps", "--tilt", "--tilt-rate", "0"});
  link_opened(s, Device::kTilt, 0);
  DeviceOutput out = run(s, 0, 0.29);
  EXPECT_TRUE(out.tilt.empty());  // quiet after the port opens
  EXPECT_EQ(device_input(s, Device::kTilt, "[1D2", 0.3), "");
  EXPECT_EQ(device_input(s, Device::kTilt, "0\r", 0.31), ">New Output Data Rate: 20 Hz\r\n");
  out = run(s, 0.32, 1.31);
  EXPECT_NEAR(static_cast<double>(count(out.tilt, "$PTLT")), 20, 1);
  EXPECT_EQ(device_input(s, Device::kTilt, "[1D3\r", 1.4), ">Invalid Command\r\n");
}

TEST(Simulator, LateRecordsAreSkippedNotBurst) {
  Simulator s = simulator({"--instrument", "em38mk2", "--gps", "gga"});
  DeviceOutput out;
  advance(s, 0, out);
  advance(s, 10, out);  // the loop was stopped for ten seconds
  EXPECT_LT(s.instrument.records, 30u);
}

}  // namespace
}  // namespace quelor::devsim
