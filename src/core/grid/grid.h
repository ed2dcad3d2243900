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
// reading instead, which fills a missed line with invented values. The grid is row-major
// from the north-west; `west` and `north` are the outer edges of the
// north-west cell, so cell (c, r) has its centre at west + (c + 0.5) cell,
// north - (r + 0.5) cell. `survey_samples` (grid/survey_samples.h) gives the
// readings of one channel of a data file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace quelor {

enum class GridMethod { kMinimumCurvature, kNearest };

struct GridSample {
  double x = 0.0;  // easting, map units
  double y = 0.0;  // northing
  double value = 0.0;
};

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

struct Grid {
  int columns = 0;
  int rows = 0;
  double west = 0.0;  // outer edges, map units
  double north = 0.0;
  double cell = 0.0;
  std::vector<float> values;        // columns x rows, NaN: no data
  std::vector<std::uint8_t> kinds;  // columns x rows, CellKind (grid/cell_kinds.h); empty: not known

  float at(int column, int row) const { return values[static_cast<std::size_t>(row) * columns + column]; }
  double centre_x(int column) const { return west + (column + 0.5) * cell; }
  double centre_y(int row) const { return north - (row + 0.5) * cell; }
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

}  // namespace quelor
