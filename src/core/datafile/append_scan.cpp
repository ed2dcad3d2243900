#include "datafile/append_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "datafile/record_cursor.h"
#include "datafile/record_layout.h"

namespace quelor {

namespace {

long floor_div(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Far beyond the tile grid at any tile size, and far from overflowing: a
// pixel outside it counts as outside the map, whatever its distance.
constexpr long kPixelLimit = 1L << 30;  // long is 32 bits on Windows

long to_pixels(double value, double origin, double k) {
  const double pixels = std::trunc((value - origin) * k + 0.5);
  if (std::isnan(pixels)) return kPixelLimit;  // a value no number: off the map
  return static_cast<long>(std::clamp(pixels, -static_cast<double>(kPixelLimit), static_cast<double>(kPixelLimit)));
}

bool inside_tiles(const MapExtent& e, const MapFrame& f) {
  const long pixels[4] = {to_pixels(e.min_easting, f.origin_easting, f.pixels_per_unit),
                          to_pixels(e.max_easting, f.origin_easting, f.pixels_per_unit),
                          to_pixels(e.min_northing, f.origin_northing, f.pixels_per_unit),
                          to_pixels(e.max_northing, f.origin_northing, f.pixels_per_unit)};
  const int tiles[4] = {tile_column(pixels[0], f.tile_width), tile_column(pixels[1], f.tile_width),
                        tile_row(pixels[2], f.tile_height), tile_row(pixels[3], f.tile_height)};
  return std::all_of(std::begin(tiles), std::end(tiles), [](int t) { return t >= 0 && t < kMapTiles; });
}

}  // namespace

int tile_column(long px, int tile_width) {
  const long w = std::max(1, tile_width);
  px = std::clamp(px, -kPixelLimit, kPixelLimit);
  return static_cast<int>(std::clamp(1000 + floor_div(px + w - 1, w), -1L, static_cast<long>(kMapTiles)));
}

int tile_row(long py, int tile_height) {
  const long h = std::max(1, tile_height);
  py = std::clamp(py, -kPixelLimit, kPixelLimit);
  return static_cast<int>(std::clamp(1000 + floor_div(py, h), -1L, static_cast<long>(kMapTiles)));
}

ScanResult scan_appended_file(std::string_view file, int record_length, const MapFrame& frame, Clock* clock,
                              const std::function<void()>& busy) {
  ScanResult r;
  r.extent = {frame.origin_easting, frame.origin_easting, frame.origin_northing, frame.origin_northing};
  DataFile records;
  records.bytes = file;
  records.record_length = std::max(record_length, 3);  // this program's own length
  std::uint32_t last_busy = clock ? clock->now_ms() : 0;
  RecordCursor cursor = record_cursor(records);
  while (const auto record = next_record(cursor)) {
    if (clock && busy && elapsed_ms(last_busy, clock->now_ms()) >= 750) {
      busy();
      last_busy = clock->now_ms();
    }
    const std::string_view rec = record->body();
    if (record->kind != RecordKind::kSwath || rec[1] < 'a' || rec[1] > 'h') continue;
    const double value = std::atof(std::string(rec.substr(2)).c_str());
    const bool easting = (rec[1] - 'a') % 2 == 0;
    if (easting) {
      r.extent.min_easting = std::min(r.extent.min_easting, value);
      r.extent.max_easting = std::max(r.extent.max_easting, value);
    } else {
      r.extent.min_northing = std::min(r.extent.min_northing, value);
      r.extent.max_northing = std::max(r.extent.max_northing, value);
    }
    if (rec[1] == 'd' || rec[1] == 'h') ++r.positions;
  }
  if (!inside_tiles(r.extent, frame)) {
    r.message = {"WARNING",
                 "Map Size too small to accommodate the data file.\r\nPlease increase map size in Map Size option\r\n"
                 "then select the file again",
                 DialogTemplate::kOk};
    return r;
  }
  if (r.positions >= kMaximumGpsPositions) {
    r.must_exit = true;
    r.message = {"INFORMATION", "Number of GPS Positions in the file has reached its maximum", DialogTemplate::kOk};
    return r;
  }
  r.ok = true;
  r.message = {"INFORMATION", format_text("%s %ld\r\n", "Total Number of GPS Positions:      ", r.positions),
               DialogTemplate::kOk};
  return r;
}

}  // namespace quelor
