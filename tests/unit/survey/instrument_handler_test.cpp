// The reading handlers of the binary and line instruments, fed with what the
// device simulator sends, framed by the readers' own framers.

#include "survey/instrument_handler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "datafile/data_records.h"
#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "devsim/binary_record.h"
#include "devsim/line_record.h"
#include "serial/instrument_framer.h"
#include "survey/colour_class.h"
#include "gps/units.h"
#include "survey/tilt_handler.h"

namespace quelor {
namespace {

// The wire bytes through the instrument's framer: the record a reader hands over.
RecordBytes framed(InstrumentType type, const std::string& wire, bool two_coils = false) {
  ReaderOptions options;
  options.two_coils = two_coils;
  auto framer = make_instrument_framer(type, options);
  EXPECT_TRUE(framer);
  RecordBytes out;
  for (char c : wire) {
    const FrameStep step = frame_byte(*framer, static_cast<std::uint8_t>(c), FrameContext{});
    if (step.event == FrameEvent::kRecord) out = framed_record(*framer);
  }
  EXPECT_GT(out.length, 0u) << type;
  return out;
}

SurveyRecord logging(int mode = kModeAuto) {
  SurveyRecord r;
  r.state = kStateLogging;
  r.survey_mode = mode;
  r.station_increment = 0.5;
  r.start_tick = 1000;
  r.colour_index.filling = true;
  return r;
}

struct RoundTrip {
  const char* name;
  InstrumentType type;
  bool two_sensors;
  std::string wire;
  std::vector<double> expected;  // channels in order
  double tolerance;
};

std::vector<RoundTrip> round_trips() {
  devsim::Em38Mk2Reading mk2;
  mk2.conductivity1 = 31.5;
  mk2.inphase1 = 2.25;
  mk2.conductivity2 = 18.0;
  mk2.inphase2 = -0.75;
  devsim::Em38_4Reading four;
  four.conductivity = {10, 20, 30, 40};
  four.inphase = {1, 2, 3, 4};
  devsim::Em61Reading lx2;
  lx2.unit = devsim::kEm61Lx2Unit;
  lx2.channels = {400, 120, 900, 60};
  devsim::GradReading grad{12.5, -3.25, 2};
  devsim::Cs21Reading cs{45000, 25.5, 3.125, 14.25, -1.5};
  const double f = 310.0 / 1000.0;
  return {
      {"em38mk2", kEm38Mk2, false, devsim::encode_em38mk2_record(mk2), {31.5, 2.25, 18.0, -0.75}, 0.05},
      {"em38_4", kEm38_4, false, devsim::encode_em38_4_record(four), {10, 1, 20, 2, 30, 3, 40, 4}, 0.05},
      {"lx2_one", kEm61Lx2, false, devsim::encode_em61_record(lx2), {400, 120, 400 - 120 * f}, 0.5},
      {"lx2_two",
       kEm61Lx2,
       true,
       devsim::encode_em61_record(lx2),
       {400, 120, 400 - 120 * f, 900, 60, 900 - 60 * f},
       0.5},
      {"grad_one", kGrad601, false, devsim::encode_grad601_line({12.5, 0, 1}), {12.5}, 1e-9},
      {"grad_two", kGrad601, true, devsim::encode_grad601_line(grad), {12.5, -3.25}, 1e-9},
      {"cs21", kCs21, false, devsim::encode_cs21_line(cs), {25.5, 3.125, 14.25, -1.5}, 1e-9},
  };
}

TEST(InstrumentHandler, SimulatorReadingsRoundTripIntoChannelsAndRecords) {
  for (const RoundTrip& t : round_trips()) {
    SCOPED_TRACE(t.name);
    SurveyRecord survey = logging();
    InstrumentSurveyState state;
    InstrumentContext ic;
    DecodeContext c;
    c.instrument_type = t.type;
    c.two_sensors = t.two_sensors;
    const RecordBytes record = framed(t.type, t.wire, t.two_sensors);
    const InstrumentOutcome o = handle_instrument_reading(survey, state, ic, c, record, 2000);
    ASSERT_EQ(o.channel_count, static_cast<int>(t.expected.size()));
    for (std::size_t i = 0; i < t.expected.size(); ++i) EXPECT_NEAR(o.channels[i], t.expected[i], t.tolerance) << i;
    ASSERT_TRUE(o.logged);
    EXPECT_EQ(o.tick, 2000u);
    EXPECT_EQ(o.texts.station, "0.00       ");
    EXPECT_EQ(survey.readings_in_survey, 1);
    // The record reaches the file byte for byte, zero and line-feed bytes included.
    const std::string file_record = reading_record({t.type, kRealTimeMap}, o.reading_input());
    std::string expected(record.text());
    if (t.type == kGrad601) expected = "T$P" + expected.substr(5);
    if (t.type == kCs21) expected = "T" + expected;
    if (t.type != kEm61Lx2) {
      EXPECT_EQ(file_record.substr(0, expected.size()), expected);
    }
  }
}

// Each EM61-LX2 coil filters with its own factor.
TEST(InstrumentHandler, Lx2CoilsFilterWithTheirOwnFactors) {
  devsim::Em61Reading lx2;
  lx2.unit = devsim::kEm61Lx2Unit;
  lx2.channels = {400, 120, 900, 60};
  const RecordBytes record = framed(kEm61Lx2, devsim::encode_em61_record(lx2), true);
  SurveyRecord survey = logging();
  InstrumentSurveyState state;
  InstrumentContext ic;
  DecodeContext c;
  c.instrument_type = kEm61Lx2;
  c.two_sensors = true;
  c.lx2_filter_factors = {352.8, 250.0};
  const InstrumentOutcome o = handle_instrument_reading(survey, state, ic, c, record, 2000);
  ASSERT_EQ(o.channel_count, 6);
  EXPECT_NEAR(o.channels[2], 400 - 120 * 0.3528, 0.5);
  EXPECT_NEAR(o.channels[5], 900 - 60 * 0.25, 0.5);
}

TEST(InstrumentHandler, Em61ReadingsBeforeTheStartOfLoggingAreNotWritten) {
  devsim::Em61Reading r;
  r.channels = {100, 50, 25, 10};
  const RecordBytes record = framed(kEm61Mk2, devsim::encode_em61_record(r));
  struct Case {
    std::uint32_t start, tick;
    bool written;
  };
  for (const Case k : {Case{1000, 999, false}, Case{1000, 1000, true}, Case{1000, 1001, true},
                       Case{0xFFFFFFF0u, 5, true}, Case{5, 0xFFFFFFF0u, false}}) {
    SurveyRecord survey = logging();
    survey.start_tick = k.start;
    InstrumentSurveyState state;
    InstrumentContext ic;
    DecodeContext c;
    c.instrument_type = kEm61Mk2;
    const InstrumentOutcome o = handle_instrument_reading(survey, state, ic, c, record, k.tick);
    EXPECT_EQ(o.logged, k.written) << k.start << " " << k.tick;
    EXPECT_EQ(o.battery_text, "12.6 V");
    EXPECT_EQ(o.record.size(), 16u);  // rewritten with the mean current, written or not
  }
}

TEST(InstrumentHandler, Em61MarkerLettersAreShownAndWritten) {
  for (char letter : {'T', 'D', 'E', 'F', 'M', 'N', 'P', 'Q'}) {
    devsim::Em61Reading r;
    r.letter = letter;
    SurveyRecord survey = logging();
    InstrumentSurveyState state;
    InstrumentContext ic;
    DecodeContext c;
    c.instrument_type = kEm61Mk2;
    const InstrumentOutcome o =
        handle_instrument_reading(survey, state, ic, c, framed(kEm61Mk2, devsim::encode_em61_record(r)), 1500);
    const bool marker = letter == 'M' || letter == 'N' || letter == 'P' || letter == 'Q';
    EXPECT_EQ(o.marker, marker) << letter;
    EXPECT_TRUE(o.logged) << letter;
    EXPECT_EQ(o.record[0], letter);
  }
}

// Two-sensor systems pack the second sensor's class x 64 with the first's.
TEST(InstrumentHandler, TwoSensorReadingsArePackedIntoOneSegmentEntry) {
  struct Case {
    InstrumentType type;
    std::string wire;
    int mapped;
    double first, second;
  };
  devsim::Em61Reading lx2;
  lx2.unit = devsim::kEm61Lx2Unit;
  lx2.channels = {100, 40, 300, 20};
  const std::vector<Case> cases{
      {kGrad601, devsim::encode_grad601_line({12.5, 47.0, 2}), 1, 12.5, 47.0},
      {kGrad601, devsim::encode_grad601_line({-5.0, 600.0, 2}), 1, -5.0, 600.0},     // clamped classes
      {kEm61Lx2, devsim::encode_em61_record(lx2), 1, 100, 300},                      // E left, E right
      {kEm61Lx2, devsim::encode_em61_record(lx2), 2, 40, 20},                        // L left, L right
      {kCs21, devsim::encode_cs21_line({0, 25.5, 3.0, 14.0, -1.5}), 1, 25.5, 14.0},  // HC with PC
      {kCs21, devsim::encode_cs21_line({0, 25.5, 3.0, 14.0, -1.5}), 4, -1.5, 3.0},   // PI with HI
  };
  for (const Case& k : cases) {
    SurveyRecord survey = logging();
    InstrumentSurveyState state;
    InstrumentContext ic;
    DecodeContext c;
    c.instrument_type = k.type;
    c.two_sensors = k.type != kCs21;
    c.mapped_view = k.mapped;
    c.colour = {0.0, 5.0};
    const InstrumentOutcome o =
        handle_instrument_reading(survey, state, ic, c, framed(k.type, k.wire, c.two_sensors), 1500);
    auto cls = [](double v) { return std::clamp(static_cast<int>(std::trunc(v / 5.0)), 0, 49); };
    ASSERT_TRUE(o.segment_entry);
    EXPECT_EQ(*o.segment_entry, cls(k.second) * 64 + cls(k.first)) << k.type << " " << k.mapped;
    EXPECT_EQ(survey.colour_index.count, 1);
    EXPECT_EQ(survey.colour_index.rows[0][0], *o.segment_entry);
  }
}

TEST(InstrumentHandler, SegmentRowStopsAtItsCapWhenFixesStopComing) {
  SurveyRecord survey = logging();
  InstrumentSurveyState state;
  InstrumentContext ic;
  DecodeContext c;
  c.instrument_type = kGrad601;
  c.mapped_view = 1;
  const RecordBytes record = framed(kGrad601, devsim::encode_grad601_line({12.5, 0, 1}));
  for (int i = 0; i < 700; ++i) handle_instrument_reading(survey, state, ic, c, record, 1500);
  EXPECT_EQ(survey.colour_index.count, kSegmentRowLength);
  EXPECT_EQ(survey.readings_in_survey, 700);  // still written
}

TEST(InstrumentHandler, GradSoundOnEveryFourthWrittenReadingWithAudioTicks) {
  for (bool audio : {true, false}) {
    SurveyRecord survey = logging();
    InstrumentSurveyState state;
    InstrumentContext ic;
    DecodeContext c;
    c.instrument_type = kGrad601;
    ic.audio_ticks = audio;
    const RecordBytes record = framed(kGrad601, devsim::encode_grad601_line({1.0, 0, 1}));
    std::string sounds;
    for (int i = 0; i < 9; ++i)
      sounds += handle_instrument_reading(survey, state, ic, c, record, 1500).result_sound ? 'S' : '.';
    EXPECT_EQ(sounds, audio ? "...S...S." : ".........");
  }
}

TEST(InstrumentHandler, ManualModeWritesOneReadingPerTriggerPress) {
  devsim::Em61Reading held, released;
  held.letter = 'M';  // the marker letter of T while the trigger is held
  const RecordBytes press = framed(kEm61Mk2, devsim::encode_em61_record(held));
  const RecordBytes free = framed(kEm61Mk2, devsim::encode_em61_record(released));
  SurveyRecord survey = logging(kModeManual);
  InstrumentSurveyState state;
  InstrumentContext ic;
  DecodeContext c;
  c.instrument_type = kEm61Mk2;
  std::string written;
  for (const RecordBytes* r : {&free, &press, &press, &press, &free, &press, &free})
    written += handle_instrument_reading(survey, state, ic, c, *r, 1500).logged ? 'W' : '.';
  EXPECT_EQ(written, ".W...W.");
  EXPECT_EQ(survey.readings_in_survey, 2);
}

TEST(InstrumentHandler, RunningProcedureTakesTheReadingInstead) {
  struct Taken {
    int count = 0;
    double first = 0;
  } taken;
  InstrumentContext ic;
  DecodeContext c;
  c.instrument_type = kEm38Mk2;
  ic.procedure.self = &taken;
  ic.procedure.take = [](void* self, const ProcedureReading& r) {
    auto* t = static_cast<Taken*>(self);
    ++t->count;
    t->first = r.values[0];
    return true;
  };
  devsim::Em38Mk2Reading mk2;
  mk2.conductivity1 = 20.0;
  SurveyRecord survey = logging();
  InstrumentSurveyState state;
  const InstrumentOutcome o =
      handle_instrument_reading(survey, state, ic, c, framed(kEm38Mk2, devsim::encode_em38mk2_record(mk2)), 1500);
  EXPECT_TRUE(o.to_procedure);
  EXPECT_FALSE(o.logged);
  EXPECT_EQ(taken.count, 1);
  EXPECT_NEAR(taken.first, 20.0, 0.05);
  EXPECT_EQ(survey.readings_in_survey, 0);
}

TEST(TiltHandler, AnglesLimitedAndNotANumberIsZero) {
  struct Case {
    const char* sentence;
    double first, second;
  };
  for (const Case k : {Case{"$PTLT,+12.50,180.0,19.0,-3.25*00", 12.5, -3.25},
                       Case{"$PTLT,+80.00,0,0,-90.00*00", 75.0, -75.0}, Case{"$PTLT,nan,0,0,inf*00", 0.0, 75.0},
                       Case{"$PTLT,-inf,0,0,-nan*00", -75.0, 0.0}, Case{"$PTLT*00", 0.0, 0.0}}) {
    SurveyRecord survey;
    survey.state = kStateMonitoring;
    const TiltOutcome o = handle_tilt_sentence(survey, k.sentence, 2.0, kUnitMetres, 77);
    EXPECT_DOUBLE_EQ(o.first_angle, k.first) << k.sentence;
    EXPECT_DOUBLE_EQ(o.second_angle, k.second) << k.sentence;
    EXPECT_FALSE(o.write);
    EXPECT_NEAR(o.inline_offset, 2.0 * std::sin(k.first * M_PI / 180.0), 1e-12);
    EXPECT_NEAR(o.lateral_offset, 2.0 * std::sin(k.second * M_PI / 180.0), 1e-12);
  }
  SurveyRecord survey;
  survey.state = kStateLogging;
  const TiltOutcome o = handle_tilt_sentence(survey, devsim::encode_tilt_sentence({-3.25, 12.5}), 1.0, kUnitMetres, 77);
  EXPECT_TRUE(o.write);
  EXPECT_EQ(o.first_text, "+12.50");
  EXPECT_EQ(o.second_text, "-3.25");
}

// A tilt line that fails its test is kept while Logging under its own tag,
// never as an operator's comment, and the file checker takes it as such.
TEST(TiltHandler, GarbageLinesKeptUnderTheirOwnTag) {
  std::string good = devsim::encode_tilt_sentence({-3.25, 12.5});
  while (!good.empty() && (good.back() == '\n' || good.back() == '\r')) good.pop_back();
  std::string wrong = good;
  wrong.back() = wrong.back() == '0' ? '1' : '0';
  struct Case {
    std::string wire;
    std::string record;  // EM61-MK2, real-time map line: 27 bytes
  };
  const Case cases[] = {
      {wrong + "\r\n", "\\" + wrong.substr(0, 11) + "          4242\n"},
      {"$PTLT,+12.50\r\n", "\\$PTLT,+12.5          4242\n"},
      {"PTLT,1*00\r\n", "\\PTLT,1*00            4242\n"},
      {"\x01\x7FX*00\r\n", "\\??X*00               4242\n"},
      {good + "\r\n", ""},
  };
  const Variant v{kEm61Mk2, kRealTimeMap};
  MemorySink sink;
  sink.open(L"t");
  DataFileWriter writer(sink, v);
  HeaderFields header = header_fields_from_settings(Settings{}, kEm61Mk2);
  header.file_name = "TILT";
  ASSERT_TRUE(writer.write_header(header, false));
  ASSERT_TRUE(writer.write_line_block(LineBlockFields{}, LocalTime{}, 4000));
  long kept = 0;
  for (const Case& c : cases) {
    InstrumentFramer framer = make_tilt_reader_framer();
    const std::size_t before = sink.file(L"t").size();
    for (char ch : c.wire) {
      const FrameStep step = frame_byte(framer, static_cast<std::uint8_t>(ch), FrameContext{});
      if (step.event == FrameEvent::kRejected) {
        ASSERT_TRUE(write_tilt_garbage(writer, framed_record(framer).text(), 4242));
      }
    }
    EXPECT_EQ(sink.file(L"t").substr(before), c.record) << c.wire;
    if (!c.record.empty()) ++kept;
  }
  const FileCheckReport report = check_data_file(sink.file(L"t"));
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << "record " << e.record << ": " << e.message;
  EXPECT_EQ(report.by_tag.at(kTiltGarbageTag), kept);
  EXPECT_EQ(report.by_tag.count('C'), 0u);
}

// The offsets correct a footprint in map units: feet and US survey feet
// surveys get the antenna height's metres in their unit.
TEST(TiltHandler, OffsetsInTheMapUnits) {
  SurveyRecord survey;
  const std::string sentence = devsim::encode_tilt_sentence({-30.0, 30.0});  // pitch 30, roll -30
  struct Case {
    int units;
    double metres_per_unit;
  };
  for (const Case k : {Case{kUnitMetres, 1.0}, Case{kUnitFeet, 0.3048}, Case{kUnitUsFeet, 0.304800609601219}}) {
    const TiltOutcome o = handle_tilt_sentence(survey, sentence, 2.0, k.units, 1);
    EXPECT_NEAR(o.inline_offset, 1.0 / k.metres_per_unit, 1e-9) << k.units;
    EXPECT_NEAR(o.lateral_offset, -1.0 / k.metres_per_unit, 1e-9) << k.units;
  }
}

}  // namespace
}  // namespace quelor
