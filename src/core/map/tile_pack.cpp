#include "map/tile_pack.h"

#include <algorithm>
#include <cstring>

namespace quelor {

namespace {

constexpr std::uint32_t kSameAsAbove = 0;

void pack_row(std::span<const std::uint32_t> row, std::vector<std::uint32_t>& words) {
  const std::size_t count_at = words.size();
  words.push_back(0);
  std::uint32_t runs = 0;
  for (std::size_t x = 0; x < row.size();) {
    std::size_t end = x + 1;
    while (end < row.size() && row[end] == row[x]) ++end;
    words.push_back(static_cast<std::uint32_t>(end - x));
    words.push_back(row[x]);
    ++runs;
    x = end;
  }
  words[count_at] = runs;
}

}  // namespace

PackedPixels pack_pixels(std::span<const std::uint32_t> pixels, int width, int height) {
  PackedPixels p;
  p.width = width;
  p.height = height;
  const auto w = static_cast<std::size_t>(std::max(width, 0));
  for (int y = 0; y < height; ++y) {
    const std::span<const std::uint32_t> row = pixels.subspan(static_cast<std::size_t>(y) * w, w);
    if (y > 0 && w > 0 && std::equal(row.begin(), row.end(), row.begin() - static_cast<std::ptrdiff_t>(w)))
      p.words.push_back(kSameAsAbove);
    else
      pack_row(row, p.words);
  }
  p.words.shrink_to_fit();
  return p;
}

PackedPixels uniform_pixels(int width, int height, std::uint32_t value) {
  PackedPixels p;
  p.width = width;
  p.height = height;
  if (height <= 0) return p;
  p.words.assign(static_cast<std::size_t>(height) + 2, kSameAsAbove);
  p.words[0] = 1;
  p.words[1] = static_cast<std::uint32_t>(std::max(width, 0));
  p.words[2] = value;
  return p;
}

void unpack_pixels(const PackedPixels& packed, std::span<std::uint32_t> pixels) {
  const auto w = static_cast<std::size_t>(std::max(packed.width, 0));
  std::size_t at = 0;
  for (int y = 0; y < packed.height && at < packed.words.size(); ++y) {
    std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * w;
    const std::uint32_t runs = packed.words[at++];
    if (runs == kSameAsAbove && y > 0) {
      std::memcpy(row, row - w, w * sizeof(std::uint32_t));
      continue;
    }
    std::size_t x = 0;
    for (std::uint32_t r = 0; r < runs && at + 1 < packed.words.size(); ++r, at += 2) {
      const std::size_t length = std::min<std::size_t>(packed.words[at], w - x);
      std::fill_n(row + x, length, packed.words[at + 1]);
      x += length;
    }
  }
}

}  // namespace quelor
