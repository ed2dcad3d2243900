// quelor nmea --format NAME [--slam] [--rts-units intl|us] [--zone auto|N]
// [FILE]: reads an NMEA log as the GPS reader does (without its rate limit)
// and prints one JSON object per position sentence of the chosen format.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "commands.h"
#include "gps/assembler.h"
#include "gps/checksum.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "gps/units.h"
#include "json.h"

namespace quelor::tool {

namespace {

struct FormatName {
  const char* name;
  int format;
};

constexpr FormatName kFormatNames[] = {
    {"gga-gsa", kFormatGgaGsa},
    {"gga", kFormatGga},
    {"pos", kFormatPos},
    {"llk", kFormatLlk},
    {"llq", kFormatLlq},
    {"gll", kFormatGll},
    {"ggk", kFormatGgk},
    {"pseudo-gga", kFormatPseudoGga},
    {"pseudo-gll", kFormatPseudoGll},
};

struct Options {
  int format = -1;
  bool slam = false;
  int rts_units = kRtsInternationalFeet;
  int zone = kAutomaticZone;
  const char* file = nullptr;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "quelor nmea: %s\n", message.c_str());
  return 2;
}

bool find_format(const char* name, int& format) {
  for (const FormatName& f : kFormatNames)
    if (std::strcmp(name, f.name) == 0) {
      format = f.format;
      return true;
    }
  return false;
}

bool read_zone(const char* text, int& zone) {
  if (std::strcmp(text, "auto") == 0) {
    zone = kAutomaticZone;
    return true;
  }
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!*text || *end != '\0' || v < 1 || v > 60) return false;
  zone = static_cast<int>(v);
  return true;
}

// Empty on success, else the error.
std::string parse_options(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--format") {
      if (!value || !find_format(value, o.format))
        return "--format needs one of gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll";
      ++i;
    } else if (arg == "--slam") {
      o.slam = true;
    } else if (arg == "--rts-units") {
      if (!value || (std::strcmp(value, "intl") != 0 && std::strcmp(value, "us") != 0))
        return "--rts-units needs intl or us";
      o.rts_units = std::strcmp(value, "us") == 0 ? kRtsUsSurveyFeet : kRtsInternationalFeet;
      ++i;
    } else if (arg == "--zone") {
      if (!value || !read_zone(value, o.zone)) return "--zone needs auto or a zone 1 to 60";
      ++i;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + std::string(arg);
    } else if (!o.file) {
      o.file = argv[i];
    } else {
      return "only one FILE may be given";
    }
  }
  if (o.format < 0) return "--format NAME is required";
  return {};
}

std::string fix_json(std::string_view sentence, const GpsFix& fix, const FormatTable& table) {
  JsonObject j;
  j.str("sentence", sentence);
  j.boolean("valid", fix.valid != 0);
  if (format_has_role(table, kRoleSatellites))
    j.integer("satellites", fix.satellites);
  else if (format_has_role(table, kRoleSatellitesShown))
    j.integer("satellites", fix.satellites_shown);
  if (format_has_role(table, kRoleQuality)) {
    j.integer("quality", fix.quality);
    if (!fix.quality_label.empty()) j.str("label", fix.quality_label);
  }
  if (fix.valid) {
    if (fix.geographic) {
      j.num("latitude", fix.latitude);
      j.num("longitude", fix.longitude);
    }
    j.num("northing", fix.northing);
    j.num("easting", fix.easting);
    if (fix.geographic) j.integer("zone", fix.zone);
  }
  if (format_has_role(table, kRoleDilution) || format_has_role(table, kRoleDilution2) ||
      format_has_role(table, kRoleDilution3))
    j.num("dilution", fix.dilution);
  j.num("time", fix.time_of_day);
  return j.text();
}

struct LogRun {
  FormatTable table;
  FixOptions options;
  SurveyZone zone;
};

void handle_line(LogRun& run, std::string_view line) {
  if (line[0] != '$') return;  // not NMEA: the reader only logs it
  if (run.table.checksum_required && !checksum_ok(line)) {
    std::printf("%s\n", JsonObject().str("rejected", "checksum").str("sentence", line).text().c_str());
    return;
  }
  if (line.find(run.table.sentence_name) == std::string_view::npos) return;
  GpsFix fix = parse_gps_fix(line, run.table, run.options);
  project_fix(run.zone, fix);
  std::printf("%s\n", fix_json(line, fix, run.table).c_str());
}

}  // namespace

int run_nmea(int argc, char** argv) {
  Options o;
  const std::string error = parse_options(argc, argv, o);
  if (!error.empty()) return fail(error);
  std::FILE* in = stdin;
  if (o.file && std::strcmp(o.file, "-") != 0) {
    in = std::fopen(o.file, "rb");
    if (!in) return fail(std::string("cannot read ") + o.file);
  }
  LogRun run{make_format_table(o.format, o.slam), FixOptions{o.rts_units, true}, make_survey_zone(o.zone)};
  SentenceAssembler assembler;
  char buf[65536];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
    for (std::size_t i = 0; i < n; ++i)
      if (assemble_byte(assembler, static_cast<std::uint8_t>(buf[i]), 0)) handle_line(run, assembled_line(assembler));
  const bool read_error = std::ferror(in) != 0;
  if (in != stdin) std::fclose(in);
  if (read_error) return fail("read error");
  return 0;
}

}  // namespace quelor::tool
