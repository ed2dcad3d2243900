// The window thread's core work per reading, per instrument family: the
// reading handler (decode, counters, station, segment entry, record), the
// data-file record text, the numbers rows and the display rows (each
// channel's profile row and trace step, the bar bands). The records are what
// the device simulator streams on a walk over its site, framed by the
// readers' own framers, so values and ranges change from reading to reading.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "datafile/data_records.h"
#include "devsim/instrument_kind.h"
#include "devsim/instrument_model.h"
#include "devsim/site.h"
#include "devsim/walk.h"
#include "display/bar_update.h"
#include "display/numbers_rows.h"
#include "display/profile_scale.h"
#include "display/profile_step.h"
#include "display/trace_layout.h"
#include "serial/instrument_framer.h"
#include "settings/instrument_defaults.h"
#include "survey/instrument_context.h"
#include "survey/instrument_handler.h"
#include "survey/reading_handler.h"
#include "survey/survey_context.h"

namespace {

using namespace quelor;

constexpr int kRecords = 512;
constexpr int kProfileHeight = 180;  // a profile window of the 1280 x 800 screen
constexpr int kBarHeight = 180;

struct Family {
  const char* kind;
  int sensors;  // Grad601 and EM61-LX2: 1 or 2
};

// kRecords records of the simulated instrument on a walk, as the reader frames them.
std::vector<RecordBytes> simulated_records(const Family& f) {
  const auto kind = *devsim::find_instrument_kind(f.kind);
  devsim::InstrumentConfig config;
  config.kind = kind;
  config.period_ms = kind.period_ms;
  config.setup.sensors = f.sensors;
  devsim::InstrumentState state = devsim::initial_instrument_state(config);
  state.awake = true;
  devsim::WalkPlan plan;
  plan.loop = true;
  const devsim::Site site = devsim::make_default_site(plan.line_length, (plan.lines - 1) * plan.spacing, 0, 17);
  devsim::Rng rng(17);
  ReaderOptions options;
  options.two_coils = kind.type == kEm61Lx2 && f.sensors == 2;
  auto framer = *make_instrument_framer(kind.type, options);
  std::vector<RecordBytes> out;
  for (int i = 0; out.size() < static_cast<std::size_t>(kRecords) && i < 20 * kRecords; ++i) {
    const double t = i * kind.period_ms / 1000.0;
    const devsim::WalkPoint w = devsim::walk_at_distance(plan, t * plan.speed);
    for (char c : devsim::next_instrument_record(config, state, site, w, 36000.0 + t, &rng)) {
      const FrameStep step = frame_byte(framer, static_cast<std::uint8_t>(c), FrameContext{});
      if (step.event == FrameEvent::kRecord && step.deliver) out.push_back(framed_record(framer));
    }
  }
  return out;
}

Settings settings_of(const Family& f, InstrumentType type) {
  Settings s;
  apply_instrument_defaults(s, type);
  s.number_of_sensors = f.sensors == 2 ? 1 : 0;
  s.displayed_channel = 1;
  return s;
}

// What the profiles and bars draw for one reading: a row, a trace step and a
// bar band per channel against the scale of its window.
struct DisplayRows {
  std::array<TraceState, kMaxTraces> traces{};
  std::array<BarState, kMaxDisplayChannels> bars{};
};

void display_rows(DisplayRows& d, const Settings& s, const TraceLayout& layout, std::span<const double> values,
                  int identity) {
  for (int i = 0; i < layout.count; ++i) {
    const int component = layout.channels[static_cast<std::size_t>(i)].component;
    const auto& scale = component == 2 ? s.profile_scale_2 : s.profile_scale_1;
    const int row =
        value_row(values[static_cast<std::size_t>(i)], scale[1], pixels_per_unit(kProfileHeight, scale[0], scale[1]));
    benchmark::DoNotOptimize(trace_step(d.traces[static_cast<std::size_t>(i)], row, identity));
    if (!layout.plan.bars) continue;
    const double p = pixels_per_unit(kBarHeight, scale[0], scale[1]);
    benchmark::DoNotOptimize(bar_update(d.bars[static_cast<std::size_t>(i)],
                                        value_row(values[static_cast<std::size_t>(i)], scale[1], p), kBarHeight,
                                        zero_mode(scale[0], scale[1]), value_row(0.0, scale[1], p)));
  }
}

SurveyRecord logging_survey() {
  SurveyRecord r;
  r.state = kStateLogging;
  r.station_increment = 0.5;
  r.colour_index.filling = true;
  return r;
}

void report(benchmark::State& state, std::int64_t readings, std::int64_t logged, std::size_t records) {
  state.counters["logged"] = readings > 0 ? static_cast<double>(logged) / static_cast<double>(readings) : 0.0;
  state.counters["records"] = static_cast<double>(records);
  state.counters["readings/s"] = benchmark::Counter(static_cast<double>(readings), benchmark::Counter::kIsRate);
  state.counters["ns/reading"] =
      benchmark::Counter(static_cast<double>(readings), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                         benchmark::Counter::kIs1000);
}

// EM31-MK2, EM38 and EM34-3: the "T" record handler.
void t_family(benchmark::State& state, Family f) {
  const InstrumentType type = devsim::find_instrument_kind(f.kind)->type;
  const std::vector<RecordBytes> records = simulated_records(f);
  const Settings s = settings_of(f, type);
  const ReadingContext context = reading_context_from_settings(s, 0);
  const DecodeContext decode = decode_context_from_settings(s, type, false, false);
  const Variant variant{type, kRealTimeMap};
  SurveyRecord survey = logging_survey();
  DisplayRows rows;
  std::int64_t readings = 0, logged = 0;
  std::uint32_t tick = 0;
  for (auto _ : state) {
    for (const RecordBytes& r : records) {
      if (survey.colour_index.count >= 400) survey.colour_index.count = 0;  // a segment closed by a fix
      const ReadingOutcome o = handle_t_reading(survey, context, decode, r.view(), ++tick);
      if (o.logged) {
        benchmark::DoNotOptimize(reading_record(variant, o.reading_input()));
        ++logged;
      }
      const double values[] = {o.first_value, o.second_value};
      const std::span<const double> shown(values, o.has_second_value ? 2u : 1u);
      display_rows(rows, s, trace_layout(type, static_cast<int>(shown.size()), false), shown, o.meaning.identity);
      ++readings;
    }
  }
  report(state, readings, logged, records.size());
}

// EM38-MK2, EM38-4, EM61-MK2, EM61-LX2, Grad601 and CS-21.
void binary_and_line_family(benchmark::State& state, Family f) {
  const InstrumentType type = devsim::find_instrument_kind(f.kind)->type;
  const std::vector<RecordBytes> records = simulated_records(f);
  const Settings s = settings_of(f, type);
  const InstrumentContext context = instrument_context_from_settings(s, 0);
  const DecodeContext decode = decode_context_from_settings(s, type, false, type == kEm61Mk2);
  const Variant variant{type, kRealTimeMap};
  SurveyRecord survey = logging_survey();
  InstrumentSurveyState survey_state;
  DisplayRows rows;
  std::int64_t readings = 0, logged = 0;
  std::uint32_t tick = 0;
  for (auto _ : state) {
    for (const RecordBytes& r : records) {
      if (survey.colour_index.count >= 400) survey.colour_index.count = 0;  // a segment closed by a fix
      const InstrumentOutcome o = handle_instrument_reading(survey, survey_state, context, decode, r, ++tick);
      if (o.logged) {
        benchmark::DoNotOptimize(reading_record(variant, o.reading_input()));
        ++logged;
      }
      const std::span<const double> values(o.channels.data(), static_cast<std::size_t>(o.channel_count));
      NumbersInput numbers;
      numbers.instrument_type = type;
      numbers.two_sensors = decode.two_sensors;
      numbers.channels = values;
      numbers.marker = o.marker;
      benchmark::DoNotOptimize(numbers_rows(numbers));
      display_rows(rows, s, trace_layout(type, o.channel_count, decode.two_sensors), values, o.trace_identity);
      ++readings;
    }
  }
  report(state, readings, logged, records.size());
}

BENCHMARK_CAPTURE(t_family, Em31Mk2, Family{"em31mk2", 1});
BENCHMARK_CAPTURE(t_family, Em38, Family{"em38", 1});
BENCHMARK_CAPTURE(t_family, Em34_3, Family{"em34-3", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Em38Mk2, Family{"em38mk2", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Em38_4, Family{"em38-4", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Em61Mk2, Family{"em61mk2", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Em61Lx2OneCoil, Family{"em61lx2", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Em61Lx2TwoCoils, Family{"em61lx2", 2});
BENCHMARK_CAPTURE(binary_and_line_family, Grad601OneSensor, Family{"grad601", 1});
BENCHMARK_CAPTURE(binary_and_line_family, Grad601TwoSensors, Family{"grad601", 2});
BENCHMARK_CAPTURE(binary_and_line_family, Cs21, Family{"cs21", 1});

}  // namespace
