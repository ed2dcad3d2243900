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
#include "serial/current_ring.h"
#include "serial/decode_em61.h"
#include "serial/instrument_framer.h"
#include "variant/variant.h"
#include "file_input.h"

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
        if (*c == '0' || *c == '1') o.answers.push_back(*c - '0');
        else if (*c != ',') return "bad --answers";
      }
    } else if (arg == "--normalisation" && value) {
      const auto v = number(argv[++i], 0, static_cast<long>(kMaxNormalisationSize));
      if (!v) return "bad --normalisation";
      o.normalisation = static_cast<int>(*v);
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

// The procedure under the tool: records in, steps out.
struct Run {
  Options options;
  SimulatedClock clock;
  Settings settings;
  Variant variant;
  MemorySink sink;
  std::optional<DataFileWriter> writer;
  std::size_t next_answer = 0;
  bool ended = false;
  std::function<ProcedureStep(const RecordBytes&)> on_record;
  std::function<ProcedureStep()> on_tick;
  std::function<ProcedureStep(int)> answer;

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
  int type;
};

constexpr Kind kKinds[] = {
    {"em38mk2-calibration", kEm38Mk2}, {"em38-4-calibration", kEm38_4}, {"em61mk2-nulling", kEm61Mk2},
    {"em61lx2-nulling", kEm61Lx2},     {"em61lx2-filter", kEm61Lx2},    {"em38-4-drift", kEm38_4},
};

void print_result(Run& r) {
  JsonObject j;
  const Settings& s = r.settings;
  if (r.variant.instrument_type == kEm38Mk2)
    j.numbers("em38mk2_calibration", values_of(s.em38mk2_calibration.data(), 6));
  if (r.variant.instrument_type == kEm38_4) {
    const std::array<double, 28> c = em38_4_constants(em38_4_calibration(s.em38_4));
    j.numbers("em38_4_constants", values_of(c.data(), 18));
  }
  if (r.variant.instrument_type == kEm61Mk2 || r.variant.instrument_type == kEm61Lx2)
    j.numbers("null_values", values_of(s.channel_null_values.data(), 4));
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
  CurrentRing ring = make_current_ring(0);
};

// Wires the named procedure to the run; false for an unknown name. The
// callbacks outlive this function: they capture the run and the procedures
// (which live as long as the run) by reference and everything else by value.
bool wire(Run& r, Procedures& p) {
  const std::string& n = r.options.name;
  Settings& s = r.settings;
  const bool lx2_two = r.options.two_coils;
  if (n == "em38mk2-calibration") {
    em38mk2_prepare(p.em38mk2, s);
    r.take(em38mk2_start(p.em38mk2, true, r.clock));
    r.on_record = [&r, &p](const RecordBytes& rec) {
      Settings& rs = r.settings;
      return em38mk2_on_reading(p.em38mk2, rs, decode_em38_mk2(rec.view(), em38mk2_decoder_offsets(p.em38mk2, rs), false),
                                r.clock);
    };
    r.on_tick = [&r, &p] { return em38mk2_on_tick(p.em38mk2, r.settings, r.clock); };
  } else if (n == "em38-4-calibration") {
    r.on_record = [&r, &p](const RecordBytes& rec) {
      Settings& rs = r.settings;
      return em38_4_on_reading(p.em38_4, rs, decode_em38_4(rec.view(), em38_4_decoder_calibration(p.em38_4, rs), false),
                               r.clock);
    };
    r.on_tick = [&r, &p] { return em38_4_on_tick(p.em38_4, r.settings, r.clock); };
    r.answer = [&r, &p](int a) { return em38_4_answer(p.em38_4, r.settings, a, r.clock); };
    r.take(em38_4_start(p.em38_4, s, true, r.clock));
  } else if (n == "em38-4-drift") {
    r.on_record = [&p](const RecordBytes& rec) { return drift_on_reading(p.drift, decode_em38_4(rec.view(), {}, false)); };
    r.answer = [&p](int a) { return drift_answer(p.drift, a); };
    r.take(drift_start(p.drift, kEm38_4, r.options.samples > 0 ? r.options.samples : 20, true));
  } else if (n == "em61mk2-nulling" || n == "em61lx2-nulling" || n == "em61lx2-filter") {
    const int type = r.variant.instrument_type;
    const int nulling = r.options.samples > 0 ? r.options.samples : type == kEm61Mk2 ? kMk2NullingSamples : kLx2NullingSamples;
    r.on_record = [&r, &p, type, nulling, lx2_two](const RecordBytes& rec) {
      Settings& rs = r.settings;
      RecordBytes copy = rec;
      const Em61Reading e = type == kEm61Mk2 ? decode_em61_mk2(copy, {}, p.ring, rs.channel_null_values)
                                             : decode_em61_lx2(copy, lx2_two, p.ring, rs.channel_null_values);
      if (p.em61.state == kProcedureNormalisation) {
        ProcedureStep step = normalisation_on_reading(p.em61, p.ring);
        if (!step.ended) return step;
        r.print(step);  // the nulling follows once the ring is full
        return nulling_start(p.em61, nulling);
      }
      if (p.em61.state == kProcedureFilterFactor) return filter_on_reading(p.em61, rs, e);
      return nulling_on_reading(p.em61, rs, e, type, true);
    };
    r.answer = [&r, &p](int a) { return filter_answer(p.em61, r.settings, a); };
    if (n == "em61lx2-filter") {
      const int filter = r.options.samples > 0 ? r.options.samples : kLx2FilterSamples;
      r.take(filter_calibration_start(p.em61, lx2_two, kLx2NullingSamples, filter));
    } else if (type == kEm61Mk2 && r.options.normalisation > 0) {
      s.normalisation_size = r.options.normalisation;
      p.ring = make_current_ring(normalisation_size(s, type));
      r.take(normalisation_start(p.em61, p.ring));
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
