#pragma once
// A grid as a GeoTIFF that GIS software reads without help: one Float32
// band of values (its description and unit in GDAL_METADATA), further value
// bands when asked (one channel each) and, when the grid knows its cell
// kinds, a last Float32 band telling measured (2), interpolated (1) and
// blank (0) cells apart; nodata as GDAL_NODATA, internally tiled (256 x 256), each tile
// deflate-compressed (with the floating-point predictor when asked), the
// geotransform as ModelPixelScale and ModelTiepoint (pixel is area), and the
// CRS as GeoKeys: WGS 84 / UTM (EPSG 326zz north, 327zz south) in metres, or
// the same projection with the survey's foot as its linear unit (named
// "WGS 84 / UTM zone zzN (ft)" or "(ftUS)"). Overviews
// halve the grid until it fits one tile; the file is laid out cloud-optimised:
// every IFD (full resolution first, then each overview as a reduced-
// resolution subfile) with its tag data at the start, then the tiles, the
// smallest overview's first and the full resolution's last.

#include <string>
#include <vector>

#include "grid/grid.h"

namespace quelor {

inline constexpr float kGeoTiffNoData = -3.4028234663852886e+38f;
inline constexpr const char* kGeoTiffNoDataText = "-3.4028234663852886e+38";

// A further band of values on the grid's frame (another channel).
struct GeoTiffBand {
  std::vector<float> values;  // columns x rows, NaN: no data
  std::string description;
  std::string unit;
};

struct GeoTiffOptions {
  int zone = 0;                         // 1...60; 0: no geographic frame (a local grid)
  bool south = false;                   // southern hemisphere
  int map_units = 0;                    // WorkingUnit of the grid's coordinates
  bool predictor = true;                // floating-point predictor before deflate
  std::string description;              // the band's description (the channel)
  std::string unit;                     // the values' unit ("mS/m", "mV" ...); empty: none said
  std::vector<GeoTiffBand> more_bands;  // after the grid's values, before the cells' kinds
};

// The file's bytes.
std::string geotiff_bytes(const Grid& grid, const GeoTiffOptions& options);

// The EPSG code of the CRS for metres (326zz/327zz), or 0 for feet and local grids.
int utm_epsg(int zone, bool south);

}  // namespace quelor
