#include "devsim/offline.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/geodesy.h"
#include "devsim/simulator.h"
#include "devsim/survey_log.h"
#include "devsim/truth.h"
#include "gps/units.h"
#include "grid/geotiff.h"

namespace quelor::devsim {

namespace {

constexpr std::uint64_t kDefaultSeed = 1;

// The options of these commands; the rest goes to the simulator's parser.
struct Offline {
  std::string out, channel, frame;
  int map_units = kUnitMetres;
  double rate = 0;  // records a second; 0: the instrument's own
  Options options;
  std::uint64_t seed = kDefaultSeed;
  std::string error;
};

Offline parse(int argc, char** argv, const char* default_gps) {
  Offline o;
  std::vector<std::string_view> rest;
  bool gps = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--out" || a == "--channel" || a == "--frame") {
      if (i + 1 >= argc) {
        o.error = std::string(a) + " needs a value";
        return o;
      }
      (a == "--out" ? o.out : a == "--channel" ? o.channel : o.frame) = argv[++i];
    } else if (a == "--rate" && i + 1 < argc) {
      // Any instrument's record rate, for surveys of a given size.
      o.rate = std::strtod(argv[++i], nullptr);
      if (!(o.rate >= 0.1 && o.rate <= 100)) {
        o.error = "bad --rate (0.1-100 records a second)";
        return o;
      }
    } else if (a == "--feet") {
      o.map_units = kUnitFeet;
    } else if (a == "--us-feet") {
      o.map_units = kUnitUsFeet;
    } else {
      gps |= a == "--gps" || a == "--no-gps" || a.starts_with("--gps=");
      rest.push_back(a);
    }
  }
  if (!gps) {
    rest.push_back(default_gps[0] ? "--gps" : "--no-gps");
    if (default_gps[0]) rest.push_back(default_gps);
  }
  OptionsParse parsed = parse_options(rest);
  o.error = parsed.error;
  o.options = parsed.options;
  if (o.options.seed) o.seed = *o.options.seed;
  if (o.rate > 0) o.options.instrument.period_ms = 1000.0 / o.rate;
  if (o.error.empty() && o.out.empty()) o.error = "no --out";
  return o;
}

bool write_file(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

int bad(const char* command, const std::string& message) {
  std::fprintf(stderr, "devsim %s: %s\n", command, message.c_str());
  return 2;
}

struct Frame {
  double west = 0, north = 0, cell = 0;
  int columns = 0, rows = 0;
};

bool parse_frame(const std::string& text, Frame& f) {
  double v[5];
  const char* p = text.c_str();
  for (int i = 0; i < 5; ++i) {
    char* end = nullptr;
    v[i] = std::strtod(p, &end);
    if (end == p || (i < 4 && *end != ',') || (i == 4 && *end != 0)) return false;
    p = end + 1;
  }
  f = {v[0], v[1], v[4], static_cast<int>(v[2]), static_cast<int>(v[3])};
  return f.cell > 0 && f.columns > 0 && f.rows > 0 && v[2] == f.columns && v[3] == f.rows &&
         double(f.columns) * f.rows <= 2e8;
}

}  // namespace

int run_survey_command(int argc, char** argv) {
  const Offline o = parse(argc, argv, "gga");
  if (!o.error.empty()) return bad("survey", o.error);
  const SurveyLog log = log_simulated_survey(o.options, o.seed, o.map_units);
  if (!log.error.empty()) return bad("survey", log.error);
  if (!write_file(o.out, log.bytes)) return bad("survey", "cannot write " + o.out);
  std::printf("{\"out\":\"%s\",\"readings\":%zu,\"bytes\":%zu}\n", o.out.c_str(), log.readings, log.bytes.size());
  return 0;
}

int run_truth_command(int argc, char** argv) {
  const Offline o = parse(argc, argv, "");
  if (!o.error.empty()) return bad("truth", o.error);
  Frame f;
  if (!parse_frame(o.frame, f)) return bad("truth", "--frame WEST,NORTH,COLUMNS,ROWS,CELL is required");
  const Simulator sim = make_simulator(o.options, o.seed, 0);
  const InstrumentType type = o.options.instrument.kind.type;
  const auto truth = true_response(sim.site, sim.plan, type, o.options.instrument.setup, o.channel);
  if (!truth) return bad("truth", "no truth for channel '" + o.channel + "' of this instrument");
  Grid g;
  g.west = f.west;
  g.north = f.north;
  g.cell = f.cell;
  g.columns = f.columns;
  g.rows = f.rows;
  g.values.resize(static_cast<std::size_t>(g.columns) * g.rows);
  const double metres = metres_per_unit(o.map_units);
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.columns; ++c)
      g.values[static_cast<std::size_t>(r) * g.columns + c] =
          static_cast<float>((*truth)(g.centre_x(c) * metres, g.centre_y(r) * metres));
  GeoTiffOptions tiff;
  tiff.zone = sim.plan.origin.zone;
  tiff.south = sim.plan.origin.south;
  tiff.map_units = o.map_units;
  tiff.description = o.channel + " (true)";
  if (!write_file(o.out, geotiff_bytes(g, tiff))) return bad("truth", "cannot write " + o.out);
  std::printf("{\"out\":\"%s\",\"columns\":%d,\"rows\":%d,\"zone\":%d}\n", o.out.c_str(), g.columns, g.rows, tiff.zone);
  return 0;
}

}  // namespace quelor::devsim
