// quelor: the field engineer's companion tool. Decodes serial captures,
// NMEA logs and grid coordinates, and checks survey data files.

#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
};

constexpr Subcommand kSubcommands[] = {
    {"decode", quelor::tool::run_decode, "decode --instrument NAME [options] [FILE]"},
    {"nmea", quelor::tool::run_nmea, "nmea --format NAME [--slam] [--rts-units intl|us] [--zone auto|N] [FILE]"},
    {"utm", quelor::tool::run_utm, "utm LAT LON [--zone N]"},
    {"check", quelor::tool::run_check, "check [--repair] FILE"},
    {"export", quelor::tool::run_export,
     "export FILE --format csv|xyz|geojson|kml|gpx [--emagpy] [--out PATH] [--zone auto|N] [--height M]"},
    {"procedure", quelor::tool::run_procedure,
     "procedure --name NAME [--period MS] [--answers LIST] [--samples N] [--two-coils] [FILE]"},
    {"keys", quelor::tool::run_keys, "keys --instrument NAME [--state STATE] [options] (--menu | KEY...)"},
    {"grid", quelor::tool::run_grid,
     "grid FILE [--channel NAME] [--cell M] [--blank M] [--method mincurv|nearest] [--zone auto|N]\n"
     "             [--tension T] [--no-predictor] [--png [PATH.png]] --out PATH.tif"},
    {"setup", quelor::tool::run_setup,
     "setup --program NAME --dialog survey|system|geometry|alarm|gps|mask [--settings FILE]\n"
     "         [--select ID=INDEX] [--text ID=TEXT] [--check ID=0|1] [--out FILE]"},
    {"map", quelor::tool::run_map,
     "map FILE [--out PATH.png] [--settings INI] [--tile W] [--map-size N] [--view K] [--position-size I]\n"
     "             [--scale MIN,MAX] [--grid none|basic|lines] [--grid-interval G] [--lines-angle DEG]\n"
     "             [--background FILE[,type=data|text|labels][,geodetic|utm-m|utm-ft|utm-usft]\n"
     "              [,space|comma|tab|semicolon][,easting=N][,northing=N][,labels=N][,display=K]]..."},
    {"report", quelor::tool::run_report,
     "report FILE... --out report.html [--settings INI] [--scale MIN,MAX] [--channel NAME] [--zone auto|N]"},
};

int usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Subcommand& s : kSubcommands) std::fprintf(stderr, "  quelor %s\n", s.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  for (const Subcommand& s : kSubcommands)
    if (std::strcmp(argv[1], s.name) == 0) return s.run(argc - 1, argv + 1);
  std::fprintf(stderr, "quelor: unknown command '%s'\n", argv[1]);
  return usage();
}
