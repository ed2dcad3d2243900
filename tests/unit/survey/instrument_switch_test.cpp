// The EM38-MK2's own auto/manual switch, end to end in the core: the device
// simulator's instrument turned to manual and back, its bytes through the
// reader's framer (decimated by the survey's records-per-reading factor),
// the reading handler and the connection monitor.

#include "survey/instrument_switch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/options.h"
#include "devsim/simulator.h"
#include "serial/instrument_framer.h"
#include "survey/connection_monitor.h"
#include "survey/instrument_handler.h"

namespace quelor {
namespace {

struct SwitchRun {
  devsim::Simulator sim;
  std::optional<InstrumentFramer> framer;
  SurveyRecord survey;
  InstrumentSurveyState state;
  DecodeContext decode;
  double now = 0;
  std::uint32_t last_record_ms = 0;
  int delivered = 0, logged = 0, switches = 0, breaks = 0;
  std::string modes;  // the survey mode after each delivered reading: A or M

  SwitchRun() : sim(make()), framer(make_instrument_framer(kEm38Mk2, {})) {
    survey.state = kStateLogging;
    survey.configured_records_per_reading = 4;
    survey.records_per_reading = 4;
    survey.start_tick = 0;
    decode.instrument_type = kEm38Mk2;
  }
  static devsim::Simulator make() {
    const std::vector<std::string_view> args{"--instrument", "em38mk2", "--gps", "gga"};
    const auto p = devsim::parse_options(args);
    EXPECT_TRUE(p.error.empty()) << p.error;
    return devsim::make_simulator(p.options, 5, 36000);
  }
  void control(const std::string& line) {
    devsim::DeviceOutput ignored;
    const auto c = devsim::parse_control_line(line);
    ASSERT_TRUE(c.command) << c.error;
    devsim::apply_control(sim, *c.command, now, ignored);
  }
  // Runs for `seconds`, the connection monitor ticking every 300 ms.
  void run(double seconds) {
    const double end = now + seconds;
    double next_monitor = now + 0.3;
    for (; now <= end; now += 0.005) {
      devsim::DeviceOutput out;
      devsim::advance(sim, now, out);
      for (char byte : out.instrument) take(static_cast<std::uint8_t>(byte));
      if (now >= next_monitor) {
        next_monitor += 0.3;
        MonitorInput in{kEm38Mk2, ms(), last_record_ms};
        if (monitor_tick(survey, in).remark) ++breaks;
      }
    }
  }
  std::uint32_t ms() const { return static_cast<std::uint32_t>(now * 1000); }
  void take(std::uint8_t byte) {
    FrameContext ctx;
    ctx.logging = survey.state == kStateLogging;
    ctx.survey_mode = survey.survey_mode;
    ctx.records_per_reading = survey.records_per_reading;
    const FrameStep step = frame_byte(*framer, byte, ctx);
    if (step.event != FrameEvent::kRecord) return;
    last_record_ms = ms();
    if (!step.deliver) return;
    ++delivered;
    const InstrumentOutcome o = handle_instrument_reading(survey, state, {}, decode, framed_record(*framer), ms());
    logged += o.logged;
    switches += o.mode_switched;
    modes += survey.survey_mode == kModeManual ? 'M' : 'A';
  }
};

TEST(InstrumentSwitch, SurveyFollowsTheEm38Mk2SwitchAndWritesEveryPressOnce) {
  SwitchRun r;
  r.run(2.0);  // auto: about 42 records, one reading in 4 delivered and written
  EXPECT_NEAR(r.delivered, 10, 1);
  EXPECT_EQ(r.logged, r.delivered);
  EXPECT_EQ(r.switches, 0);

  r.control("switch manual");
  r.run(1.5);  // silent, and nothing says why before the first press: one break
  EXPECT_EQ(r.breaks, 1);
  EXPECT_TRUE(r.survey.connection_lost);
  r.control("trigger");
  r.run(0.5);
  r.control("trigger 5");  // a press is one record, however long it is held
  r.run(0.3);
  r.control("trigger");
  r.run(1.5);
  const int auto_readings = static_cast<int>(r.modes.find('M'));
  EXPECT_EQ(r.modes.substr(static_cast<std::size_t>(auto_readings)), "MMM");
  EXPECT_EQ(r.logged, auto_readings + 3);
  EXPECT_EQ(r.switches, 1);
  EXPECT_EQ(r.survey.survey_mode, kModeManual);
  EXPECT_EQ(r.survey.records_per_reading, 1);
  EXPECT_EQ(r.breaks, 1);  // switched: the silence between presses is no break
  EXPECT_FALSE(r.survey.connection_lost);

  r.control("switch auto");
  r.run(2.0);
  EXPECT_EQ(r.switches, 2);
  EXPECT_EQ(r.survey.survey_mode, kModeAuto);
  EXPECT_EQ(r.survey.records_per_reading, 4);
  EXPECT_EQ(r.logged, r.delivered);
  EXPECT_NEAR(r.delivered - auto_readings - 3, 10, 1);

  r.control("silence instrument 1");  // back in Auto the monitor watches again
  r.run(1.5);
  EXPECT_EQ(r.breaks, 2);
}

TEST(InstrumentSwitch, OnlyTheEm38Mk2HasOne) {
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2})
    EXPECT_FALSE(switched_survey_mode(type, 'M', kModeAuto)) << type;
  EXPECT_EQ(switched_survey_mode(kEm38Mk2, 'M', kModeAuto), kModeManual);
  EXPECT_EQ(switched_survey_mode(kEm38Mk2, 'N', kModeManual), kModeAuto);
  EXPECT_FALSE(switched_survey_mode(kEm38Mk2, 'N', kModeAuto));
  // Outside Logging the factor stays 1 (Go sets it from the survey mode).
  SurveyRecord standing;
  standing.state = kStateStandBy;
  standing.configured_records_per_reading = 4;
  EXPECT_TRUE(follow_instrument_switch(standing, kEm38Mk2, 'M'));
  EXPECT_TRUE(follow_instrument_switch(standing, kEm38Mk2, 'N'));
  EXPECT_EQ(standing.records_per_reading, 1);
}

}  // namespace
}  // namespace quelor
