// quelor export FILE --format csv|xyz|geojson|kml|gpx [--emagpy] [--out PATH]
// [--zone auto|N] [--height M]: the readings of a survey data file with
// their interpolated positions, for processing software.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "commands.h"
#include "datafile/output_file.h"
#include "file_input.h"
#include "export/export_formats.h"
#include "export/export_table.h"

namespace quelor::tool {

namespace {

const char kUsage[] =
    "usage: quelor export FILE --format csv|xyz|geojson|kml|gpx [--emagpy] [--out PATH] [--zone auto|N]\n"
    "                     [--height M]\n";

int bad(const std::string& message) {
  std::fprintf(stderr, "quelor export: %s\n", message.c_str());
  return 2;
}

struct Options {
  const char* file = nullptr;
  std::string format;
  bool emagpy = false;
  const char* out = nullptr;
  ExportOptions table;
};

bool parse_number(const char* text, double& v) {
  char* end = nullptr;
  errno = 0;
  v = std::strtod(text, &end);
  return errno == 0 && end != text && *end == 0;
}

// An error text, empty when the arguments are good.
std::string parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--emagpy") {
      o.emagpy = true;
    } else if (arg == "--format" || arg == "--out" || arg == "--zone" || arg == "--height") {
      if (!has_value) return std::string(arg) + " needs a value";
      const char* value = argv[++i];
      if (arg == "--format") o.format = value;
      if (arg == "--out") o.out = value;
      if (arg == "--zone" && std::string_view(value) != "auto") {
        double z = 0;
        if (!parse_number(value, z) || z != static_cast<int>(z) || z < 1 || z > 60)
          return std::string("bad zone '") + value + "' (auto or 1-60)";
        o.table.zone = static_cast<int>(z);
      }
      if (arg == "--height" &&
          (!parse_number(value, o.table.height_m) || o.table.height_m < 0 || o.table.height_m > 100))
        return std::string("bad height '") + value + "'";
    } else if (!arg.empty() && arg[0] == '-') {
      return std::string("unknown option '") + argv[i] + "'";
    } else if (o.file == nullptr) {
      o.file = argv[i];
    } else {
      return "more than one file";
    }
  }
  if (o.file == nullptr) return "no data file";
  if (o.format.empty()) return "no --format";
  return {};
}

bool write_stdout(const std::string& text) {
  const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && ok;
}

}  // namespace

int run_export(int argc, char** argv) {
  Options o;
  const std::string error = parse(argc, argv, o);
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (!error.empty()) return bad(error);
  const std::optional<ExportFormat> format = export_format_named(o.format, o.emagpy);
  if (!format) return bad(o.emagpy ? "--emagpy goes with --format csv only" : "unknown format '" + o.format + "'");
  if (o.out)
    if (const std::string why = output_refusal(o.out, {o.file}); !why.empty()) return bad(why);
  const std::optional<std::string> bytes = read_file_bytes(o.file);
  if (!bytes) return bad(std::string("cannot read ") + o.file);
  const ExportTableResult result = build_export_table(*bytes, o.table);
  if (!result.table) return bad(std::string(o.file) + ": " + result.error);
  for (const std::string& w : result.table->warnings)
    std::fprintf(stderr, "quelor export: warning: %s: %s\n", o.file, w.c_str());
  const std::string text = export_text(*result.table, *format);
  if (!o.out) return write_stdout(text) ? 0 : bad("cannot write the output");
  if (const std::string why = write_output_file(o.out, {o.file}, text); !why.empty()) return bad(why);
  return 0;
}

}  // namespace quelor::tool
