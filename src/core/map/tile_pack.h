#pragma once
// A map tile's pixels packed without loss while the tile is out of sight.
// A tile is the size of the map window and mostly white or striped by grid
// lines and footprint strips, so each row is kept as runs of one pixel value
// and a row equal to the one above as a single word. Packing and unpacking
// give back every pixel exactly.

#include <cstdint>
#include <span>
#include <vector>

namespace quelor {

struct PackedPixels {
  int width = 0, height = 0;
  // Per row: 0 (the row above again) or the run count n followed by n pairs
  // (length, pixel value).
  std::vector<std::uint32_t> words;
  std::size_t bytes() const { return words.capacity() * sizeof(std::uint32_t); }
};

// `pixels` holds width x height values, row by row.
PackedPixels pack_pixels(std::span<const std::uint32_t> pixels, int width, int height);

// Every pixel `value`: a tile filled while out of sight stays packed.
PackedPixels uniform_pixels(int width, int height, std::uint32_t value);

// Fills `pixels` (width x height values) from the packed rows.
void unpack_pixels(const PackedPixels& packed, std::span<std::uint32_t> pixels);

}  // namespace quelor
