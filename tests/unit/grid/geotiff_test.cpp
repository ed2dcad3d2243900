// The GeoTIFF read back by a small reader of its own: the cloud-optimised
// layout (every IFD before any tile, overview tiles before full-resolution
// ones), the tiles inflated and un-predicted to the very grid values, the
// halving overviews, the geotransform, nodata and the GeoKeys of metres,
// feet and southern surveys.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "grid/cell_kinds.h"
#include "grid/geotiff.h"
#include "grid/grid.h"
#include "grid/kmz.h"
#include "gps/projection.h"
#include "gps/units.h"

namespace quelor {
namespace {

struct Ifd {
  std::map<int, std::vector<double>> numbers;  // SHORT, LONG and DOUBLE tags
  std::map<int, std::string> texts;            // ASCII tags
  std::uint32_t at = 0;
  int value(int tag) const { return static_cast<int>(numbers.at(tag).at(0)); }
};

struct Tiff {
  std::string bytes;
  std::vector<Ifd> ifds;

  std::uint64_t u(std::size_t at, int n) const {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
  }
};

Tiff read_tiff(std::string bytes) {
  Tiff t{std::move(bytes), {}};
  EXPECT_EQ(t.bytes.substr(0, 4), std::string("II*\0", 4));
  for (std::uint32_t at = static_cast<std::uint32_t>(t.u(4, 4)); at != 0;) {
    Ifd ifd;
    ifd.at = at;
    const int n = static_cast<int>(t.u(at, 2));
    for (int i = 0; i < n; ++i) {
      const std::size_t e = at + 2 + 12 * i;
      const int tag = static_cast<int>(t.u(e, 2)), type = static_cast<int>(t.u(e + 2, 2));
      const std::size_t count = t.u(e + 4, 4);
      const int size = type == 3 ? 2 : type == 4 ? 4 : type == 12 ? 8 : 1;
      const std::size_t data = count * size <= 4 ? e + 8 : t.u(e + 8, 4);
      if (type == 2) {
        ifd.texts[tag] = t.bytes.substr(data, count - 1);
        continue;
      }
      for (std::size_t k = 0; k < count; ++k) {
        double v;
        if (type == 12) {
          const std::uint64_t bits = t.u(data + 8 * k, 8);
          std::memcpy(&v, &bits, 8);
        } else {
          v = static_cast<double>(t.u(data + size * k, size));
        }
        ifd.numbers[tag].push_back(v);
      }
    }
    t.ifds.push_back(ifd);
    at = static_cast<std::uint32_t>(t.u(at + 2 + 12 * n, 4));
  }
  return t;
}

// The values of one band of an IFD's image, from its tiles (band after band).
std::vector<float> image_of(const Tiff& t, const Ifd& ifd, int band = 0) {
  const int w = ifd.value(256), h = ifd.value(257), tile = ifd.value(322);
  const bool predictor = ifd.value(317) == 3;
  std::vector<float> out(static_cast<std::size_t>(w) * h);
  const int across = (w + tile - 1) / tile;
  const std::size_t per_band = ifd.numbers.at(324).size() / static_cast<std::size_t>(ifd.value(277));
  for (std::size_t i = 0; i < per_band; ++i) {
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(tile) * tile * 4);
    uLongf size = static_cast<uLongf>(raw.size());
    const std::size_t at = i + static_cast<std::size_t>(band) * per_band;
    const auto* src =
        reinterpret_cast<const Bytef*>(t.bytes.data() + static_cast<std::size_t>(ifd.numbers.at(324)[at]));
    EXPECT_EQ(uncompress(raw.data(), &size, src, static_cast<uLong>(ifd.numbers.at(325)[at])), Z_OK);
    for (int r = 0; r < tile; ++r) {
      std::uint8_t* row = &raw[static_cast<std::size_t>(r) * tile * 4];
      if (predictor) {
        for (int k = 1; k < tile * 4; ++k) row[k] = static_cast<std::uint8_t>(row[k] + row[k - 1]);
        std::vector<std::uint8_t> planes(row, row + tile * 4);
        for (int c = 0; c < tile; ++c)
          for (int b = 0; b < 4; ++b) row[4 * c + b] = planes[static_cast<std::size_t>((3 - b) * tile + c)];
      }
      for (int c = 0; c < tile; ++c) {
        const int x = static_cast<int>(i % across) * tile + c, y = static_cast<int>(i / across) * tile + r;
        if (x >= w || y >= h) continue;
        std::memcpy(&out[static_cast<std::size_t>(y) * w + x], row + 4 * c, 4);
      }
    }
  }
  return out;
}

Grid test_grid(int columns, int rows) {
  Grid g;
  g.columns = columns;
  g.rows = rows;
  g.west = 612000.25;
  g.north = 4829500.5;
  g.cell = 0.25;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      g.values.push_back((r + c) % 97 == 0 ? NAN : static_cast<float>(std::sin(c * 0.01) * 30 + r * 0.001));
  return g;
}

TEST(GeoTiff, TilesHoldTheGridAndOverviewsHalveItInACloudOptimisedLayout) {
  const Grid g = test_grid(1100, 600);
  for (bool predictor : {true, false}) {
    GeoTiffOptions o;
    o.zone = 17;
    o.predictor = predictor;
    o.description = "conductivity_vertical_mS_m";
    const Tiff t = read_tiff(geotiff_bytes(g, o));
    // 1100 x 600 -> 550 x 300 -> 275 x 150 -> 138 x 75 (one tile).
    ASSERT_EQ(t.ifds.size(), 4u);
    const int sizes[4][2] = {{1100, 600}, {550, 300}, {275, 150}, {138, 75}};
    double first_tile = 1e18, previous_level_first = 1e18;
    for (std::size_t i = 0; i < t.ifds.size(); ++i) {
      const Ifd& ifd = t.ifds[i];
      EXPECT_EQ(ifd.value(254), i == 0 ? 0 : 1);
      EXPECT_EQ(ifd.value(256), sizes[i][0]);
      EXPECT_EQ(ifd.value(257), sizes[i][1]);
      EXPECT_EQ(ifd.value(258), 32);
      EXPECT_EQ(ifd.value(259), 8);
      EXPECT_EQ(ifd.value(317), predictor ? 3 : 1);
      EXPECT_EQ(ifd.value(322), 256);
      EXPECT_EQ(ifd.value(339), 3);
      EXPECT_EQ(ifd.texts.at(42113), kGeoTiffNoDataText);
      const auto& offsets = ifd.numbers.at(324);
      for (double off : offsets) first_tile = std::min(first_tile, off);
      for (std::size_t k = 1; k < offsets.size(); ++k) EXPECT_GT(offsets[k], offsets[k - 1]);
      // A finer level's tiles lie after every tile of the coarser ones.
      if (i > 0) {
        EXPECT_LT(offsets.back(), previous_level_first);
      }
      previous_level_first = offsets.front();
    }
    for (const Ifd& ifd : t.ifds) EXPECT_LT(ifd.at, first_tile);
    const std::vector<float> full = image_of(t, t.ifds[0]);
    for (std::size_t k = 0; k < full.size(); ++k) {
      if (std::isnan(g.values[k])) {
        ASSERT_EQ(full[k], kGeoTiffNoData) << k;
      } else
        ASSERT_EQ(full[k], g.values[k]) << k;
    }
    const std::vector<float> half = image_of(t, t.ifds[1]);
    const float expected = static_cast<float>(
        (double(g.values[2 * 1100 + 2]) + g.values[2 * 1100 + 3] + g.values[3 * 1100 + 2] + g.values[3 * 1100 + 3]) /
        4);
    EXPECT_FLOAT_EQ(half[1 * 550 + 1], expected);
    EXPECT_NE(t.ifds[0].texts.at(42112).find("conductivity_vertical_mS_m"), std::string::npos);
    EXPECT_EQ(t.ifds[0].numbers.at(33550), (std::vector<double>{0.25, 0.25, 0}));
    EXPECT_EQ(t.ifds[0].numbers.at(33922), (std::vector<double>{0, 0, 0, 612000.25, 4829500.5, 0}));
  }
}

TEST(GeoTiff, TheCellKindsAreASecondBandAndTheMetadataNamesBothBands) {
  Grid g = test_grid(600, 300);
  for (std::size_t k = 0; k < g.values.size(); ++k)
    g.kinds.push_back(std::isnan(g.values[k]) ? kCellBlank : k % 3 == 0 ? kCellMeasured : kCellInterpolated);
  GeoTiffOptions o;
  o.zone = 31;
  o.description = "ch3_mV";
  o.unit = "mV";
  const Tiff t = read_tiff(geotiff_bytes(g, o));
  ASSERT_EQ(t.ifds.size(), 3u);  // 600 x 300, 300 x 150, 150 x 75
  for (const Ifd& ifd : t.ifds) {
    EXPECT_EQ(ifd.value(277), 2);
    EXPECT_EQ(ifd.value(284), 2);
    EXPECT_EQ(ifd.numbers.at(258), (std::vector<double>{32, 32}));
    EXPECT_EQ(ifd.numbers.at(339), (std::vector<double>{3, 3}));
    EXPECT_EQ(ifd.value(338), 0);
  }
  const std::vector<float> values = image_of(t, t.ifds[0], 0), kinds = image_of(t, t.ifds[0], 1);
  for (std::size_t k = 0; k < g.values.size(); ++k) {
    ASSERT_EQ(values[k], std::isnan(g.values[k]) ? kGeoTiffNoData : g.values[k]) << k;
    ASSERT_EQ(kinds[k], g.kinds[k]) << k;
  }
  // An overview cell is as measured as the most measured of its four.
  const std::vector<float> half = image_of(t, t.ifds[1], 1);
  for (int r = 0; r < 150; ++r)
    for (int c = 0; c < 300; ++c) {
      std::uint8_t most = 0;
      for (int k : {0, 1, 600, 601}) most = std::max(most, g.kinds[static_cast<std::size_t>(2 * r * 600 + 2 * c + k)]);
      ASSERT_EQ(half[static_cast<std::size_t>(r) * 300 + c], most) << c << "," << r;
    }
  const std::string& metadata = t.ifds[0].texts.at(42112);
  for (const char* item : {"<Item name=\"DESCRIPTION\" sample=\"0\" role=\"description\">ch3_mV</Item>",
                           "<Item name=\"UNITTYPE\" sample=\"0\" role=\"unittype\">mV</Item>",
                           "<Item name=\"DESCRIPTION\" sample=\"1\" role=\"description\">cell: 2 measured, 1 "
                           "interpolated, 0 blank</Item>"})
    EXPECT_NE(metadata.find(item), std::string::npos) << item;
  // A further channel's band before the kinds: three bands, planar, the metadata per sample.
  o.more_bands.push_back({std::vector<float>(g.values.size(), 2.5f), "ch4_mV", "mV"});
  const Tiff three = read_tiff(geotiff_bytes(g, o));
  EXPECT_EQ(three.ifds[0].value(277), 3);
  EXPECT_EQ(three.ifds[0].value(284), 2);
  EXPECT_EQ(three.ifds[0].numbers.at(338), (std::vector<double>{0, 0}));
  EXPECT_EQ(image_of(three, three.ifds[0], 1), std::vector<float>(g.values.size(), 2.5f));
  EXPECT_EQ(image_of(three, three.ifds[0], 2), kinds);
  EXPECT_NE(
      three.ifds[0].texts.at(42112).find("<Item name=\"DESCRIPTION\" sample=\"1\" role=\"description\">ch4_mV</Item>"),
      std::string::npos);
  EXPECT_NE(three.ifds[0].texts.at(42112).find("<Item name=\"BLANK\" sample=\"2\">0</Item>"), std::string::npos);
  o.more_bands.clear();
  // Without kinds, one band as before.
  EXPECT_EQ(read_tiff(geotiff_bytes(test_grid(10, 10), o)).ifds[0].value(277), 1);
}

TEST(GeoTiff, TheGeoKeysNameTheUtmZoneOfMetresFeetAndTheSouth) {
  struct Case {
    int zone;
    bool south;
    int units;
    std::vector<double> keys;  // after the directory's header: id, location, count, value
  };
  const Case cases[] = {
      {17, false, 0, {1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32617}},
      {56, true, 0, {1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32756}},
      {17, false, 1, {1024, 0,     1,    1,     1025, 0, 1,    1, 2048, 0,     1,    4326, 3072, 0,
                      1,    32767, 3073, 34737, 27,   0, 3074, 0, 1,    16017, 3076, 0,    1,    9002}},
      {33, true, 2, {1024, 0,     1,    1,     1025, 0, 1,    1, 2048, 0,     1,    4326, 3072, 0,
                     1,    32767, 3073, 34737, 29,   0, 3074, 0, 1,    16133, 3076, 0,    1,    9003}},
      {0, false, 0, {1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32767, 3076, 0, 1, 9001}},
  };
  for (const Case& c : cases) {
    GeoTiffOptions o;
    o.zone = c.zone;
    o.south = c.south;
    o.map_units = c.units;
    const Tiff t = read_tiff(geotiff_bytes(test_grid(10, 10), o));
    ASSERT_EQ(t.ifds.size(), 1u);
    std::vector<double> keys = t.ifds[0].numbers.at(34735);
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(keys[3] * 4, keys.size() - 4) << c.zone;
    keys.erase(keys.begin(), keys.begin() + 4);
    EXPECT_EQ(keys, c.keys) << "zone " << c.zone << " units " << c.units;
    const std::string names = c.units == 1 ? "WGS 84 / UTM zone 17N (ft)|" : "WGS 84 / UTM zone 33S (ftUS)|";
    if (c.units != 0) {
      EXPECT_EQ(t.ifds[0].texts.at(34737), names);
    }
  }
  EXPECT_EQ(utm_epsg(17, false), 32617);
  EXPECT_EQ(utm_epsg(1, true), 32701);
  EXPECT_EQ(utm_epsg(0, false), 0);
}

TEST(Kmz, TheOverlaysCornersAreTheGridsInMetresFeetAndTheSouth) {
  struct Case {
    int zone;
    bool south;
    int units;
    double west, north;  // map units
  };
  const Case cases[] = {{17, false, kUnitMetres, 612977.0, 4829519.0},
                        {56, true, kUnitMetres, 334368.5, 6250948.25},
                        {17, false, kUnitFeet, 612977.0 / 0.3048, 4829519.0 / 0.3048},
                        {33, true, kUnitUsFeet, 500000.0 / kUsSurveyFoot, 6250948.25 / kUsSurveyFoot}};
  for (const Case& c : cases) {
    Grid g = test_grid(40, 30);
    g.west = c.west;
    g.north = c.north;
    const std::string kml = grid_kml(g, c.zone, c.south, c.units, "ch<1>");
    EXPECT_NE(kml.find("<GroundOverlay><name>ch&lt;1&gt;</name><Icon><href>grid.png</href></Icon>"), std::string::npos);
    const std::size_t from = kml.find("<coordinates>") + 13;
    std::istringstream corners(kml.substr(from, kml.find("</coordinates>") - from));
    const double m = metres_per_unit(c.units), east = (g.west + 40 * g.cell) * m, south = (g.north - 30 * g.cell) * m;
    for (const auto& e :
         {std::pair{g.west * m, south}, {east, south}, {east, g.north * m}, {g.west * m, g.north * m}}) {
      double lon = 0, lat = 0, height = 1;
      char comma = 0;
      corners >> lon >> comma >> lat >> comma >> height;
      const GridPoint p = project_to_utm(lat, lon, c.zone);
      EXPECT_NEAR(p.easting, e.first, 1e-3) << c.zone;
      EXPECT_NEAR(p.northing, e.second, 1e-3) << c.zone;
    }
  }
  EXPECT_EQ(grid_kmz(test_grid(4, 4), 0, false, kUnitMetres, "local", "png"), "");
}

}  // namespace
}  // namespace quelor
