#include "devsim/options.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "variant/instrument.h"

namespace quelor::devsim {
namespace {

std::optional<double> number_of(std::string_view w) {
  const std::string text(w);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> integer_of(std::string_view w) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
  if (ec != std::errc() || end != w.data() + w.size()) return std::nullopt;
  return v;
}

using Setter = std::function<std::string(Options&, std::string_view)>;

struct OptionRow {
  std::string_view name;
  bool takes_value;
  Setter set;
};

Setter number_in(double low, double high, std::function<void(Options&, double)> store) {
  return [=](Options& o, std::string_view v) -> std::string {
    const auto x = number_of(v);
    if (!x || *x < low || *x > high) return "value out of range";
    store(o, *x);
    return {};
  };
}

Setter integer_in(long long low, long long high, std::function<void(Options&, long long)> store) {
  return [=](Options& o, std::string_view v) -> std::string {
    const auto x = integer_of(v);
    if (!x || *x < low || *x > high) return "value out of range";
    store(o, *x);
    return {};
  };
}

Setter flag(std::function<void(Options&)> store) {
  return [=](Options& o, std::string_view) -> std::string {
    store(o);
    return {};
  };
}

std::string set_instrument(Options& o, std::string_view v) {
  const auto kind = find_instrument_kind(v);
  if (!kind) return "unknown instrument (em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2)";
  o.instrument.kind = *kind;
  o.instrument_on = true;
  return {};
}

std::string set_gps(Options& o, std::string_view v) {
  const auto f = gps_format_from_name(v);
  if (!f) return "unknown format (gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll)";
  o.gps.style.format = *f;
  o.gps_on = true;
  return {};
}

std::string set_origin(Options& o, std::string_view v) {
  const std::size_t comma = v.find(',');
  if (comma == std::string_view::npos) return "expected LAT,LON";
  const auto lat = number_of(v.substr(0, comma));
  const auto lon = number_of(v.substr(comma + 1));
  if (!lat || !lon || std::fabs(*lat) > 84 || std::fabs(*lon) > 180) return "expected LAT,LON in degrees";
  o.origin_latitude = *lat;
  o.origin_longitude = *lon;
  return {};
}

std::string set_dipole(Options& o, std::string_view v) {
  if (v != "V" && v != "H" && v != "v" && v != "h") return "expected V or H";
  o.instrument.setup.vertical = v == "V" || v == "v";
  return {};
}

std::string set_range(Options& o, std::string_view v) {
  if (v == "auto") {
    o.instrument.range = kAutoRange;
    return {};
  }
  const auto x = integer_of(v);
  static constexpr std::array<long long, 7> kRanges{3, 10, 30, 100, 300, 1000};
  for (long long r : kRanges)
    if (x && *x == r) {
      o.instrument.range = static_cast<int>(r);
      return {};
    }
  return "expected auto, 3, 10, 30, 100, 300 or 1000";
}

std::string set_letter(Options& o, std::string_view v) {
  if (v.size() != 1 || std::string_view("TDEF").find(v[0]) == std::string_view::npos) return "expected T, D, E or F";
  o.instrument.em61_letter = v[0];
  return {};
}

std::string set_rts_units(Options& o, std::string_view v) {
  if (v == "m")
    o.gps.style.rts_units = RtsUnits::kMetres;
  else if (v == "ft")
    o.gps.style.rts_units = RtsUnits::kInternationalFeet;
  else if (v == "usft")
    o.gps.style.rts_units = RtsUnits::kUsSurveyFeet;
  else
    return "expected m, ft or usft";
  return {};
}

std::string set_coil(Options& o, std::string_view v) {
  if (v == "standard")
    o.instrument.setup.high_power = false;
  else if (v == "hp")
    o.instrument.setup.high_power = true;
  else
    return "expected standard or hp";
  return {};
}

const std::vector<OptionRow>& option_table() {
  static const std::vector<OptionRow> rows{
      {"--instrument", true, set_instrument},
      {"--gps", true, set_gps},
      {"--no-instrument", false, flag([](Options& o) { o.instrument_on = false; })},
      {"--no-gps", false, flag([](Options& o) { o.gps_on = false; })},
      {"--tilt", false, flag([](Options& o) { o.tilt_on = true; })},
      {"--dir", true,
       [](Options& o, std::string_view v) {
         o.dir = std::string(v);
         return std::string();
       }},
      {"--control", true,
       [](Options& o, std::string_view v) {
         o.control_path = std::string(v);
         return std::string();
       }},
      {"--gps-capture", true,
       [](Options& o, std::string_view v) {
         o.gps_capture_path = std::string(v);
         return std::string();
       }},
      {"--seed", true,
       integer_in(0, 1LL << 62, [](Options& o, long long v) { o.seed = static_cast<std::uint64_t>(v); })},
      {"--duration", true, number_in(0, 1e7, [](Options& o, double v) { o.duration = v; })},
      {"--origin", true, set_origin},
      {"--lines", true, integer_in(1, 10000, [](Options& o, long long v) { o.walk.lines = static_cast<int>(v); })},
      {"--line-length", true, number_in(0.1, 100000, [](Options& o, double v) { o.walk.line_length = v; })},
      {"--spacing", true, number_in(0.01, 1000, [](Options& o, double v) { o.walk.spacing = v; })},
      {"--speed", true, number_in(0.01, 50, [](Options& o, double v) { o.walk.speed = v; })},
      {"--heading", true, number_in(-360, 360, [](Options& o, double v) { o.walk.heading = v; })},
      {"--skip-line", true,
       integer_in(0, 9999, [](Options& o, long long v) { o.skipped_lines.push_back(static_cast<int>(v)); })},
      {"--loop", false, flag([](Options& o) { o.walk.loop = true; })},
      {"--gps-rate", true, number_in(1, 20, [](Options& o, double v) { o.gps.rate_hz = v; })},
      {"--quality", true, integer_in(0, 9, [](Options& o, long long v) { o.quality = static_cast<int>(v); })},
      {"--satellites", true, integer_in(0, 99, [](Options& o, long long v) { o.satellites = static_cast<int>(v); })},
      {"--hdop", true, number_in(0, 99, [](Options& o, double v) { o.hdop = v; })},
      {"--gps-decimals", true,
       integer_in(2, 9, [](Options& o, long long v) { o.gps.style.decimals = static_cast<int>(v); })},
      {"--gps-noise", true, number_in(0, 100, [](Options& o, double v) { o.gps.noise = v; })},
      {"--slam", false, flag([](Options& o) { o.gps.style.slam = true; })},
      {"--rts-units", true, set_rts_units},
      {"--noise", true, number_in(0, 100, [](Options& o, double v) { o.instrument.setup.noise = v; })},
      {"--rate", true, number_in(0.1, 100, [](Options& o, double v) { o.rate_hz = v; })},
      {"--em38-length", true,
       [](Options& o, std::string_view v) -> std::string {
         if (v != "7" && v != "12") return "expected 7 or 12";
         o.instrument.em38_length = v == "7" ? 7 : 12;
         return {};
       }},
      {"--em38-4-rate", true,
       integer_in(0, 8, [](Options& o, long long v) { o.instrument.em38_4_rate = static_cast<int>(v); })},
      {"--em34-spacing", true,
       [](Options& o, std::string_view v) -> std::string {
         if (v != "10" && v != "20" && v != "40") return "expected 10, 20 or 40";
         o.instrument.setup.em34_spacing = static_cast<int>(*integer_of(v));
         return {};
       }},
      {"--dipole", true, set_dipole},
      {"--range", true, set_range},
      {"--sensors", true,
       integer_in(1, 2, [](Options& o, long long v) { o.instrument.setup.sensors = static_cast<int>(v); })},
      {"--em61-letter", true, set_letter},
      {"--polled", false, flag([](Options& o) { o.instrument.polled = true; })},
      {"--coil", true, set_coil},
      {"--trigger-records", true,
       integer_in(1, 1000, [](Options& o, long long v) { o.instrument.trigger_records = static_cast<int>(v); })},
      {"--tilt-rate", true, integer_in(0, 4, [](Options& o, long long v) { o.tilt_rate_index = static_cast<int>(v); })},
      {"--help", false, flag([](Options& o) { o.help = true; })},
  };
  return rows;
}

const OptionRow* find_option(std::string_view name) {
  for (const OptionRow& r : option_table())
    if (r.name == name) return &r;
  return nullptr;
}

// The record period from the instrument and its rate options.
void resolve_period(Options& o) {
  InstrumentConfig& c = o.instrument;
  c.period_ms = c.kind.period_ms;
  if (c.kind.type == kEm38) c.period_ms = em38_period_ms(c.em38_length);
  if (has_trait(c.kind.type, Trait::kRecordGroups)) c.period_ms = 100.0 * em38_4_records_per_reading(c.em38_4_rate);
  if (c.kind.configurable_rate && o.rate_hz) c.period_ms = 1000.0 / *o.rate_hz;
}

}  // namespace

OptionsParse parse_options(std::span<const std::string_view> args) {
  OptionsParse out;
  Options& o = out.options;
  bool instrument_named = false, gps_named = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i], value;
    bool inline_value = false;
    if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      inline_value = true;
    }
    const OptionRow* row = find_option(arg);
    if (!row) {
      out.error = "unknown option '" + std::string(args[i]) + "'";
      return out;
    }
    if (row->takes_value && !inline_value) {
      if (i + 1 >= args.size()) {
        out.error = std::string(arg) + " needs a value";
        return out;
      }
      value = args[++i];
    }
    if (std::string e = row->set(o, value); !e.empty()) {
      out.error = std::string(arg) + ": " + e;
      return out;
    }
    instrument_named |= arg == "--instrument";
    gps_named |= arg == "--gps";
  }
  if (o.help) return out;
  if (o.instrument_on && !instrument_named)
    out.error = "--instrument NAME (or --no-instrument) is required";
  else if (o.gps_on && !gps_named)
    out.error = "--gps FORMAT (or --no-gps) is required";
  else if (!o.instrument_on && !o.gps_on && !o.tilt_on)
    out.error = "no device selected";
  resolve_period(o);
  return out;
}

std::string usage_text() {
  return "usage: devsim --instrument NAME --gps FORMAT [options]\n"
         "       devsim survey --instrument NAME [walk options] [--rate HZ] [--feet|--us-feet] --out FILE\n"
         "       devsim truth --instrument NAME [walk options] --channel NAME --frame W,N,COLUMNS,ROWS,CELL\n"
         "                    [--feet|--us-feet] --out FILE.tif\n"
         "  NAME: em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2\n"
         "  FORMAT: gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll\n"
         "devices:   --no-instrument --no-gps --tilt --dir DIR --control FIFO --gps-capture FILE\n"
         "run:       --seed N --duration S\n"
         "walk:      --origin LAT,LON --lines N --line-length M --spacing M --speed M/S\n"
         "           --heading DEG --loop\n"
         "gps:       --gps-rate HZ --quality Q --satellites N --hdop X --gps-decimals N\n"
         "           --gps-noise SCALE --slam --rts-units m|ft|usft\n"
         "instrument: --rate HZ --em38-length 7|12 --em38-4-rate 0..8 --em34-spacing 10|20|40\n"
         "           --dipole V|H --range auto|N --sensors 1|2 --em61-letter T|D|E|F --polled\n"
         "           --coil standard|hp --noise SCALE --trigger-records N\n"
         "tilt:      --tilt-rate 0..4\n"
         "control (stdin or FIFO): trigger [N] | silence DEVICE S | garbage DEVICE BYTES |\n"
         "           badsum DEVICE N | quality Q | satellites N | hdop X | dipole V|H |\n"
         "           pause-walk | resume-walk | status | quit\n";
}

}  // namespace quelor::devsim
