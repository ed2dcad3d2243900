// quelor decode: runs an instrument's framer over a raw serial capture and
// prints one JSON object per accepted record with the values the program
// has of it: the record as the data file receives it, read by
// interpret_reading with the decode context of the settings the options
// give.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "commands.h"
#include "json.h"
#include "procedures/normalisation.h"
#include "reading/decode_context.h"
#include "reading/reading_meaning.h"
#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "serial/em38_length.h"
#include "serial/instrument_framer.h"
#include "serial/text_fields.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"
#include "variant/variant.h"
#include "file_input.h"

namespace quelor::tool {

namespace {

struct Instrument {
  const char* name;
  std::optional<InstrumentType> type;  // nullopt: the tilt meter
};

constexpr Instrument kInstruments[] = {
    {"em31mk2", kEm31Mk2}, {"em38", kEm38},       {"em34-3", kEm34_3},   {"em38mk2", kEm38Mk2}, {"em38-4", kEm38_4},
    {"cs21", kCs21},       {"grad601", kGrad601}, {"em61lx2", kEm61Lx2}, {"em61mk2", kEm61Mk2}, {"tilt", std::nullopt},
};

struct Options {
  const Instrument* instrument = nullptr;
  const char* file = nullptr;
  bool manual = false, inphase_only = false;
  bool single_coil = false, raw_inphase = false, two_sensors = false, second_mode = false;
  int record_length = 0;
  int coil_type = 0;
  long normalisation = 0;
};

int bad(const std::string& message) {
  std::fprintf(stderr, "quelor decode: %s\n", message.c_str());
  return 2;
}

bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<long> parse_integer(const char* text, long low, long high) {
  if (text == nullptr || *text == 0) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != 0 || v < low || v > high) return std::nullopt;
  return v;
}

struct Flag {
  const char* name;
  bool Options::*field;
};

constexpr Flag kFlags[] = {
    {"--manual", &Options::manual},           {"--inphase-only", &Options::inphase_only},
    {"--single-coil", &Options::single_coil}, {"--raw-inphase", &Options::raw_inphase},
    {"--two-sensors", &Options::two_sensors}, {"--second-mode", &Options::second_mode},
};

struct IntOption {
  const char* name;
  long low, high;
};

constexpr IntOption kIntOptions[] = {
    {"--record-length", 7, 12},
    {"--coil-type", 0, 3},
    {"--normalisation", 0, 100000},
};

void store_int(Options& o, std::string_view name, long v) {
  if (name == "--record-length") o.record_length = static_cast<int>(v);
  if (name == "--coil-type") o.coil_type = static_cast<int>(v);
  if (name == "--normalisation") o.normalisation = v;
}

const Instrument* find_instrument(std::string_view name) {
  for (const Instrument& i : kInstruments)
    if (equal_nocase(name, i.name)) return &i;
  return nullptr;
}

// Returns an error text, empty when the arguments are good.
std::string parse_options(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--instrument") {
      if (i + 1 >= argc) return "--instrument needs a name";
      o.instrument = find_instrument(argv[++i]);
      if (o.instrument == nullptr) return std::string("unknown instrument '") + argv[i] + "'";
      continue;
    }
    bool known = false;
    for (const Flag& f : kFlags)
      if (arg == f.name) {
        o.*(f.field) = true;
        known = true;
      }
    for (const IntOption& n : kIntOptions)
      if (arg == n.name) {
        if (i + 1 >= argc) return std::string(n.name) + " needs a number";
        const std::optional<long> v = parse_integer(argv[++i], n.low, n.high);
        if (!v) return std::string("bad value '") + argv[i] + "' for " + n.name;
        if (std::string_view(n.name) == "--record-length" && *v != 7 && *v != 12)
          return "--record-length must be 7 or 12";
        store_int(o, n.name, *v);
        known = true;
      }
    if (known) continue;
    if (arg.size() > 1 && arg[0] == '-') return std::string("unknown option '") + argv[i] + "'";
    if (o.file != nullptr) return "more than one input file";
    o.file = argv[i];
  }
  if (o.instrument == nullptr) return "--instrument NAME is required";
  return {};
}

// The eight channel slots of the dipole instruments from the meaning's
// columns (V conductivity, V in-phase, H conductivity, H in-phase of each
// coil); the EM34-3's six spacings are its columns.
std::vector<std::optional<double>> slot_values(const ReadingMeaning& m, InstrumentType type) {
  std::vector<std::optional<double>> v(8);
  if (has_trait(type, Trait::kCoilConfigurations)) {
    for (std::size_t i = 0; i < 6; ++i) v[i] = m.columns[i];
    return v;
  }
  static constexpr std::size_t kSlotOfColumn[4] = {0, 2, 1, 3};
  for (std::size_t col = 0; col < static_cast<std::size_t>(m.column_count) && col < 8; ++col)
    v[kSlotOfColumn[col % 4] + 4 * (col / 4)] = m.columns[col];
  return v;
}

template <std::size_t N>
std::vector<std::optional<double>> all_values(const std::array<double, N>& a, std::size_t count = N) {
  return {a.begin(), a.begin() + static_cast<std::ptrdiff_t>(count)};
}

template <std::size_t N>
std::vector<std::optional<double>> optional_values(const std::array<std::optional<double>, N>& a,
                                                   std::size_t count = N) {
  return {a.begin(), a.begin() + static_cast<std::ptrdiff_t>(count)};
}

// The settings the options stand for, as the program would hold them.
Settings settings_of(const Options& o, InstrumentType type) {
  Settings s;
  s.survey_mode = o.manual ? kModeManual : kModeAuto;
  s.component = o.inphase_only ? 1 : 0;
  s.em38mk2_model = o.single_coil ? 1 : 0;
  s.em38_4.inphase_units = o.raw_inphase ? 1 : 0;
  s.number_of_sensors = o.two_sensors ? 1 : 0;
  s.em61_model = o.coil_type;
  s.normalisation_size = static_cast<int>(o.normalisation);
  s.channel_null_values = {};
  (void)type;
  return s;
}

struct Decoder {
  const Options& o;
  CurrentRing ring;
  DecodeContext context;

  // The program's reading of a record: the record the file receives (the
  // EM61 decoders put the ring's mean current in it), then its meaning.
  ReadingMeaning meaning(const RecordBytes& framed, InstrumentType type, std::string& body) {
    RecordBytes record = framed;
    if (type == kEm61Mk2) decode_em61_mk2(record, em61_options(context), ring, {});
    if (type == kEm61Lx2) decode_em61_lx2(record, context.two_sensors, {});
    const std::string bytes(reinterpret_cast<const char*>(record.bytes.data()), record.length);
    body = written_reading_body(type, ReadingInput{bytes, 0, 0});
    return interpret_reading(context, body);
  }

  std::string em31_type(const RecordBytes& record, InstrumentType type) {
    std::string body;
    const ReadingMeaning m = meaning(record, type, body);
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    j.str("dipole", std::string(1, m.dipole)).str("mode", std::string(1, m.mode)).num("range", m.full_scale);
    return j.numbers("slots", slot_values(m, type)).text();
  }

  // The two further words (10-11, 12-13) are stored as received.
  std::string em38mk2(const RecordBytes& record) {
    std::string body;
    const ReadingMeaning m = meaning(record, kEm38Mk2, body);
    const std::span<const std::uint8_t> b{record.bytes.data(), 14};
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    j.str("dipole", std::string(1, m.dipole)).str("mode", std::string(1, m.mode));
    j.numbers("slots", slot_values(m, kEm38Mk2));
    return j.raw("raw", "[" + std::to_string(be_u16(b, 10)) + "," + std::to_string(be_u16(b, 12)) + "]").text();
  }

  std::string em38_4(const RecordBytes& record) {
    std::string body;
    const ReadingMeaning m = meaning(record, kEm38_4, body);
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    j.str("mode", std::string(1, m.mode)).numbers("slots", optional_values(m.columns, 8));
    std::vector<std::optional<double>> extra(m.columns.begin() + 8, m.columns.begin() + 12);
    return j.numbers("extra", extra).text();
  }

  // The channels shown: EM61-MK2 channels 1-4; EM61-LX2 E, L, F of each coil.
  std::string em61(const RecordBytes& framed, InstrumentType type) {
    std::string body;
    const ReadingMeaning m = meaning(framed, type, body);
    JsonObject j;
    j.raw("record", json_hex(framed.bytes.data(), framed.length));
    j.str("letter", std::string(1, m.mode));
    j.numbers("channels", all_values(m.channels, static_cast<std::size_t>(m.channel_count)));
    return j.num("current", em61_recorded_current(body)).text();
  }

  std::string grad601(const RecordBytes& record) {
    std::string body;
    const ReadingMeaning m = meaning(record, kGrad601, body);
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    return j.numbers("values", optional_values(m.columns, static_cast<std::size_t>(m.channel_count))).text();
  }

  // The four values shown (a field that is no number shows 0).
  std::string cs21(const RecordBytes& record) {
    std::string body;
    const ReadingMeaning m = meaning(record, kCs21, body);
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    j.numbers("values", all_values(m.channels, static_cast<std::size_t>(m.channel_count)));
    return j.str("flag", m.mode ? std::string(1, m.mode) : std::string()).text();
  }

  std::string tilt(const RecordBytes& record, bool valid) const {
    JsonObject j;
    j.raw("record", json_hex(record.bytes.data(), record.length));
    return j.str("sentence", record.text()).boolean("valid", valid).text();
  }

  std::string line(const RecordBytes& record, bool valid) {
    if (!o.instrument->type) return tilt(record, valid);
    const InstrumentType type = *o.instrument->type;
    switch (type) {
      case kEm31Mk2:
      case kEm38:
      case kEm34_3: return em31_type(record, type);
      case kEm38Mk2: return em38mk2(record);
      case kEm38_4: return em38_4(record);
      case kEm61Lx2:
      case kEm61Mk2: return em61(record, type);
      case kGrad601: return grad601(record);
      case kCs21: return cs21(record);
      default: return tilt(record, valid);
    }
  }
};

}  // namespace

int run_decode(int argc, char** argv) {
  Options o;
  const std::string error = parse_options(argc, argv, o);
  if (!error.empty()) return bad(error + " (quelor decode --help)");
  if (o.instrument == nullptr) return bad("--instrument NAME is required");
  std::vector<std::uint8_t> data;
  if (!read_input(o.file, data)) return bad(std::string("cannot read '") + (o.file ? o.file : "-") + "'");

  const bool tilt = !o.instrument->type;
  const InstrumentType type = o.instrument->type.value_or(kEm31Mk2);  // the tilt meter: none of its own
  ReaderOptions ro;
  ro.two_coils = o.two_sensors;
  ro.second_mode = o.second_mode;
  if (type == kEm38) {
    const std::optional<int> length =
        o.record_length ? std::optional<int>(o.record_length) : em38_length_of(data.data(), data.size());
    if (!length) return bad("no EM38 record of 7 or 12 characters found to set the record length");
    ro.record_length = *length;
  }
  InstrumentFramer framer = tilt ? make_tilt_reader_framer() : *make_instrument_framer(type, ro);
  FrameContext ctx;
  ctx.survey_mode = o.manual ? 2 : 0;
  const Settings settings = settings_of(o, type);
  const std::size_t ring = tilt ? 0 : normalisation_size(settings, type);
  Decoder decoder{o, make_current_ring(ring), decode_context_from_settings(settings, type, o.manual, ring > 0)};
  for (const std::uint8_t byte : data) {
    const FrameStep step = frame_byte(framer, byte, ctx);
    const bool tilt_line = tilt && step.event == FrameEvent::kRejected;
    if (!(step.event == FrameEvent::kRecord && step.deliver) && !tilt_line) continue;
    const std::string line = decoder.line(framed_record(framer), !tilt_line);
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 2;
}

}  // namespace quelor::tool
