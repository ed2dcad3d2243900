// Packing tiles out of sight: every pixel comes back, the tiles the map
// shows stay unpacked, and a map tile packs to a small part of its size.

#include "map/tile_pack.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "map/tile_store.h"

namespace quelor {
namespace {

using Pixels = std::vector<std::uint32_t>;
constexpr std::uint32_t kWhitePixel = 0xFFFFFF, kGridPixel = 0xC0C0C0;

Pixels grid_tile(int w, int h, int spacing) {
  Pixels p(static_cast<std::size_t>(w * h), kWhitePixel);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x % spacing == 0 || y % spacing == 0) p[static_cast<std::size_t>(y * w + x)] = kGridPixel;
  return p;
}

Pixels strip_tile(int w, int h) {  // a slanted strip of colour classes
  Pixels p(static_cast<std::size_t>(w * h), kWhitePixel);
  for (int y = 0; y < h; ++y)
    for (int x = y / 3; x < y / 3 + 40 && x < w; ++x)
      p[static_cast<std::size_t>(y * w + x)] = 0x0000FF + (x % 7) * 0x100;
  return p;
}

Pixels noise_tile(int w, int h) {
  std::mt19937 rng(7);
  Pixels p(static_cast<std::size_t>(w * h));
  for (auto& v : p) v = rng() & 0xFFFFFF;
  return p;
}

TEST(TilePack, EveryPixelComesBack) {
  struct Case {
    const char* name;
    int w, h;
    Pixels pixels;
  };
  const Case cases[] = {
      {"white", 678, 678, Pixels(678 * 678, kWhitePixel)},
      {"grid", 678, 678, grid_tile(678, 678, 34)},
      {"strip", 400, 300, strip_tile(400, 300)},
      {"noise", 97, 61, noise_tile(97, 61)},
      {"one column", 1, 50, noise_tile(1, 50)},
      {"one row", 50, 1, noise_tile(50, 1)},
  };
  for (const Case& c : cases) {
    const PackedPixels packed = pack_pixels(c.pixels, c.w, c.h);
    Pixels back(c.pixels.size(), 0xDEAD);
    unpack_pixels(packed, back);
    EXPECT_EQ(back, c.pixels) << c.name;
  }
  Pixels filled(30 * 20, 0xDEAD);
  unpack_pixels(uniform_pixels(30, 20, kGridPixel), filled);
  EXPECT_EQ(filled, Pixels(30 * 20, kGridPixel));
}

TEST(TilePack, MapTilesPackSmall) {
  const std::size_t raw = 678 * 678 * sizeof(std::uint32_t);
  EXPECT_LT(pack_pixels(Pixels(678 * 678, kWhitePixel), 678, 678).bytes(), raw / 500);
  EXPECT_LT(pack_pixels(grid_tile(678, 678, 34), 678, 678).bytes(), raw / 50);
  EXPECT_LT(pack_pixels(strip_tile(678, 678), 678, 678).bytes(), raw / 20);
}

TEST(SparseTiles, AllButTheRecentlyUsedAreVisited) {
  SparseTiles<std::string> tiles;
  for (int i = 0; i < 8; ++i)
    tiles.make(kDataLayer, 1000 + i, 1000, nullptr, [i] { return std::make_unique<std::string>(std::to_string(i)); });
  tiles.find(kDataLayer, 1001, 1000);  // used again: now among the recent
  tiles.make(kDataLayer, 1002, 1000, nullptr, [] { return std::make_unique<std::string>("never made"); });
  std::set<std::string> visited;
  tiles.for_each_but_recent(kDataLayer, 3, [&](std::string& t) { visited.insert(t); });
  EXPECT_EQ(visited, (std::set<std::string>{"0", "3", "4", "5", "6"}));
  visited.clear();
  tiles.for_each_but_recent(kDataLayer, 8, [&](std::string& t) { visited.insert(t); });
  EXPECT_TRUE(visited.empty());
  tiles.for_each_but_recent(kGridLayer, 0, [&](std::string& t) { visited.insert(t); });
  EXPECT_TRUE(visited.empty());
}

}  // namespace
}  // namespace quelor
