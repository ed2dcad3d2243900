// The simulator told its offsets, stance and ratio: its records, framed and
// decoded by the program's own code and run through the program's
// procedures, give back those offsets and that ratio.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devsim/control.h"
#include "devsim/instrument_model.h"
#include "procedures/em38mk2_calibration.h"
#include "procedures/lx2_filter_calibration.h"
#include "procedures/nulling.h"
#include "serial/current_ring.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

using testing::frame_stream;

class TickClock : public Clock {
 public:
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now = 1000;
};

struct Bench {
  WalkPlan plan = testing::test_plan();
  Site site = testing::test_site(plan);
  WalkPoint point = walk_at_distance(plan, 12);
  Rng rng{99};
  InstrumentConfig config;
  InstrumentState state;

  explicit Bench(const char* kind, int sensors = 1) {
    config.kind = *find_instrument_kind(kind);
    config.setup.sensors = sensors;
    state = initial_instrument_state(config);
    state.awake = true;
  }
  void control(const char* line) {
    const ControlParse p = parse_control_line(line);
    ASSERT_TRUE(p.command) << p.error;
    const ControlCommand& c = *p.command;
    if (c.kind == ControlKind::kOffsets) config.bench.offsets = c.values;
    if (c.kind == ControlKind::kStance) config.bench.stance = static_cast<Stance>(c.stance);
    if (c.kind == ControlKind::kRatio) config.bench.lx2_ratio = c.number;
    if (c.kind == ControlKind::kDipole) config.setup.vertical = c.vertical;
    if (c.kind == ControlKind::kCurrent) config.bench.current = c.count;
  }
  // `n` records as the program's reader frames them.
  std::vector<RecordBytes> records(int n, const ReaderOptions& o = {}) {
    std::string stream;
    for (int i = 0; i < n; ++i) stream += next_instrument_record(config, state, site, point, 0, &rng);
    return frame_stream(config.kind.type, o, stream);
  }
};

TEST(ProcedureRoundTrip, Em38Mk2CalibrationFindsTheSimulatedOffsets) {
  Bench b("em38mk2");
  b.control("offsets 0.8 -0.3 1.25 0.4 7.5 -3.2");
  b.control("stance air");
  Settings s;
  s.em38mk2_calibration = {9, 9, 9, 9, 9, 9};  // a calibration in force is not collected
  TickClock clock;
  Em38Mk2Calibration c;
  em38mk2_prepare(c, s);
  em38mk2_start(c, true, clock);
  auto feed = [&](int n) {
    for (const RecordBytes& r : b.records(n)) {
      clock.now += 47;
      em38mk2_on_reading(c, s, decode_em38_mk2(r.view(), em38mk2_decoder_offsets(c, s), false), clock);
    }
  };
  feed(45);  // 2.1 s vertical
  b.control("dipole H");
  feed(100);  // preparation, 2 s horizontal, the closing text
  ASSERT_FALSE(em38mk2_calibrating(c));
  const std::array<double, 6> expected{0.8, -0.3, 1.25, 0.4, 7.5, -3.2};
  const double word = 8.0 * 5.0 / 1024.0;
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(s.em38mk2_calibration[i], expected[i], word * 0.03) << i;
  for (std::size_t i = 4; i < 6; ++i) EXPECT_NEAR(s.em38mk2_calibration[i], expected[i], 1.5 * word) << i;
}

TEST(ProcedureRoundTrip, Em61Mk2NullingIsTheSimulatedChannelMeans) {
  Bench b("em61mk2");
  b.control("offsets 12.5 -7.25 3 40");
  b.control("stance air");
  Settings s;
  s.channel_null_values = {1, 1, 1, 1};
  Em61Procedures p;
  CurrentRing ring = make_current_ring(98);
  nulling_start(p, kMk2NullingSamples);
  for (const RecordBytes& rec : b.records(kMk2NullingSamples + 1)) {
    RecordBytes r = rec;
    nulling_on_reading(p, s, decode_em61_mk2(r, {}, ring, s.channel_null_values), kEm61Mk2, true);
  }
  ASSERT_EQ(p.state, kProcedureNormal);
  const std::array<double, 4> expected{12.5, -7.25, 3, 40};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(s.channel_null_values[i], expected[i], 0.05) << i;
}

TEST(ProcedureRoundTrip, Lx2FilterCalibrationFindsTheSimulatedRatio) {
  for (const double ratio : {2.4, 3.7}) {
    SCOPED_TRACE(ratio);
    Bench b("em61lx2");
    b.control("offsets 5 2");
    b.control("stance air");
    b.control(("ratio " + std::to_string(ratio)).c_str());
    Settings s;
    Em61Procedures p;
    auto feed = [&](int n) {
      ProcedureStep last;
      for (const RecordBytes& rec : b.records(n)) {
        RecordBytes r = rec;
        const quelor::Em61Reading d = decode_em61_lx2(r, false, s.channel_null_values);
        last = p.state == kProcedureFilterFactor ? filter_on_reading(p, s, d)
                                                 : nulling_on_reading(p, s, d, kEm61Lx2, true);
        if (last.ask) return last;
      }
      return last;
    };
    filter_calibration_start(p, false, kLx2NullingSamples, kLx2FilterSamples);
    ASSERT_TRUE(feed(kLx2NullingSamples + 1).ask);
    filter_answer(p, s, 1);
    b.control("stance ground");
    const ProcedureStep done = feed(kLx2FilterSamples);
    ASSERT_TRUE(done.ask);
    EXPECT_EQ(done.ask->title, "Filter Calibration Complete");
    filter_answer(p, s, 1);
    EXPECT_NEAR(s.left_coil_filter_factor, filter_factor_from_ratio(ratio), 1.0);
    EXPECT_NEAR(s.channel_null_values[0], 5, 0.25);
  }
}

TEST(ProcedureRoundTrip, ControlLines) {
  struct Case {
    const char* line;
    bool ok;
  };
  for (const Case c :
       {Case{"offsets 1", true}, Case{"offsets 1 2 3 4 5 6", true}, Case{"offsets 1 2 3 4 5 6 7", false},
        Case{"offsets x", false}, Case{"stance ground", true}, Case{"stance up", false}, Case{"ratio 3.1", true},
        Case{"ratio 0", false}, Case{"current 3000", true}, Case{"current -1", false}}) {
    EXPECT_EQ(parse_control_line(c.line).command.has_value(), c.ok) << c.line;
  }
  EXPECT_DOUBLE_EQ(parse_control_line("offsets 1 -2.5").command->values[1], -2.5);
  EXPECT_EQ(parse_control_line("stance air").command->stance, 1);
}

TEST(ProcedureRoundTrip, FixedCurrentReachesTheDecoder) {
  Bench b("em61lx2");
  b.control("current 2000");
  for (const RecordBytes& rec : b.records(3)) {
    RecordBytes r = rec;
    EXPECT_DOUBLE_EQ(decode_em61_lx2(r, false, {}).current, 2000);
  }
}

}  // namespace
}  // namespace quelor::devsim
