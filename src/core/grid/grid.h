#pragma once
// Gridding of a survey: scattered readings (x, y in map units, one value
// each, in the order they were walked) interpolated on a regular grid.
// `grid_points` is the one entry: it estimates the line spacing the readings
// show, chooses the cell (a quarter of the spacing rounded to 0.05, at least
// 0.1) and the blanking distance (1.5 x the spacing) where the options leave
// them at 0, interpolates by minimum curvature with tension (or takes the
// nearest reading), and keeps only the cells grid/cell_kinds.h allows: a
// cell near a reading (within the reach, half the spacing), or with readings
// on both sides no farther apart than the blanking distance; the others are
// no data (NaN). `fill` keeps every cell within the blanking distance of a
// reading instead, which fills a missed line with invented values. The
// grid's layout is in grid/grid_frame.h. `survey_samples`
// (grid/survey_samples.h) gives the readings of one channel of a data file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "grid/grid_frame.h"
#include "grid/line_spacing.h"
#include "grid/min_curvature.h"

namespace quelor {

enum class GridMethod { kMinimumCurvature, kNearest };

struct GridOptions {
  double cell = 0.0;   // map units; 0: automatic
  double blank = 0.0;  // map units; 0: automatic
  GridMethod method = GridMethod::kMinimumCurvature;
  double tension = 0.25;  // 0: minimum curvature, 1: harmonic
  bool fill = false;      // keep every cell within the blanking distance of a reading
  double reach = 0.0;     // map units; 0: automatic (half the line spacing, at most half the blanking distance)
  // Told what the gridding turns to ("line spacing", "distances to the
  // readings", "minimum curvature at cells of 0.5", "blanking"); may be empty.
  std::function<void(const std::string&)> progress;
};

struct GridResult {
  Grid grid;
  double line_spacing = 0.0;            // median spacing of the lines the readings show
  double blank = 0.0;                   // blanking distance used
  double reach = 0.0;                   // a cell this near a reading is kept
  std::size_t blanked = 0;              // cells left without data
  std::size_t measured = 0;             // cells holding a reading
  double minimum = NAN, maximum = NAN;  // of the cells with data
  // At the readings: the value of the cell that holds each reading (what a
  // GIS shows there) minus the reading.
  double misfit_rms = 0.0;
  double misfit_max = 0.0;
  std::string error;  // not empty: no grid (no readings, too many cells, or every cell blanked)
};

// `part_ends`: where each file's readings end in `samples`, the last file's
// left out (several files of one site); empty: one file.
GridResult grid_points(std::span<const GridSample> samples, const GridOptions& options,
                       std::span<const std::size_t> part_ends = {});

// The same with the readings a file at a time, for surveys too large to
// hold: what needs no frame (extent, range, line spacing, the best-fitting
// plane) is taken as the files are first read (`survey_file`); then
// `grid_survey` asks for the readings twice more, a file at a time through
// `files`, and holds only what grows with the cells.
struct GridSurvey {
  std::size_t count = 0;
  double west = 0, east = 0, south = 0, north = 0;  // the readings' extent
  LineSpacingTally spacing;
  CurvatureReadings curvature;
};
void survey_file(GridSurvey& survey, std::span<const GridSample> file_readings);

// Hands each file's readings to `visit`, in file order, every file as it
// was first read; false when one could not be given again alike (it changed
// or could no longer be read).
using GridFileVisitor = std::function<void(std::span<const GridSample>)>;
using GridFiles = std::function<bool(const GridFileVisitor& visit)>;
GridResult grid_survey(GridSurvey survey, const GridOptions& options, const GridFiles& files);

}  // namespace quelor
