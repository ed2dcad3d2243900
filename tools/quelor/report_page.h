#pragma once
// The page of `quelor report`: one self-contained HTML file (inline PNG
// images and SVG drawings, an inline style sheet, no script, a policy that
// lets nothing load from outside).

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "background/survey_file.h"
#include "map/raster.h"
#include "report/coverage.h"
#include "report/line_flags.h"
#include "report/line_table.h"
#include "report/speed_histogram.h"
#include "report/survey_data.h"
#include "report/survey_time.h"
#include "report/verdict.h"

namespace quelor::tool {

struct InputFile {
  std::string path, name;
  std::size_t size = 0;  // bytes
  SurveyFileInfo info;
  long readings = 0;
  std::string format_version;  // the identification record's columns 9-11
  std::vector<std::string> warnings;
};

// Pixels of a map image from metres, through its georeference in map units.
struct MapFrameOnPage {
  double west = 0.0, north = 0.0;  // map units, the image's top-left corner
  double pixels_per_unit = 1.0;
  double metres_per_unit = 1.0;
  double x(double easting_m) const { return (easting_m / metres_per_unit - west) * pixels_per_unit; }
  double y(double northing_m) const { return (north - northing_m / metres_per_unit) * pixels_per_unit; }
  double pixels_per_metre() const { return pixels_per_unit / metres_per_unit; }
};

// "m", "ft" or "US ft": a length in the survey's working unit.
const char* unit_symbol(int map_units);

struct MapOnPage {
  std::string title;
  Raster image;  // empty: `message` says why
  MapFrameOnPage frame;
  std::optional<std::pair<double, double>> scale;  // colour bar limits; none: no colour bar
  std::string scale_title;
  std::string note;
  std::string message;
  bool map_full = false;
  std::vector<std::vector<PlanePoint>> tracks;  // the walked fixes, one polyline per path segment (metres)
};

struct ReportContent {
  std::vector<LineSummary> lines;
  std::vector<LineFlags> flags;  // per line
  SurveyTimeSpan time;
  std::string settings_summary;
  Coverage coverage;
  Verdict verdict;
  SpeedHistogram speed;
  std::string speed_unit;
  std::vector<GpsQualityPoint> gps;
  MapOnPage coverage_map;
  MapOnPage grid_map;
};

// The wide gaps hatched red into a map image.
void hatch_gaps(Raster& image, const MapFrameOnPage& frame, const Coverage& coverage);

std::string report_page(const std::vector<InputFile>& files, const SurveyData& survey, const ReportContent& content);

// Bytes of a file; 0 when it cannot be read.
std::size_t file_size(const std::string& path);

}  // namespace quelor::tool
