#include "devsim/survey_log.h"

#include <algorithm>
#include <cmath>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "devsim/simulator.h"
#include "serial/instrument_framer.h"

namespace quelor::devsim {

namespace {

constexpr std::uint32_t kStartTick = 3600000;  // milliseconds since the tablet started
constexpr double kStartOfDay = 9 * 3600.0;     // UTC seconds of the first record

HeaderFields header_of(const Simulator& sim, int map_units) {
  HeaderFields f;
  f.file_name = "SIMULATED";
  f.gps_enabled = 1;
  f.instrument_state = 1;
  f.map_units = map_units;
  f.reading_interval = sim.options.instrument.period_ms / 1000.0;
  f.gps_sentence = 1;  // GGA
  f.reference_zone = sim.plan.origin.zone;
  f.number_of_sensors = 0;
  return f;
}

// The sentences of a run of receiver bytes, without their line ends.
void take_sentences(std::string& pending, const std::string& bytes, DataFileWriter& w, std::uint32_t tick) {
  pending += bytes;
  for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
    std::string line = pending.substr(0, end);
    pending.erase(0, end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (!line.empty()) w.write_gps_sentence(line, tick, kGpsForwarded);
  }
}

}  // namespace

SurveyLog log_simulated_survey(const Options& options, std::uint64_t seed, int map_units) {
  SurveyLog log;
  const InstrumentType type = options.instrument.kind.type;
  if (type != kEm31Mk2 && !(type == kGrad601 && options.instrument.setup.sensors == 1)) {
    log.error = "only the EM31-MK2 and the Grad601 with one sensor (--sensors 1) are logged";
    return log;
  }
  Options o = options;
  o.tilt_on = false;
  o.walk.loop = false;
  Simulator sim = make_simulator(o, seed, kStartOfDay);
  const Variant variant{type, kRealTimeMap};
  MemorySink sink;
  const std::wstring path = L"SIMULATED";
  sink.open(path);
  DataFileWriter w(sink, variant);
  w.write_header(header_of(sim, map_units), false);
  LineBlockFields line;
  line.line_name = "1";
  line.file_name = "SIMULATED";
  line.station_increment = 1.0;
  w.write_line_block(line, LocalTime{2026, 12, 9, 9, 0, 0, 0}, kStartTick);

  ReaderOptions reader;
  auto framer = *make_instrument_framer(type, reader);
  const double end = walk_length(sim.plan) / sim.plan.speed + 1.0;
  std::string pending;
  for (double now = 0; now <= end;) {
    DeviceOutput out;
    advance(sim, now, out);
    const std::uint32_t tick = kStartTick + static_cast<std::uint32_t>(std::lround(now * 1000));
    const WalkPoint at = walk_at_distance(sim.plan, now * sim.plan.speed);
    const bool skipped =
        at.on_line && std::find(o.skipped_lines.begin(), o.skipped_lines.end(), at.line) != o.skipped_lines.end();
    for (char c : out.instrument) {
      const FrameStep step = frame_byte(framer, static_cast<std::uint8_t>(c), FrameContext{});
      if (step.event != FrameEvent::kRecord || !step.deliver || skipped) continue;
      const RecordBytes& r = framed_record(framer);
      w.write_reading({std::string_view(reinterpret_cast<const char*>(r.bytes.data()), r.length), tick});
      ++log.readings;
    }
    take_sentences(pending, out.gps, w, tick);
    now = next_event(sim);
  }
  log.bytes = sink.file(path);
  return log;
}

}  // namespace quelor::devsim
