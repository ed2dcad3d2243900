// The grid's overlays: the KMZ read back as a zip (entries, CRCs, deflated
// and stored), the ground overlay's box landing on the grid's corners once
// Google Earth turns it, the picture transparent where there is no data;
// contour levels and lines (a plane's are straight and where the plane has
// the level, every vertex interpolates to its level, none crosses a blank),
// and the GeoJSON's coordinates back on the lines.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gps/projection.h"
#include "gps/units.h"
#include "grid/contours.h"
#include "grid/contours_geojson.h"
#include "grid/grid_kmz.h"
#include "grid/kml_overlay.h"
#include "grid/overlay_picture.h"
#include "grid/zip_archive.h"

namespace quelor {
namespace {

std::uint32_t le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s.at(at + i));
  return v;
}

std::string inflated(const std::string& packed, std::size_t size, int window_bits) {
  std::string out(size, '\0');
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, window_bits), Z_OK);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  inflateEnd(&z);
  return out;
}

// The entries of a zip read from its central directory through the local headers.
std::vector<ZipEntry> unzipped(const std::string& zip) {
  std::vector<ZipEntry> out;
  const std::size_t end = zip.size() - 22;
  EXPECT_EQ(le(zip, end, 4), 0x06054b50u);
  const std::size_t count = le(zip, end + 10, 2);
  std::size_t at = le(zip, end + 16, 4);
  EXPECT_EQ(at + le(zip, end + 12, 4), end);
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(le(zip, at, 4), 0x02014b50u);
    const std::uint32_t method = le(zip, at + 10, 2), crc = le(zip, at + 16, 4), packed = le(zip, at + 20, 4),
                        size = le(zip, at + 24, 4), name_length = le(zip, at + 28, 2), local = le(zip, at + 42, 4);
    const std::string name = zip.substr(at + 46, name_length);
    EXPECT_EQ(le(zip, local, 4), 0x04034b50u);
    EXPECT_EQ(le(zip, local + 14, 4), crc);
    EXPECT_EQ(zip.substr(local + 30, le(zip, local + 26, 2)), name);
    const std::string data = zip.substr(local + 30 + name_length + le(zip, local + 28, 2), packed);
    EXPECT_TRUE(method == 0 || method == 8) << method;
    std::string bytes = method == 8 ? inflated(data, size, -15) : data;
    EXPECT_EQ(bytes.size(), size);
    EXPECT_EQ(crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())), crc) << name;
    out.push_back({name, std::move(bytes)});
    at += 46 + name_length + le(zip, at + 30, 2) + le(zip, at + 32, 2);
  }
  return out;
}

TEST(ZipArchive, EntriesComeBackAsTheyWent) {
  std::mt19937 rng(3);
  std::string noise(5000, '\0');
  for (char& ch : noise) ch = static_cast<char>(rng());
  const std::vector<ZipEntry> entries = {
      {"doc.kml", std::string(20000, 'k')},  // deflated
      {"empty", ""},
      {"noise.bin", noise},  // stored: deflate would make it larger
      {"files/x.png", "\x89PNG"},
  };
  const std::string zip = zip_bytes(entries);
  const std::vector<ZipEntry> back = unzipped(zip);
  ASSERT_EQ(back.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(back[i].name, entries[i].name);
    EXPECT_EQ(back[i].bytes, entries[i].bytes) << entries[i].name;
  }
  EXPECT_LT(zip.size(), 20000u + 5000u);
  EXPECT_EQ(zip_bytes(entries), zip);  // the same contents, the same bytes
  EXPECT_TRUE(zip_bytes({{"", "nameless"}}).empty());
}

Grid frame(double west, double north, double cell, int columns, int rows) {
  Grid g;
  g.west = west;
  g.north = north;
  g.cell = cell;
  g.columns = columns;
  g.rows = rows;
  g.values.assign(static_cast<std::size_t>(columns) * rows, 1.0f);
  return g;
}

// The box as Google Earth places it: its corners turned by the rotation
// about its centre in the plane of degrees (longitude times cos latitude),
// then projected back on the grid.
TEST(KmlOverlay, TheTurnedBoxCornersLandOnTheGridCorners) {
  struct Case {
    const char* what;
    Grid grid;
    int zone;
    bool south;
    int units;
    double tolerance;  // map units
  } cases[] = {
      {"north, east of the central meridian", frame(612977.1, 4829528.95, 0.05, 221, 602), 17, false, kUnitMetres, 0.01},
      {"north, a kilometre, far west", frame(290000, 4830000, 2, 600, 500), 17, false, kUnitMetres, 0.25},
      {"south", frame(334360, 6250960, 0.25, 120, 80), 56, true, kUnitMetres, 0.01},
      {"feet", frame(612977.1 / kInternationalFoot, 4829528.95 / kInternationalFoot, 0.2, 160, 500), 17, false,
       kUnitFeet, 0.03},
      {"US feet, on the meridian", frame(499900 / kUsSurveyFoot, 5000000 / kUsSurveyFoot, 1, 656, 300), 33, false,
       kUnitUsFeet, 0.03},
  };
  constexpr double kRad = 3.14159265358979323846 / 180;
  for (const Case& c : cases) {
    const LatLonBox box = overlay_box(c.grid, c.zone, c.south, c.units);
    const double lat0 = (box.north + box.south) / 2, lon0 = (box.east + box.west) / 2;
    const double h = (box.north - box.south) / 2, w = (box.east - box.west) / 2 * std::cos(lat0 * kRad);
    const double turn = box.rotation * kRad, m = metres_per_unit(c.units);
    const Grid& g = c.grid;
    const double east_edge = g.west + g.columns * g.cell, south_edge = g.north - g.rows * g.cell;
    const struct {
      double e, n, x, y;
    } corners[] = {{-w, h, g.west, g.north}, {w, h, east_edge, g.north}, {w, -h, east_edge, south_edge},
                   {-w, -h, g.west, south_edge}};
    for (const auto& k : corners) {
      const double e = k.e * std::cos(turn) - k.n * std::sin(turn), n = k.e * std::sin(turn) + k.n * std::cos(turn);
      const double lat = lat0 + n;
      const GridPoint p = project_to_utm(lat, lon0 + e / std::cos(lat0 * kRad), c.zone);
      const double northing = c.south ? p.northing : p.northing;
      EXPECT_NEAR(p.easting / m, k.x, c.tolerance) << c.what;
      EXPECT_NEAR(northing / m, k.y, c.tolerance) << c.what;
    }
    EXPECT_LT(box.south, box.north);
    EXPECT_LT(box.west, box.east);
  }
}

TEST(KmlOverlay, TheKmzHoldsTheOverlayAndItsPicture) {
  Grid g = frame(612977.1, 4829528.95, 0.5, 4, 3);
  g.values = {1, 2, 3, NAN, 4, 5, 6, 7, NAN, 8, 9, 10};
  const std::string kmz = grid_kmz_bytes(g, {17, false, kUnitMetres}, "LINE <1>", "conductivity & more", 1, 10);
  const std::vector<ZipEntry> entries = unzipped(kmz);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "doc.kml");
  EXPECT_EQ(entries[1].name, "LINE__1_.png");
  const std::string& kml = entries[0].bytes;
  EXPECT_NE(kml.find("<href>LINE__1_.png</href>"), std::string::npos);
  EXPECT_NE(kml.find("<name>LINE &lt;1&gt;</name>"), std::string::npos);
  EXPECT_NE(kml.find("conductivity &amp; more"), std::string::npos);
  EXPECT_EQ(entries[1].bytes, overlay_png_bytes(g, 1, 10));
}

// The picture's pixels: IHDR 8-bit RGBA, alpha 0 exactly at the cells without data.
TEST(KmlOverlay, ThePictureIsTransparentWhereThereIsNoData) {
  Grid g = frame(0, 0, 1, 5, 4);
  for (std::size_t k = 0; k < g.values.size(); ++k) g.values[k] = k % 3 == 0 ? NAN : static_cast<float>(k);
  const std::string png = overlay_png_bytes(g, 0, 20);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\5\0\0\0\4", 8));
  EXPECT_EQ(png.substr(24, 2), std::string("\x08\x06", 2));
  const std::size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length = length << 8 | static_cast<unsigned char>(png[idat - 4 + i]);
  const std::string rows = inflated(png.substr(idat + 4, length), 4 * (1 + 5 * 4), 15);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 5; ++c) {
      const unsigned char alpha = rows[static_cast<std::size_t>(r) * 21 + 1 + c * 4 + 3];
      EXPECT_EQ(alpha, std::isnan(g.at(c, r)) ? 0 : 255) << c << "," << r;
    }
  EXPECT_TRUE(overlay_png_bytes(frame(0, 0, 1, 0, 0), 0, 1).empty());
}

TEST(Contours, LevelsAreTheMultiplesOfTheIntervalInTheRange) {
  struct Case {
    double low, high, interval;
    std::vector<double> levels;
    bool error;
  } cases[] = {
      {-3.2, 7.9, 2.5, {-2.5, 0, 2.5, 5, 7.5}, false},
      {5, 5, 5, {5}, false},
      {1.1, 1.9, 1, {}, false},
      {0, 10, 0, {}, true},
      {0, 10, -1, {}, true},
      {0, 10, NAN, {}, true},
      {0, 1e6, 0.5, {}, true},  // 2 000 001 levels
      {-1e300, 1e300, 1e-10, {}, true},  // beyond any count
      {0, 999, 1, {}, false},   // 1000: the most there may be
  };
  for (const Case& c : cases) {
    const ContourLevels l = contour_levels(c.low, c.high, c.interval);
    EXPECT_EQ(!l.error.empty(), c.error) << c.low << " " << c.high << " " << c.interval;
    if (c.error) continue;
    if (c.levels.empty() && c.high - c.low > 100) {
      EXPECT_EQ(l.levels.size(), static_cast<std::size_t>(kMaxContourLevels));
      continue;
    }
    ASSERT_EQ(l.levels.size(), c.levels.size());
    for (std::size_t i = 0; i < l.levels.size(); ++i) EXPECT_DOUBLE_EQ(l.levels[i], c.levels[i]);
  }
}

Grid sampled(int columns, int rows, double cell, double (*f)(double, double)) {
  Grid g = frame(1000, 2000, cell, columns, rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      g.values[static_cast<std::size_t>(r) * columns + c] = static_cast<float>(f(g.centre_x(c), g.centre_y(r)));
  return g;
}

double plane(double x, double y) { return 0.3 * (x - 1000) - 0.4 * (y - 2000); }

// v = 0.3 (x - x0) - 0.4 (y - y0): each level's line is the straight line
// where the plane has that level, in the gradient's normal direction.
TEST(Contours, APlaneGivesStraightParallelLinesWhereItHasTheLevel) {
  const Grid g = sampled(40, 30, 0.5, plane);
  const ContourLevels levels = contour_levels(-0.5, 15.3, 1.0);
  const std::vector<ContourLevel> lines = contour_lines(g, levels.levels);
  // The levels strictly between the lowest and the highest centre have a line.
  const auto [low, high] = std::minmax_element(g.values.begin(), g.values.end());
  std::size_t crossing = 0;
  for (double level : levels.levels) crossing += level > *low && level < *high;
  ASSERT_GT(crossing, 8u);
  ASSERT_EQ(lines.size(), crossing);
  for (const ContourLevel& l : lines) {
    ASSERT_EQ(l.lines.size(), 1u) << l.level;
    const std::vector<ContourPoint>& p = l.lines[0];
    ASSERT_GE(p.size(), 2u);
    for (const ContourPoint& q : p) EXPECT_NEAR(plane(q.x, q.y), l.level, 2e-5) << l.level;
    // Along (0.4, 0.3), the normal of the gradient: the same direction for every line.
    const double dx = p.back().x - p.front().x, dy = p.back().y - p.front().y;
    EXPECT_NEAR(std::abs(dx * 0.3 - dy * 0.4) / std::hypot(dx, dy), 0.0, 1e-5) << l.level;
    EXPECT_GT(std::hypot(dx, dy), 3.0) << l.level;  // one line, not pieces
  }
}

double bump(double x, double y) { return 10 * std::exp(-(std::pow(x - 1010, 2) + std::pow(y - 1990, 2)) / 20); }

// Whether the point lies on a side between two centres with data, and the
// value linearly interpolated there.
bool on_a_side(const Grid& g, const ContourPoint& p, double& value) {
  const double u = (p.x - g.centre_x(0)) / g.cell, w = (g.centre_y(0) - p.y) / g.cell;
  const bool on_column = std::abs(u - std::round(u)) < 1e-6, on_row = std::abs(w - std::round(w)) < 1e-6;
  if (!on_column && !on_row) return false;
  const int c0 = on_column ? static_cast<int>(std::round(u)) : static_cast<int>(std::floor(u));
  const int r0 = on_row ? static_cast<int>(std::round(w)) : static_cast<int>(std::floor(w));
  const int c1 = on_column ? c0 : c0 + 1, r1 = on_row ? r0 : r0 + 1;
  const double t = on_column ? w - r0 : u - c0;
  if (c1 >= g.columns || r1 >= g.rows) return t < 1e-9 && (value = g.at(c0, r0), true);
  value = g.at(c0, r0) + t * (g.at(c1, r1) - g.at(c0, r0));
  return !std::isnan(value);
}

// The square holding a point has data at all four corners.
bool square_has_data(const Grid& g, double x, double y) {
  const int c = static_cast<int>(std::floor((x - g.centre_x(0)) / g.cell));
  const int r = static_cast<int>(std::floor((g.centre_y(0) - y) / g.cell));
  if (c < 0 || r < 0 || c + 1 >= g.columns || r + 1 >= g.rows) return false;
  for (int i = 0; i < 4; ++i)
    if (std::isnan(g.at(c + i % 2, r + i / 2))) return false;
  return true;
}

TEST(Contours, EveryVertexInterpolatesToItsLevelAndNoLineCrossesABlank) {
  Grid g = sampled(41, 41, 0.5, bump);
  // A blank strip across the bump and a blank corner.
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.columns; ++c)
      if ((c >= 18 && c <= 19 && r < 30) || (c > 35 && r > 35)) g.values[static_cast<std::size_t>(r) * g.columns + c] = NAN;
  const std::vector<ContourLevel> levels = contour_lines(g, contour_levels(0, 10, 1).levels);
  ASSERT_GE(levels.size(), 9u);
  std::size_t vertices = 0, closed = 0;
  for (const ContourLevel& l : levels)
    for (const std::vector<ContourPoint>& line : l.lines) {
      ASSERT_GE(line.size(), 2u);
      if (line.front().x == line.back().x && line.front().y == line.back().y) ++closed;
      for (std::size_t i = 0; i < line.size(); ++i) {
        double v = NAN;
        ASSERT_TRUE(on_a_side(g, line[i], v)) << l.level << ": " << line[i].x << "," << line[i].y;
        EXPECT_NEAR(v, l.level, 1e-4);
        ++vertices;
        if (i > 0) {
          EXPECT_TRUE(square_has_data(g, (line[i].x + line[i - 1].x) / 2, (line[i].y + line[i - 1].y) / 2))
              << l.level << " crosses a blank at " << line[i].x << "," << line[i].y;
        }
      }
    }
  EXPECT_GT(vertices, 500u);
  // The strip cuts the rings around the peak open, except the peak's own
  // small ones south of the strip's end.
  Grid whole = sampled(41, 41, 0.5, bump);
  std::size_t whole_closed = 0;
  for (const ContourLevel& l : contour_lines(whole, {5.0}))
    for (const auto& line : l.lines) whole_closed += line.front().x == line.back().x && line.front().y == line.back().y;
  EXPECT_EQ(whole_closed, 1u);
  EXPECT_LT(closed, 9u);
}

// A saddle: the mean of the corners decides; the two lines never cross.
TEST(Contours, ASaddleIsSplitByTheMeanOfItsCorners) {
  struct Case {
    float nw, ne, sw, se;
    double level;
    bool joined_nw_se;  // whether the lines leave the north-west and south-east corners joined
  } cases[] = {{1, 0, 0, 1, 0.4, true}, {1, 0, 0, 1, 0.6, false}, {0, 1, 1, 0, 0.4, false}, {0, 1, 1, 0, 0.6, true}};
  for (const Case& c : cases) {
    Grid g = frame(0, 2, 1, 2, 2);
    g.values = {c.nw, c.ne, c.sw, c.se};
    const std::vector<ContourLevel> out = contour_lines(g, {c.level});
    ASSERT_EQ(out.size(), 1u);
    ASSERT_EQ(out[0].lines.size(), 2u);
    // The north-west centre (0.5, 1.5) and the south-east one (1.5, 0.5) are
    // joined when no line separates them: each line cuts off the NE or SW corner.
    for (const auto& line : out[0].lines) {
      const double mx = (line[0].x + line[1].x) / 2, my = (line[0].y + line[1].y) / 2;
      const bool cuts_ne_or_sw = (mx - 1) * (my - 1) > 0;
      EXPECT_EQ(cuts_ne_or_sw, c.joined_nw_se) << c.nw << c.ne << c.sw << c.se << " at " << c.level;
    }
  }
}

TEST(Contours, TheGeoJsonCoordinatesLieOnTheLines) {
  const Grid g = sampled(40, 30, 0.5, plane);
  Grid placed = g;
  placed.west = 612977.1;
  placed.north = 4829528.95;
  const std::vector<ContourLevel> levels = contour_lines(placed, {2.0, 3.5});
  const std::string text = contours_geojson(levels, {17, false, kUnitMetres}, "north \"1\"");
  EXPECT_EQ(text.rfind("{\"type\":\"FeatureCollection\",\"name\":\"north \\\"1\\\"\",\"features\":[", 0), 0u);
  EXPECT_NE(text.find("\"properties\":{\"level\":3.5},\"geometry\":{\"type\":\"MultiLineString\""), std::string::npos);
  // Each coordinate pair, projected again, is the line's vertex.
  std::size_t at = text.find("\"coordinates\":[[[");
  ASSERT_NE(at, std::string::npos);
  at += 17;
  for (const ContourPoint& p : levels[0].lines[0]) {
    double lon = 0, lat = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "%lf,%lf", &lon, &lat), 2);
    const GridPoint q = project_to_utm(lat, lon, 17);
    EXPECT_NEAR(q.easting, p.x, 2e-4);
    EXPECT_NEAR(q.northing, p.y, 2e-4);
    at = text.find('[', at) + 1;
  }
}

}  // namespace
}  // namespace quelor
