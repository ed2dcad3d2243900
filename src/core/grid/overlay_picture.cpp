#include "grid/overlay_picture.h"

#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "map/colour_class.h"
#include "map/palette.h"

namespace quelor {

namespace {

void put32(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

void chunk(std::string& out, const char type[4], const std::string& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out += data;
  put32(out, static_cast<std::uint32_t>(
                 crc32(0L, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(data.size() + 4))));
}

// Each row: filter byte 0, then RGBA.
std::string scanlines(const Grid& g, double low, double high) {
  std::string rows;
  rows.reserve(static_cast<std::size_t>(g.rows) * (1 + 4 * static_cast<std::size_t>(g.columns)));
  for (int r = 0; r < g.rows; ++r) {
    rows += '\0';
    for (int c = 0; c < g.columns; ++c) {
      const float v = g.at(c, r);
      if (std::isnan(v)) {
        rows.append(4, '\0');
        continue;
      }
      const PaletteColour p = palette_colour(colour_class(v, low, high));
      rows += static_cast<char>(p.red);
      rows += static_cast<char>(p.green);
      rows += static_cast<char>(p.blue);
      rows += static_cast<char>(0xFF);
    }
  }
  return rows;
}

}  // namespace

std::string overlay_png_bytes(const Grid& g, double low, double high) {
  if (g.columns <= 0 || g.rows <= 0) return {};
  const std::string rows = scanlines(g, low, high);
  uLongf packed_size = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packed_size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(rows.data()),
                static_cast<uLong>(rows.size()), Z_BEST_SPEED) != Z_OK)
    return {};
  packed.resize(packed_size);
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  put32(header, static_cast<std::uint32_t>(g.columns));
  put32(header, static_cast<std::uint32_t>(g.rows));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, deflate, no filter method, no interlace
  chunk(out, "IHDR", header);
  chunk(out, "IDAT", packed);
  chunk(out, "IEND", {});
  return out;
}

}  // namespace quelor
