#include "grid/grid_image.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "map/colour_class.h"
#include "map/palette.h"

namespace quelor {

namespace {

void put_be32(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
  put_be32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  put_be32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

}  // namespace

ColourScale grid_colour_scale(const Grid& grid) {
  std::vector<float> v;
  for (float x : grid.values)
    if (!std::isnan(x)) v.push_back(x);
  if (v.empty()) return {};
  const auto at = [&](double share) {
    const std::size_t k = static_cast<std::size_t>(share * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return static_cast<double>(v[k]);
  };
  ColourScale s{at(0.02), at(0.98)};
  if (!(s.maximum > s.minimum)) s.maximum = s.minimum + 1;
  return s;
}

GridImage grid_image(const Grid& grid, const ColourScale& scale) {
  GridImage image{grid.columns, grid.rows, {}};
  image.rgba.reserve(grid.values.size() * 4);
  for (float v : grid.values) {
    if (std::isnan(v)) {
      image.rgba.insert(image.rgba.end(), {255, 255, 255, 0});
      continue;
    }
    const PaletteColour c = palette_colour(colour_class(v, scale.minimum, scale.maximum));
    image.rgba.insert(image.rgba.end(), {c.red, c.green, c.blue, 255});
  }
  return image;
}

std::string png_bytes(const GridImage& image) {
  std::string out = "\x89PNG\r\n\x1a\n";
  std::string header;
  put_be32(header, static_cast<std::uint32_t>(image.width));
  put_be32(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter method, no interlace
  chunk(out, "IHDR", header);
  const std::size_t row = static_cast<std::size_t>(image.width) * 4;
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * image.height);
  for (int r = 0; r < image.height; ++r) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), image.rgba.begin() + static_cast<std::ptrdiff_t>(r * row),
               image.rgba.begin() + static_cast<std::ptrdiff_t>((r + 1) * row));
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string data(size, '\0');
  compress2(reinterpret_cast<Bytef*>(data.data()), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
  data.resize(size);
  chunk(out, "IDAT", data);
  chunk(out, "IEND", {});
  return out;
}

std::string world_file_text(const Grid& g) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%.10f\n0\n0\n%.10f\n%.6f\n%.6f\n", g.cell, -g.cell, g.centre_x(0), g.centre_y(0));
  return buf;
}

}  // namespace quelor
