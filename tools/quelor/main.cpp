// quelor: the field engineer's companion tool. Decodes serial captures,
// NMEA logs and grid coordinates, and checks survey data files.
// `quelor --help`, `quelor SUBCOMMAND --help` and `quelor --version` answer on
// standard output with exit status 0; a new subcommand joins with one row of
// kSubcommands.

#include <cstdio>
#include <cstring>
#include <string_view>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "build_info.h"
#include "commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* summary;  // one line for `quelor --help`
  const char* help;     // usage, one line per option, an example
};

constexpr Subcommand kSubcommands[] = {
    {"decode", quelor::tool::run_decode, "decode an instrument's raw serial bytes into readings",
     "usage: quelor decode --instrument NAME [options] [FILE]\n"
     "Frames raw serial bytes from FILE (standard input without one) as the instrument's\n"
     "reader does and prints one JSON object per accepted record (tilt: per line, with\n"
     "\"valid\"). No calibration, nulling or drift offsets are applied. The values are those\n"
     "the program has of the record: EM61-MK2 channels 1-4, EM61-LX2 E, L and F of each coil\n"
     "(filter factor 310), with the mean current the data file records; CS-21 fields that\n"
     "are no number show 0.\n"
     "  --instrument NAME   em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2 tilt\n"
     "  --manual            Manual logging mode (EM31-type mode letter always \"N\")\n"
     "  --inphase-only      EM31-MK2 in-phase-only setting\n"
     "  --record-length N   EM38 record length, 7 or 12 (default: taken from the input)\n"
     "  --single-coil       EM38-MK2: decode coil 1 only\n"
     "  --raw-inphase       EM38-4: in-phase units mS/m (the in-phase without its factor)\n"
     "  --two-sensors       Grad601 two sensors; EM61-LX2 left and right coils\n"
     "  --second-mode       EM61-MK2 second-mode reader\n"
     "  --coil-type N       EM61 type: 0 Standard, 1 High Power, 2 Standard N.C.C,\n"
     "                      3 HP N.C.C. (default 0)\n"
     "  --normalisation N   EM61-MK2 current normalisation over the last N currents (default 0:\n"
     "                      off); the EM61-LX2 is never normalised\n"
     "example: quelor decode --instrument em38mk2 capture.bin\n"},
    {"nmea", quelor::tool::run_nmea, "read an NMEA log as the GPS reader does",
     "usage: quelor nmea --format NAME [--slam] [--rts-units intl|us] [--zone auto|N] [FILE]\n"
     "Reads an NMEA log from FILE (standard input without one) and prints one JSON object\n"
     "per position sentence of the chosen format.\n"
     "  --format NAME       gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll\n"
     "  --slam              SLAM positions\n"
     "  --rts-units U       robotic total station feet: intl or us (default intl)\n"
     "  --zone Z            UTM zone 1-60, or auto: the zone of the first fix (default auto)\n"
     "example: quelor nmea --format gga receiver.log\n"},
    {"utm", quelor::tool::run_utm, "convert a latitude and longitude to UTM on WGS 84",
     "usage: quelor utm LAT LON [--zone N]\n"
     "       quelor utm --batch < lines\n"
     "Prints the UTM grid position of one geographic position (decimal degrees).\n"
     "  LAT LON             latitude and longitude in decimal degrees\n"
     "  --zone N            UTM zone 1-60 (default: the zone of the longitude)\n"
     "  --batch             read \"LAT LON [ZONE]\" lines from standard input, one answer a line\n"
     "example: quelor utm 45.5 -73.6\n"},
    {"check", quelor::tool::run_check, "check a survey data file",
     "usage: quelor check [--repair] FILE\n"
     "Checks a survey data file's records and prints the findings (exit 1 when there are any errors;\n"
     "stored GPS sentences whose checksum fails and positions that jump are warnings).\n"
     "  --repair            cut a partial last record left by a crash; the cut bytes are kept\n"
     "                      beside the file (FILE.cut, FILE.cut.2, ...)\n"
     "  FILE                the survey data file\n"
     "example: quelor check --repair LINE01.Z38\n"},
    {"export", quelor::tool::run_export, "export a survey data file for processing software",
     "usage: quelor export FILE --format csv|xyz|geojson|kml|gpx [--emagpy] [--out PATH] [--zone auto|N]\n"
     "                   [--height M]\n"
     "Reads a survey data file back as a table of readings with interpolated positions.\n"
     "  FILE                the survey data file\n"
     "  --format F          csv, xyz (Geosoft XYZ), geojson, kml or gpx\n"
     "  --emagpy            with csv: EMagPy's column names (coil configurations only)\n"
     "  --out PATH          write to PATH (default: standard output)\n"
     "  --zone Z            UTM zone 1-60, or auto: the file's reference zone, else the first fix's\n"
     "  --height M          instrument height in metres for the EMagPy coil names (0-100, default 0)\n"
     "example: quelor export LINE01.Z38 --format csv --emagpy --out line01.csv\n"},
    {"procedure", quelor::tool::run_procedure, "run an instrument procedure on recorded bytes",
     "usage: quelor procedure --name NAME [options] [FILE]\n"
     "Decodes the instrument's raw serial bytes from FILE (standard input without one) and\n"
     "runs the procedure on them; prints one JSON object per step and the result.\n"
     "  --name NAME         em38mk2-calibration em38-4-calibration em61mk2-nulling em61lx2-nulling\n"
     "                      em61lx2-filter em38-4-drift\n"
     "  --period MS         milliseconds between records (default 50)\n"
     "  --answers LIST      answers to the boxes in order, 1 OK/YES, 0 CANCEL/NO (default all 1)\n"
     "  --samples N         nulling, filter or drift samples\n"
     "  --two-coils         EM61-LX2 left and right coils\n"
     "  --coil-type N       the EM61 type of the settings (default 0 Standard)\n"
     "  --normalisation N   em61mk2-nulling: current normalisation over the last N currents\n"
     "example: quelor procedure --name em61lx2-nulling --answers 1,1 capture.bin\n"},
    {"keys", quelor::tool::run_keys, "what the logging window does with each key",
     "usage: quelor keys --instrument NAME [options] (--menu | KEY...)\n"
     "Prints one JSON object per key (or per popup-menu item with --menu).\n"
     "  --instrument NAME   em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2\n"
     "  --state S           monitoring, standby or logging\n"
     "  --review            the map is in review\n"
     "  --menu-open         a popup menu is open\n"
     "  --pause-key K       any, enter, space or p\n"
     "  --soft-marker       markers from the keyboard\n"
     "  --no-gps            no GPS port\n"
     "  --no-instrument     no instrument port\n"
     "  --no-map            no map window\n"
     "  --menu              list the popup menu's items instead of keys\n"
     "  KEY                 a letter or digit, Tab, Enter, Space, Left, Up, Right, Down, F2, F3,\n"
     "                      Plus, Minus\n"
     "example: quelor keys --instrument em38 --state logging Enter F2\n"},
    {"setup", quelor::tool::run_setup, "fill a setup dialog, press OK, save the settings file",
     "usage: quelor setup --program NAME --dialog survey|system|geometry|alarm|gps|mask\n"
     "                  [--settings FILE] [--select ID=INDEX] [--text ID=TEXT] [--check ID=0|1]\n"
     "                  [--out FILE]\n"
     "Opens a setup dialog without a window, makes the entries in order, prints every control\n"
     "as one JSON object and any message OK gives.\n"
     "  --program NAME      the program, e.g. Zelko38\n"
     "  --dialog D          survey, system, geometry, alarm, gps or mask\n"
     "  --settings FILE     the settings file read first (default: the built-in settings)\n"
     "  --select ID=INDEX   pick item INDEX (from 0) of list control ID\n"
     "  --text ID=TEXT      type TEXT into edit control ID\n"
     "  --check ID=0|1      untick or tick control ID\n"
     "  --out FILE          write the settings file OK saves\n"
     "example: quelor setup --program Zelko38 --dialog survey --text 1111=10 --out Zelko38.ini\n"},
    {"map", quelor::tool::run_map, "re-plot a survey data file as a PNG with its world file",
     "usage: quelor map FILE [options]\n"
     "Re-plots a survey data file as the program's whole-map redraw does into a PNG of the\n"
     "touched tiles with its world file, and prints one JSON object.\n"
     "  --out PATH.png      the image (default: FILE with its extension replaced by .png)\n"
     "  --settings INI      the program's settings file (default: the built-in settings)\n"
     "  --tile W            tile width and height in pixels (8-4000)\n"
     "  --map-size N        Map Size\n"
     "  --view K            colour map view\n"
     "  --position-size I   position mark size 0-5\n"
     "  --scale MIN,MAX     colour scale\n"
     "  --grid G            none, basic or lines\n"
     "  --grid-interval G   grid line interval\n"
     "  --lines-angle DEG   grid line angle\n"
     "  --background SPEC   FILE[,type=data|text|labels][,geodetic|utm-m|utm-ft|utm-usft]\n"
     "                      [,space|comma|tab|semicolon][,easting=N][,northing=N][,labels=N]\n"
     "                      [,display=K]; may be given up to 10 times\n"
     "example: quelor map LINE01.Z38 --grid lines --background wells.txt,type=text,utm-m\n"},
    {"grid", quelor::tool::run_grid, "grid one channel of survey data files as a GeoTIFF",
     "usage: quelor grid FILE...|FOLDER [--channel NAME|--all] [--cell M] [--blank M] [--fill]\n"
     "                  [--method mincurv|nearest] [--zone auto|N] [--tension T] [--no-predictor]\n"
     "                  [--png [PATH.png]] [--kmz [PATH.kmz]] [--scale MIN,MAX] [--contours INTERVAL]\n"
     "                  --out PATH.tif\n"
     "Interpolates one channel of the surveys' positioned readings on a regular grid and writes a\n"
     "tiled, deflated GeoTIFF with overviews on the survey's UTM zone: band 1 the values, band 2\n"
     "each cell's kind (2 measured, 1 interpolated, 0 blank); prints one JSON object.\n"
     "  FILE...|FOLDER      survey data files (a folder: the data files in it) of one instrument,\n"
     "                      zone and unit, gridded as one survey\n"
     "  --channel NAME      a channel by its export column name (default: the mapped channel)\n"
     "  --all               every numeric channel, one band each (the mapped one first)\n"
     "  --cell M            cell size in map units (default: a quarter of the line spacing)\n"
     "  --blank M           the widest gap interpolated across (default: 1.5 x spacing); a cell is\n"
     "                      kept within half a spacing of a reading or with readings on both sides\n"
     "  --fill              keep every cell within --blank of a reading (fills a missed line)\n"
     "  --method M          mincurv (minimum curvature with tension, default) or nearest\n"
     "  --zone Z            UTM zone 1-60, or auto (default auto)\n"
     "  --tension T         minimum-curvature tension 0-1 (default 0.25)\n"
     "  --no-predictor      deflate without the floating-point predictor\n"
     "  --png [PATH.png]    also a coloured PNG (nodata transparent) with its world file and .prj\n"
     "  --kmz [PATH.kmz]    also the picture as a ground overlay for Google Earth\n"
     "  --scale MIN,MAX     the picture's colour scale (default: the grid's range)\n"
     "  --contours INTERVAL contour lines at whole multiples of INTERVAL, as PATH.geojson\n"
     "  --out PATH.tif      the GeoTIFF\n"
     "example: quelor grid LINE01.Z31 LINE02.Z31 --cell 0.25 --png --out day.tif\n"},
    {"report", quelor::tool::run_report, "one-page HTML report of a survey or a day's files",
     "usage: quelor report FILE...|FOLDER --out report.html [--settings INI] [--scale MIN,MAX] [--channel NAME]\n"
     "                    [--zone auto|N]\n"
     "Writes one self-contained HTML page: verdict, inputs, coverage and gridded maps, the line\n"
     "table, speed histogram, GPS quality and every remark; prints one JSON object.\n"
     "  FILE...|FOLDER      one survey data file or a day's files (a folder: the data files in it)\n"
     "  --out PATH          the HTML page\n"
     "  --settings INI      the program's settings file (scales, speed bar; default built-in)\n"
     "  --scale MIN,MAX     colour scale of the maps\n"
     "  --channel NAME      the gridded channel by its export column name\n"
     "  --zone Z            UTM zone 1-60, or auto (default auto)\n"
     "example: quelor report LINE01.Z31 LINE02.Z31 --out today.html\n"},
};

constexpr const char* kProgramHelp =
    "usage: quelor SUBCOMMAND [options]\n"
    "       quelor SUBCOMMAND --help\n"
    "       quelor --version\n"
    "The field engineer's companion tool: JSON lines out, exit 0 on success, 2 on bad input.\n"
    "Files written are complete or not there: never an input, never a survey data file.\n";

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int print_help() {
  std::fputs(kProgramHelp, stdout);
  std::fputs("subcommands:\n", stdout);
  for (const Subcommand& s : kSubcommands) std::printf("  %-10s %s\n", s.name, s.summary);
  return 0;
}

int usage() {
  std::fputs(kProgramHelp, stderr);
  std::fputs("subcommands:", stderr);
  for (const Subcommand& s : kSubcommands) std::fprintf(stderr, " %s", s.name);
  std::fputs("\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Buffers of a megabyte and more are mapped, and given back when freed.
  // Left to itself the allocator raises this threshold to the size of the
  // largest buffer freed (a data file's bytes), so that every later one of a
  // day's files is carved from the heap and stays there: three days' report
  // grew from 87 to 130 MB.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  if (argc < 2) return usage();
  if (is_help(argv[1])) return print_help();
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("quelor %s\ncommit %s\n", QUELOR_BUILD_VERSION, QUELOR_BUILD_COMMIT);
    return 0;
  }
  for (const Subcommand& s : kSubcommands) {
    if (std::strcmp(argv[1], s.name) != 0) continue;
    for (int i = 2; i < argc; ++i)
      if (is_help(argv[i])) return std::fputs(s.help, stdout) < 0 ? 1 : 0;
    return s.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "quelor: unknown command '%s'\n", argv[1]);
  return usage();
}
