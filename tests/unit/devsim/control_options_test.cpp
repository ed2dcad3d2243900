// Control lines and the command line.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "devsim/control.h"
#include "devsim/options.h"

namespace quelor::devsim {
namespace {

TEST(Control, EveryCommand) {
  struct Case {
    const char* line;
    ControlKind kind;
    Device device;
    int count;
    double number;
  };
  const Case cases[] = {
      {"trigger", ControlKind::kTrigger, Device::kInstrument, 3, 0},
      {"trigger 5", ControlKind::kTrigger, Device::kInstrument, 5, 0},
      {"silence gps 2.5", ControlKind::kSilence, Device::kGps, 0, 2.5},
      {"  silence   instrument 1\r", ControlKind::kSilence, Device::kInstrument, 0, 1},
      {"garbage tilt 40", ControlKind::kGarbage, Device::kTilt, 40, 0},
      {"unplug instrument", ControlKind::kUnplug, Device::kInstrument, 0, 0},
      {"unplug gps 10", ControlKind::kUnplug, Device::kGps, 0, 10},
      {"unplug tilt 0.5", ControlKind::kUnplug, Device::kTilt, 0, 0.5},
      {"plug instrument", ControlKind::kPlug, Device::kInstrument, 0, 0},
      {"badsum gps 3", ControlKind::kBadsum, Device::kGps, 3, 0},
      {"quality 4", ControlKind::kQuality, Device::kInstrument, 4, 0},
      {"satellites 0", ControlKind::kSatellites, Device::kInstrument, 0, 0},
      {"hdop 2.5", ControlKind::kHdop, Device::kInstrument, 0, 2.5},
      {"pause-walk", ControlKind::kPauseWalk, Device::kInstrument, 0, 0},
      {"resume-walk", ControlKind::kResumeWalk, Device::kInstrument, 0, 0},
      {"status", ControlKind::kStatus, Device::kInstrument, 0, 0},
      {"quit", ControlKind::kQuit, Device::kInstrument, 0, 0},
  };
  for (const Case& c : cases) {
    const ControlParse p = parse_control_line(c.line);
    ASSERT_TRUE(p.command.has_value()) << c.line << ": " << p.error;
    EXPECT_EQ(p.command->kind, c.kind) << c.line;
    EXPECT_EQ(p.command->device, c.device) << c.line;
    EXPECT_EQ(p.command->count, c.count) << c.line;
    EXPECT_DOUBLE_EQ(p.command->number, c.number) << c.line;
  }
  const ControlParse d = parse_control_line("dipole H");
  ASSERT_TRUE(d.command);
  EXPECT_FALSE(d.command->vertical);
  for (const auto& [line, manual] : {std::pair{"switch manual", true}, std::pair{"switch auto", false}}) {
    const ControlParse w = parse_control_line(line);
    ASSERT_TRUE(w.command) << line;
    EXPECT_EQ(w.command->kind, ControlKind::kSwitch);
    EXPECT_EQ(w.command->manual, manual) << line;
  }
}

TEST(Control, BlankAndCommentLinesDoNothing) {
  for (const char* line : {"", "   ", "\r", "# a note"}) {
    const ControlParse p = parse_control_line(line);
    EXPECT_FALSE(p.command.has_value());
    EXPECT_TRUE(p.error.empty()) << line;
  }
}

TEST(Control, BadLinesAreRefusedWithAReason) {
  for (const char* line : {"jump",
                           "silence",
                           "silence gps",
                           "silence radio 2",
                           "silence gps -1",
                           "silence gps x",
                           "garbage gps 1.5",
                           "badsum tilt",
                           "quality 10",
                           "quality -1",
                           "satellites 100",
                           "trigger 0",
                           "trigger x",
                           "dipole X",
                           "quit now",
                           "hdop",
                           "garbage gps 99999999999",
                           "unplug",
                           "unplug radio",
                           "unplug gps 0",
                           "unplug gps -2",
                           "unplug gps x",
                           "unplug gps 1 2",
                           "plug",
                           "plug gps 3",
                           "switch",
                           "switch on",
                           "switch manual now"}) {
    const ControlParse p = parse_control_line(line);
    EXPECT_FALSE(p.command.has_value()) << line;
    EXPECT_FALSE(p.error.empty()) << line;
  }
}

OptionsParse parse(std::vector<std::string_view> args) { return parse_options(args); }

TEST(Options, DefaultsAndRecordPeriods) {
  struct Case {
    std::vector<std::string_view> args;
    double period_ms;
  };
  const Case cases[] = {
      {{"--instrument", "em31mk2", "--gps", "gga"}, 95.23809523809524},
      {{"--instrument", "EM38", "--gps", "gga"}, 91},
      {{"--instrument", "em38", "--em38-length", "7", "--gps", "gga"}, 72},
      {{"--instrument", "em38mk2", "--gps", "gga"}, 47},
      {{"--instrument", "em38-4", "--gps", "gga"}, 100},
      {{"--instrument", "em38-4", "--em38-4-rate", "5", "--gps", "gga"}, 1000},
      {{"--instrument", "grad601", "--gps", "gga"}, 91},
      {{"--instrument", "grad601", "--rate", "20", "--gps", "gga"}, 91},  // not configurable
      {{"--instrument", "em61mk2", "--rate", "16", "--gps", "gga"}, 62.5},
      {{"--instrument=cs21", "--rate=5", "--no-gps"}, 200},
      {{"--instrument", "em34-3", "--rate", "4", "--gps", "gga"}, 250},
      {{"--instrument", "Em61Lx2", "--gps", "gga"}, 100},
  };
  for (const Case& c : cases) {
    const OptionsParse p = parse(c.args);
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_DOUBLE_EQ(p.options.instrument.period_ms, c.period_ms) << c.args[1];
  }
}

TEST(Options, WalkGpsAndDevices) {
  const OptionsParse p = parse({"--instrument",
                                "em61mk2",
                                "--gps",
                                "pseudo-gga",
                                "--slam",
                                "--rts-units",
                                "usft",
                                "--origin",
                                "-33.5,151.25",
                                "--lines",
                                "6",
                                "--line-length",
                                "25",
                                "--spacing",
                                "0.5",
                                "--speed",
                                "1.5",
                                "--heading",
                                "45",
                                "--gps-rate",
                                "10",
                                "--quality",
                                "4",
                                "--satellites",
                                "15",
                                "--seed",
                                "42",
                                "--duration",
                                "3",
                                "--tilt",
                                "--polled",
                                "--em61-letter",
                                "D",
                                "--coil",
                                "hp",
                                "--dir",
                                "/tmp/x"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  const Options& o = p.options;
  EXPECT_EQ(o.gps.style.format, GpsFormat::kPseudoGga);
  EXPECT_TRUE(o.gps.style.slam);
  EXPECT_EQ(o.gps.style.rts_units, RtsUnits::kUsSurveyFeet);
  EXPECT_DOUBLE_EQ(o.origin_latitude, -33.5);
  EXPECT_DOUBLE_EQ(o.origin_longitude, 151.25);
  EXPECT_EQ(o.walk.lines, 6);
  EXPECT_DOUBLE_EQ(o.walk.line_length, 25);
  EXPECT_DOUBLE_EQ(o.walk.spacing, 0.5);
  EXPECT_DOUBLE_EQ(o.walk.speed, 1.5);
  EXPECT_DOUBLE_EQ(o.walk.heading, 45);
  EXPECT_DOUBLE_EQ(o.gps.rate_hz, 10);
  EXPECT_EQ(o.quality, 4);
  EXPECT_EQ(o.satellites, 15);
  EXPECT_EQ(o.seed, 42u);
  EXPECT_DOUBLE_EQ(o.duration, 3);
  EXPECT_TRUE(o.tilt_on);
  EXPECT_TRUE(o.instrument.polled);
  EXPECT_EQ(o.instrument.em61_letter, 'D');
  EXPECT_TRUE(o.instrument.setup.high_power);
  EXPECT_EQ(o.dir, "/tmp/x");
}

TEST(Options, Refusals) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--gps", "gga"},             // no instrument
      {"--instrument", "em31mk2"},  // no GPS
      {"--instrument", "em99", "--gps", "gga"},
      {"--instrument", "em31mk2", "--gps", "rmc"},
      {"--instrument", "em31mk2", "--gps", "gga", "--gps-rate", "25"},
      {"--instrument", "em31mk2", "--gps", "gga", "--gps-rate", "0.5"},
      {"--instrument", "em31mk2", "--gps", "gga", "--origin", "43.6"},
      {"--instrument", "em31mk2", "--gps", "gga", "--lines"},
      {"--instrument", "em31mk2", "--gps", "gga", "--bogus"},
      {"--instrument", "em38", "--gps", "gga", "--em38-length", "9"},
      {"--instrument", "em38-4", "--gps", "gga", "--em38-4-rate", "9"},
      {"--no-instrument", "--no-gps"},
      {"--instrument", "em31mk2", "--gps", "gga", "--range", "50"},
  };
  for (const auto& args : bad) EXPECT_FALSE(parse(args).error.empty()) << args[0] << " " << args.back();
  EXPECT_TRUE(parse({"--no-instrument", "--no-gps", "--tilt"}).error.empty());
  EXPECT_TRUE(parse({"--help"}).options.help);
}

}  // namespace
}  // namespace quelor::devsim
