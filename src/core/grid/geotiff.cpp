#include "grid/geotiff.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gps/units.h"
#include "export/xml_text.h"

namespace quelor {

namespace {

constexpr int kTile = 256;

enum TagType : std::uint16_t { kAscii = 2, kShort = 3, kLong = 4, kDouble = 12 };

struct Tag {
  std::uint16_t code = 0;
  std::uint16_t type = kShort;
  std::uint32_t count = 0;
  std::vector<std::uint8_t> data;  // little-endian values
};

template <typename T>
void put(std::vector<std::uint8_t>& out, T v) {
  for (std::size_t i = 0; i < sizeof(T); ++i)
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
}

void put_double(std::vector<std::uint8_t>& out, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  put(out, bits);
}

Tag shorts(std::uint16_t code, const std::vector<std::uint16_t>& values) {
  Tag t{code, kShort, static_cast<std::uint32_t>(values.size()), {}};
  for (std::uint16_t v : values) put(t.data, v);
  return t;
}

Tag longs(std::uint16_t code, const std::vector<std::uint32_t>& values) {
  Tag t{code, kLong, static_cast<std::uint32_t>(values.size()), {}};
  for (std::uint32_t v : values) put(t.data, v);
  return t;
}

Tag doubles(std::uint16_t code, const std::vector<double>& values) {
  Tag t{code, kDouble, static_cast<std::uint32_t>(values.size()), {}};
  for (double v : values) put_double(t.data, v);
  return t;
}

Tag ascii(std::uint16_t code, const std::string& text) {
  Tag t{code, kAscii, static_cast<std::uint32_t>(text.size() + 1), {}};
  t.data.assign(text.begin(), text.end());
  t.data.push_back(0);
  return t;
}

// One resolution: its size and its compressed tiles, band after band, each
// row by row.
struct Image {
  int width = 0, height = 0;
  std::vector<std::vector<float>> values;  // the value bands, NaN: no data
  std::vector<float> kinds;                // the cell kinds' band; empty: none
  std::vector<std::vector<std::uint8_t>> tiles;
};

// Each cell of the half resolution from its four: the mean of the values
// with data; the most measured kind.
std::vector<float> halved_band(const std::vector<float>& full, int width, int height, bool kinds) {
  const int hw = (width + 1) / 2, hh = (height + 1) / 2;
  std::vector<float> out(static_cast<std::size_t>(hw) * hh, kinds ? 0.0f : NAN);
  for (int r = 0; r < hh; ++r)
    for (int c = 0; c < hw; ++c) {
      double sum = 0, most = 0;
      int n = 0;
      for (int dr = 0; dr < 2; ++dr)
        for (int dc = 0; dc < 2; ++dc) {
          const int fr = 2 * r + dr, fc = 2 * c + dc;
          if (fr >= height || fc >= width) continue;
          const float v = full[static_cast<std::size_t>(fr) * width + fc];
          if (!std::isnan(v)) {
            sum += v;
            most = std::max(most, double(v));
            ++n;
          }
        }
      if (n) out[static_cast<std::size_t>(r) * hw + c] = static_cast<float>(kinds ? most : sum / n);
    }
  return out;
}

Image halved(const Image& full) {
  Image h;
  h.width = (full.width + 1) / 2;
  h.height = (full.height + 1) / 2;
  for (const std::vector<float>& band : full.values)
    h.values.push_back(halved_band(band, full.width, full.height, false));
  if (!full.kinds.empty()) h.kinds = halved_band(full.kinds, full.width, full.height, true);
  return h;
}

// The floating-point predictor of each row: the bytes of the row's samples
// as planes from the most significant byte, then each byte minus the one
// before it.
void predict_row(std::uint8_t* row, std::vector<std::uint8_t>& scratch) {
  const std::size_t n = kTile, bytes = n * 4;
  scratch.assign(row, row + bytes);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t b = 0; b < 4; ++b) row[(3 - b) * n + i] = scratch[4 * i + b];
  for (std::size_t i = bytes - 1; i > 0; --i) row[i] = static_cast<std::uint8_t>(row[i] - row[i - 1]);
}

std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
  out.resize(size);
  return out;
}

void compress_band(Image& image, const std::vector<float>& band, bool predictor) {
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(kTile) * kTile * 4), scratch;
  for (int ty = 0; ty < image.height; ty += kTile)
    for (int tx = 0; tx < image.width; tx += kTile) {
      for (int r = 0; r < kTile; ++r) {
        std::uint8_t* row = &raw[static_cast<std::size_t>(r) * kTile * 4];
        for (int c = 0; c < kTile; ++c) {
          float v = kGeoTiffNoData;
          if (ty + r < image.height && tx + c < image.width) {
            const float x = band[static_cast<std::size_t>(ty + r) * image.width + tx + c];
            if (!std::isnan(x)) v = x;
          }
          std::uint32_t bits;
          std::memcpy(&bits, &v, 4);
          for (int b = 0; b < 4; ++b) row[4 * c + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
        if (predictor) predict_row(row, scratch);
      }
      image.tiles.push_back(deflated(raw));
    }
}

void compress_tiles(Image& image, bool predictor) {
  for (const std::vector<float>& band : image.values) compress_band(image, band, predictor);
  if (!image.kinds.empty()) compress_band(image, image.kinds, predictor);
}

// The name of a UTM zone in feet, which has no EPSG code, for GIS software
// to show (GeoAsciiParams, '|' ending each text).
std::string geo_ascii(const GeoTiffOptions& o) {
  if (o.map_units == kUnitMetres || o.zone < 1 || o.zone > 60) return {};
  return "WGS 84 / UTM zone " + std::to_string(o.zone) + (o.south ? "S" : "N") +
         (o.map_units == kUnitUsFeet ? " (ftUS)" : " (ft)") + "|";
}

std::vector<std::uint16_t> geo_keys(const GeoTiffOptions& o) {
  struct Key {
    std::uint16_t id, location, count, value;
  };
  std::vector<Key> keys = {{1024, 0, 1, 1}, {1025, 0, 1, 1}};  // projected, pixel is area
  const int epsg = o.map_units == kUnitMetres ? utm_epsg(o.zone, o.south) : 0;
  static constexpr std::uint16_t kLinearUnit[] = {9001, 9002, 9003};  // metre, foot, US survey foot
  const std::uint16_t unit = kLinearUnit[std::clamp(o.map_units, 0, 2)];
  if (epsg) {
    keys.push_back({3072, 0, 1, static_cast<std::uint16_t>(epsg)});
  } else if (o.zone >= 1 && o.zone <= 60) {
    keys.push_back({2048, 0, 1, 4326});   // WGS 84
    keys.push_back({3072, 0, 1, 32767});  // user-defined: the UTM zone in feet
    keys.push_back({3073, 34737, static_cast<std::uint16_t>(geo_ascii(o).size()), 0});  // its name
    keys.push_back({3074, 0, 1, static_cast<std::uint16_t>((o.south ? 16100 : 16000) + o.zone)});
    keys.push_back({3076, 0, 1, unit});
  } else {
    keys.push_back({3072, 0, 1, 32767});
    keys.push_back({3076, 0, 1, unit});
  }
  std::vector<std::uint16_t> out = {1, 1, 0, static_cast<std::uint16_t>(keys.size())};
  for (const Key& k : keys) out.insert(out.end(), {k.id, k.location, k.count, k.value});
  return out;
}

std::string band_items(std::size_t sample, const std::string& description, const std::string& unit) {
  const std::string at = " sample=\"" + std::to_string(sample) + "\"";
  std::string items;
  if (!description.empty())
    items += "<Item name=\"DESCRIPTION\"" + at + " role=\"description\">" + xml_escaped(description) + "</Item>";
  if (!unit.empty()) items += "<Item name=\"UNITTYPE\"" + at + " role=\"unittype\">" + xml_escaped(unit) + "</Item>";
  return items;
}

// The bands' descriptions and the values' units, as GDAL reads them.
std::string gdal_metadata(const GeoTiffOptions& o, bool kinds) {
  std::string items = band_items(0, o.description, o.unit);
  for (std::size_t i = 0; i < o.more_bands.size(); ++i)
    items += band_items(i + 1, o.more_bands[i].description, o.more_bands[i].unit);
  if (kinds) {
    const std::string at = " sample=\"" + std::to_string(o.more_bands.size() + 1) + "\"";
    items += band_items(o.more_bands.size() + 1, "cell: 2 measured, 1 interpolated, 0 blank", "") +
             "<Item name=\"MEASURED\"" + at + ">2</Item><Item name=\"INTERPOLATED\"" + at +
             ">1</Item><Item name=\"BLANK\"" + at + ">0</Item>";
  }
  return items.empty() ? std::string() : "<GDALMetadata>" + items + "</GDALMetadata>";
}

std::vector<Tag> image_tags(const Image& image, bool overview, const Grid& grid, const GeoTiffOptions& o,
                            const std::vector<std::uint32_t>& offsets) {
  std::vector<std::uint32_t> counts;
  for (const auto& t : image.tiles) counts.push_back(static_cast<std::uint32_t>(t.size()));
  const bool kinds = !grid.kinds.empty();
  const auto bands = static_cast<std::uint16_t>(1 + o.more_bands.size() + (kinds ? 1 : 0));
  std::vector<Tag> tags = {
      longs(254, {overview ? 1u : 0u}),
      longs(256, {static_cast<std::uint32_t>(image.width)}),
      longs(257, {static_cast<std::uint32_t>(image.height)}),
      shorts(258, std::vector<std::uint16_t>(bands, 32)),
      shorts(259, {8}),  // deflate
      shorts(262, {1}),  // black is zero
      shorts(277, {bands}),
      shorts(284, {static_cast<std::uint16_t>(bands > 1 ? 2 : 1)}),  // planar: the bands one after the other
      shorts(317, {static_cast<std::uint16_t>(o.predictor ? 3 : 1)}),
      shorts(322, {kTile}),
      shorts(323, {kTile}),
      longs(324, offsets),
      longs(325, counts),
  };
  if (bands > 1)
    tags.push_back(shorts(338, std::vector<std::uint16_t>(bands - 1u, 0)));  // extra samples of no stated meaning
  tags.push_back(shorts(339, std::vector<std::uint16_t>(bands, 3)));         // IEEE floating point
  if (!overview) {
    tags.push_back(doubles(33550, {grid.cell, grid.cell, 0.0}));
    tags.push_back(doubles(33922, {0, 0, 0, grid.west, grid.north, 0}));
    tags.push_back(shorts(34735, geo_keys(o)));
    if (const std::string names = geo_ascii(o); !names.empty()) tags.push_back(ascii(34737, names));
    if (const std::string metadata = gdal_metadata(o, kinds); !metadata.empty()) tags.push_back(ascii(42112, metadata));
  }
  tags.push_back(ascii(42113, kGeoTiffNoDataText));
  return tags;
}

std::size_t external_size(const Tag& t) { return t.data.size() > 4 ? (t.data.size() + 1) / 2 * 2 : 0; }

std::size_t ifd_size(const std::vector<Tag>& tags) {
  std::size_t n = 2 + 12 * tags.size() + 4;
  for (const Tag& t : tags) n += external_size(t);
  return n;
}

// Writes one IFD with its tag data at `at` (the end of `out`).
void write_ifd(std::vector<std::uint8_t>& out, const std::vector<Tag>& tags, std::uint32_t next) {
  const std::size_t at = out.size();
  std::size_t data_at = at + 2 + 12 * tags.size() + 4;
  std::vector<std::uint8_t> data;
  put(out, static_cast<std::uint16_t>(tags.size()));
  for (const Tag& t : tags) {
    put(out, t.code);
    put(out, t.type);
    put(out, t.count);
    if (t.data.size() <= 4) {
      std::vector<std::uint8_t> inline_value = t.data;
      inline_value.resize(4, 0);
      out.insert(out.end(), inline_value.begin(), inline_value.end());
    } else {
      put(out, static_cast<std::uint32_t>(data_at + data.size()));
      data.insert(data.end(), t.data.begin(), t.data.end());
      if (data.size() % 2) data.push_back(0);
    }
  }
  put(out, next);
  out.insert(out.end(), data.begin(), data.end());
}

}  // namespace

int utm_epsg(int zone, bool south) { return zone >= 1 && zone <= 60 ? (south ? 32700 : 32600) + zone : 0; }

std::string geotiff_bytes(const Grid& grid, const GeoTiffOptions& options) {
  std::vector<Image> images(1);
  images[0].width = grid.columns;
  images[0].height = grid.rows;
  images[0].values.push_back(grid.values);
  for (const GeoTiffBand& band : options.more_bands) {
    images[0].values.push_back(band.values);
    images[0].values.back().resize(grid.values.size(), NAN);  // a band of another size is cut or filled with no data
  }
  if (!grid.kinds.empty()) images[0].kinds.assign(grid.kinds.begin(), grid.kinds.end());
  while (images.back().width > kTile || images.back().height > kTile) images.push_back(halved(images.back()));
  for (Image& image : images) {
    compress_tiles(image, options.predictor);
    image.values = {};
    image.kinds = {};
  }
  // Sizes first (offsets do not change a tag's size), then the offsets.
  std::vector<std::vector<std::uint32_t>> offsets(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) offsets[i].assign(images[i].tiles.size(), 0);
  std::size_t at = 8;
  for (std::size_t i = 0; i < images.size(); ++i)
    at += ifd_size(image_tags(images[i], i > 0, grid, options, offsets[i]));
  for (std::size_t i = images.size(); i-- > 0;)
    for (std::size_t t = 0; t < images[i].tiles.size(); ++t) {
      offsets[i][t] = static_cast<std::uint32_t>(at);
      at += images[i].tiles[t].size();
    }
  std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
  put(out, std::uint32_t{8});
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::vector<Tag> tags = image_tags(images[i], i > 0, grid, options, offsets[i]);
    const std::size_t next = i + 1 < images.size() ? out.size() + ifd_size(tags) : 0;
    write_ifd(out, tags, static_cast<std::uint32_t>(next));
  }
  for (std::size_t i = images.size(); i-- > 0;)
    for (const auto& tile : images[i].tiles) out.insert(out.end(), tile.begin(), tile.end());
  return std::string(out.begin(), out.end());
}

}  // namespace quelor
