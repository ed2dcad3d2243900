// An existing data file continued by a program: the append check on its
// first records (the first byte picks the program and whether a fix is
// known), the cut of a partial last record, and the scan of the whole file
// for the map extent and the number of GPS positions.
#include <cmath>

#include "data_file_seeds.h"
#include "datafile/append_check.h"
#include "datafile/append_scan.h"
#include "datafile/intact_length.h"
#include "datafile/record_layout.h"
#include "gps/projection.h"
#include "settings/instrument_defaults.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() { return data_file_seeds(true); }

void fuzz_one(const FuzzInput& in) {
  const Variant v = variant_of(in.selector);
  const Settings settings = initial_settings(v);
  const int length = record_length(v);
  AppendSituation situation;
  situation.have_valid_fix = (in.selector & 0x80) != 0;
  situation.current_zone = 17;
  situation.first_latitude = 43.6099;
  situation.first_longitude = -79.6;
  situation.project = [](double latitude, double longitude, int zone) {
    const GridPoint p = project_to_utm(latitude, longitude, zone);
    return GridPosition{p.easting, p.northing};
  };
  const AppendCheckResult check =
      check_append(v, in.rest.substr(0, 4 * static_cast<std::size_t>(length)), settings, situation);
  expect(check.passed || check.message.has_value(), "a refused file says why");
  if (check.origin)
    expect(std::isfinite(check.origin->easting) && std::isfinite(check.origin->northing), "finite origin");
  const std::size_t intact = intact_length(in.rest);
  expect(intact <= in.rest.size(), "intact length within the file");
  MapFrame frame;
  frame.pixels_per_unit = 1.0 + (in.selector >> 5);
  const ScanResult scan = scan_appended_file(in.rest.substr(0, intact), length, frame);
  expect(scan.positions >= 0, "positions counted");
}

}  // namespace quelor::fuzz
