// quelor procedure: runs one of the instruments' field procedures over a raw
// serial capture, one record every --period ms of a simulated clock with a
// timer tick between records, and prints one JSON object per step (texts,
// boxes and their answers) and the result: the values stored and the
// constant records a data file would get.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "commands.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "json.h"
#include "procedures/drift_control.h"
#include "procedures/em38_4_calibration.h"
#include "procedures/em38_4_values.h"
#include "procedures/em38mk2_calibration.h"
#include "procedures/lx2_filter_calibration.h"
#include "procedures/normalisation.h"
#include "procedures/nulling.h"
#include "reading/procedure_reading.h"
#include "serial/current_ring.h"
#include "serial/instrument_framer.h"
#include "survey/instrument_handler.h"
#include "survey/survey_state.h"
#include "variant/variant.h"
#include "file_input.h"
#include "variant/instrument.h"

namespace quelor::tool {

namespace {

const char kUsage[] =
    "usage: quelor procedure --name NAME [options] [FILE]\n"
    "  NAME: em38mk2-calibration em38-4-calibration em61mk2-nulling em61lx2-nulling\n"
    "        em61lx2-filter em38-4-drift\n"
    "  Reads the instrument's raw serial bytes from FILE (standard input without one),\n"
    "  frames and decodes them as the logging window does and runs the procedure: one\n"
    "  record every --period ms, a timer tick every 100 ms after the last record until the\n"
    "  procedure ends (at most 70 s). Prints one JSON object per step and the result.\n"
    "  --period MS     milliseconds between records (default 50)\n"
    "  --answers LIST  answers to the boxes in order, 1 OK/YES, 0 CANCEL/NO (default all 1)\n"
    "  --samples N     nulling, filter or drift samples (defaults 50/100, 200, 20)\n"
    "  --two-coils     EM61-LX2 left and right coils\n"
    "  --coil-type N   the EM61 type of the settings (0 Standard, 1 High Power,\n"
    "                  2 Standard N.C.C, 3 HP N.C.C.; default 0)\n"
    "  --normalisation N  em61mk2-nulling: the EM61-MK2 current normalisation over the\n"
    "                  last N currents runs first, as at the start of a survey, and the\n"
    "                  nulling averages the readings it normalises (default 0: off)\n"
    "  The values in force before the procedure are 0 (EM61-LX2 filter factors 310).\n";

struct Options {
  std::string name;
  const char* file = nullptr;
  int period_ms = 50;
  std::vector<int> answers;
  int samples = 0;
  bool two_coils = false;
  int normalisation = 0;
  int coil_type = 0;
};

int bad(const std::string& message) {
  std::fprintf(stderr, "quelor procedure: %s\n%s", message.c_str(), kUsage);
  return 2;
}

std::optional<long> number(const char* text, long low, long high) {
  if (text == nullptr || *text == 0) return std::nullopt;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (*end != 0 || v < low || v > high) return std::nullopt;
  return v;
}

std::string parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--name" && value) {
      o.name = argv[++i];
    } else if (arg == "--period" && value) {
      const auto v = number(argv[++i], 1, 10000);
      if (!v) return "bad --period";
      o.period_ms = static_cast<int>(*v);
    } else if (arg == "--samples" && value) {
      const auto v = number(argv[++i], 1, 100000);
      if (!v) return "bad --samples";
      o.samples = static_cast<int>(*v);
    } else if (arg == "--answers" && value) {
      for (const char* c = argv[++i]; *c; ++c) {
        if (*c == '0' || *c == '1')
          o.answers.push_back(*c - '0');
        else if (*c != ',')
          return "bad --answers";
      }
    } else if (arg == "--normalisation" && value) {
      const auto v = number(argv[++i], 0, static_cast<long>(kMaxNormalisationSize));
      if (!v) return "bad --normalisation";
      o.normalisation = static_cast<int>(*v);
    } else if (arg == "--coil-type" && value) {
      const auto v = number(argv[++i], 0, 3);
      if (!v) return "bad --coil-type";
      o.coil_type = static_cast<int>(*v);
    } else if (arg == "--two-coils") {
      o.two_coils = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option '" + std::string(arg) + "'";
    } else {
      o.file = argv[i];
    }
  }
  return o.name.empty() ? "--name NAME is required" : "";
}

class SimulatedClock : public Clock {
 public:
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now = 0;
};

std::vector<std::optional<double>> values_of(const double* v, std::size_t n) {
  return std::vector<std::optional<double>>(v, v + n);
}

// The procedure under the tool: records in through the logging window's
// reading handler, whose procedure hook hands each reading over; steps out.
struct Run {
  Options options;
  SimulatedClock clock;
  Settings settings;
  Variant variant;
  MemorySink sink;
  std::optional<DataFileWriter> writer;
  std::size_t next_answer = 0;
  bool ended = false;
  SurveyRecord survey;
  InstrumentSurveyState instrument;  // the EM61-MK2 current ring
  DecodeContext decode;              // the session's, as the settings stand
  std::function<ProcedureStep(const ProcedureReading&)> on_reading;
  std::function<ProcedureStep()> on_tick;
  std::function<ProcedureStep(int)> answer;
  ProcedureStep taken;

  static bool take_reading(void* self, const ProcedureReading& reading) {
    Run& r = *static_cast<Run*>(self);
    r.taken = r.on_reading(reading);
    return true;
  }

  ProcedureStep on_record(const RecordBytes& record) {
    decode =
        decode_context_from_settings(settings, variant.instrument_type, false, ring_enabled(instrument.current_ring));
    InstrumentContext context;
    context.now = clock.now;
    context.procedure = ProcedureHook{this, take_reading};
    taken = {};
    handle_instrument_reading(survey, instrument, context, decode, record, clock.now);
    return taken;
  }

  // What the procedure reads: its own values (no offsets) or the session's.
  ReadingMeaning meaning(const ProcedureReading& reading, bool own_values) const {
    return interpret_reading(own_values ? without_offsets(decode) : decode, reading.body);
  }

  void print(const ProcedureStep& s) {
    JsonObject j;
    j.integer("t", clock.now);
    if (s.message) {
      std::string lines = "[";
      for (const std::string& l : *s.message) lines += (lines.size() > 1 ? "," : "") + json_string(l);
      j.raw("message", lines + "]");
    }
    if (s.beep) j.boolean("beep", true);
    if (s.save_settings) j.boolean("save_settings", true);
    if (s.ended) j.boolean("ended", true);
    if (j.text() != "{\"t\":" + std::to_string(clock.now) + "}") std::printf("%s\n", j.text().c_str());
  }

  void take(ProcedureStep s) {
    while (true) {
      print(s);
      write_procedure_records(&*writer, s.writes);
      ended |= s.ended;
      if (!s.ask) return;
      const int a = next_answer < options.answers.size() ? options.answers[next_answer] : 1;
      ++next_answer;
      std::printf("%s\n", JsonObject()
                              .integer("t", clock.now)
                              .str("ask", s.ask->title)
                              .str("text", s.ask->text)
                              .integer("answer", a)
                              .text()
                              .c_str());
      s = answer ? answer(a) : ProcedureStep{};
    }
  }
};

struct Kind {
  const char* name;
  InstrumentType type;
};

constexpr Kind kKinds[] = {
    {"em38mk2-calibration", kEm38Mk2}, {"em38-4-calibration", kEm38_4}, {"em61mk2-nulling", kEm61Mk2},
    {"em61lx2-nulling", kEm61Lx2},     {"em61lx2-filter", kEm61Lx2},    {"em38-4-drift", kEm38_4},
};

void print_result(Run& r) {
  JsonObject j;
  const Settings& s = r.settings;
  if (has_trait(r.variant.instrument_type, Trait::kCalibrationOffsets))
    j.numbers("em38mk2_calibration", values_of(s.em38mk2_calibration.data(), 6));
  if (has_trait(r.variant.instrument_type, Trait::kCalibrationConstants)) {
    const std::array<double, 28> c = em38_4_constants(em38_4_calibration(s.em38_4));
    j.numbers("em38_4_constants", values_of(c.data(), 18));
  }
  if (is_em61(r.variant.instrument_type)) j.numbers("null_values", values_of(s.channel_null_values.data(), 4));
  if (r.options.name == "em61lx2-filter") {
    j.num("left_filter_factor", s.left_coil_filter_factor);
    j.num("right_filter_factor", s.right_coil_filter_factor);
  }
  std::string records = "[";
  const std::string& bytes = r.sink.file(L"procedure.dat");
  const std::size_t l = static_cast<std::size_t>(r.writer->record_length());
  for (std::size_t at = 0; at + l <= bytes.size(); at += l)
    records += (records.size() > 1 ? "," : "") + json_string(bytes.substr(at, l - 1));
  j.raw("records", records + "]");
  j.boolean("ended", r.ended);
  std::printf("%s\n", j.text().c_str());
}

struct Procedures {
  Em38Mk2Calibration em38mk2;
  Em38_4CalibrationRun em38_4;
  Em61Procedures em61;
  DriftControl drift;
};

// Wires the named procedure to the run; false for an unknown name. The
// callbacks outlive this function: they capture the run and the procedures
// (which live as long as the run) by reference and everything else by value.
bool wire(Run& r, Procedures& p) {
  const std::string& n = r.options.name;
  Settings& s = r.settings;
  if (n == "em38mk2-calibration") {
    em38mk2_prepare(p.em38mk2, s);
    r.take(em38mk2_start(p.em38mk2, true, r.clock));
    r.on_reading = [&r, &p](const ProcedureReading& reading) {
      const ReadingMeaning m = r.meaning(reading, em38mk2_calibrating(p.em38mk2));
      return em38mk2_on_reading(p.em38mk2, r.settings, em38mk2_procedure_reading(m), r.clock);
    };
    r.on_tick = [&r, &p] { return em38mk2_on_tick(p.em38mk2, r.settings, r.clock); };
  } else if (n == "em38-4-calibration") {
    r.on_reading = [&r, &p](const ProcedureReading& reading) {
      const ReadingMeaning m = r.meaning(reading, em38_4_calibrating(p.em38_4));
      return em38_4_on_reading(p.em38_4, r.settings, em38_4_procedure_reading(m), r.clock);
    };
    r.on_tick = [&r, &p] { return em38_4_on_tick(p.em38_4, r.settings, r.clock); };
    r.answer = [&r, &p](int a) { return em38_4_answer(p.em38_4, r.settings, a, r.clock); };
    r.take(em38_4_start(p.em38_4, s, true, r.clock));
  } else if (n == "em38-4-drift") {
    r.on_reading = [&r, &p](const ProcedureReading& reading) {  // the calibrated values
      return drift_on_reading(p.drift, em38_4_procedure_reading(r.meaning(reading, false)));
    };
    r.answer = [&p](int a) { return drift_answer(p.drift, a); };
    r.take(drift_start(p.drift, kEm38_4, r.options.samples > 0 ? r.options.samples : 20, true));
  } else if (n == "em61mk2-nulling" || n == "em61lx2-nulling" || n == "em61lx2-filter") {
    const InstrumentType type = r.variant.instrument_type;
    const int nulling = r.options.samples > 0 ? r.options.samples
                        : type == kEm61Mk2    ? kMk2NullingSamples
                                              : kLx2NullingSamples;
    r.on_reading = [&r, &p, type, nulling](const ProcedureReading& reading) {
      Settings& rs = r.settings;
      if (p.em61.state == kProcedureNormalisation) {
        ProcedureStep step = normalisation_on_reading(p.em61, r.instrument.current_ring);
        if (!step.ended) return step;
        r.print(step);  // the nulling follows once the ring is full
        return nulling_start(p.em61, nulling);
      }
      // The filter calibration reads the nulled values, the nulling the instrument's own.
      const bool filter = p.em61.state == kProcedureFilterFactor;
      const Em61Reading e = em61_procedure_reading(r.meaning(reading, !filter), r.decode);
      return filter ? filter_on_reading(p.em61, rs, e) : nulling_on_reading(p.em61, rs, e, type, true);
    };
    r.answer = [&r, &p](int a) { return filter_answer(p.em61, r.settings, a); };
    if (n == "em61lx2-filter") {
      const int filter = r.options.samples > 0 ? r.options.samples : kLx2FilterSamples;
      r.take(filter_calibration_start(p.em61, r.options.two_coils, kLx2NullingSamples, filter));
    } else if (has_trait(type, Trait::kCurrentRing) && r.options.normalisation > 0) {
      r.take(normalisation_start(p.em61, r.instrument.current_ring));
    } else {
      r.take(nulling_start(p.em61, nulling));
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

int run_procedure(int argc, char** argv) {
  Run r;
  const std::string error = parse(argc, argv, r.options);
  if (!error.empty()) return bad(error);
  const Kind* kind = nullptr;
  for (const Kind& k : kKinds)
    if (r.options.name == k.name) kind = &k;
  if (kind == nullptr) return bad("unknown procedure '" + r.options.name + "'");
  std::vector<std::uint8_t> data;
  if (!read_input(r.options.file, data)) return bad("cannot read the input");
  r.variant = {kind->type, kNavigation};
  r.sink.open(L"procedure.dat");
  r.writer.emplace(r.sink, r.variant);
  // The settings the program would run with: no constants yet, the EM61
  // type, the coils and the current ring of the options.
  r.settings.channel_null_values = {};
  r.settings.em38mk2_calibration = {};
  r.settings.em61_model = r.options.coil_type;
  r.settings.number_of_sensors = r.options.two_coils ? 1 : 0;
  r.settings.normalisation_size = r.options.normalisation;
  r.instrument.current_ring = make_current_ring(normalisation_size(r.settings, kind->type));
  r.survey.state = kStateStandBy;
  Procedures p;
  wire(r, p);
  ReaderOptions ro;
  ro.two_coils = r.options.two_coils;
  std::optional<InstrumentFramer> framer = make_instrument_framer(kind->type, ro);
  for (std::uint8_t b : data) {
    if (r.ended) break;
    if (frame_byte(*framer, b, FrameContext{}).event != FrameEvent::kRecord) continue;
    r.clock.now += static_cast<std::uint32_t>(r.options.period_ms);
    r.take(r.on_record(framed_record(*framer)));
    if (r.on_tick && !r.ended) r.take(r.on_tick());
  }
  for (int k = 0; k < 700 && !r.ended && r.on_tick; ++k) {
    r.clock.now += 100;
    r.take(r.on_tick());
  }
  print_result(r);
  return r.ended ? 0 : 1;
}

}  // namespace quelor::tool
