#pragma once
// The two tile layers (grid, data) of 2000 x 2000 slots each, stored
// sparsely: only tiles that have been made take memory. Slots outside
// 0..1999 are never addressed. The touched range is the smallest and largest
// column and row of any tile made in either layer.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "map/canvas.h"
#include "map/map_geometry.h"

namespace quelor {

enum TileLayer : int { kGridLayer = 0, kDataLayer = 1 };

struct TileRange {
  bool empty = true;
  int min_column = 0, max_column = 0, min_row = 0, max_row = 0;
  friend bool operator==(const TileRange&, const TileRange&) = default;
};

void extend_range(TileRange& r, int tx, int ty);
bool range_usable(const TileRange& r);  // within columns and rows 3..1996

// The map's tiles as the painter sees them.
class TileSurface {
 public:
  virtual ~TileSurface() = default;
  virtual int tile_width() const = 0;
  virtual int tile_height() const = 0;
  // The tile, or nullptr when it was not made.
  virtual Canvas* find(int layer, int tx, int ty) = 0;
  // The tile, made white when missing; nullptr outside 0..1999 or when the
  // bitmap cannot be made. `made` tells whether it is new.
  virtual Canvas* make(int layer, int tx, int ty, bool* made = nullptr) = 0;
  virtual const TileRange& touched() const = 0;
  // Every tile of a layer.
  virtual void for_each(int layer, const std::function<void(int tx, int ty, Canvas&)>& visit) = 0;
  // Frees every tile; the touched range becomes empty.
  virtual void clear() = 0;

  // Drawn into every grid tile after its grid, whenever the grid is drawn
  // (a new tile or the whole-map redraw): the background files.
  std::function<void(Canvas& tile, int tx, int ty)> grid_decoration;
};

// Sparse slots of one tile type, shared by the raster and GDI stores. Each
// slot remembers when it was last found or made, so that a store can keep
// only the recently used tiles in their full, drawable form.
template <class Tile>
class SparseTiles {
 public:
  Tile* find(int layer, int tx, int ty) {
    if (!tile_in_grid(tx, ty) || layer < 0 || layer > 1) return nullptr;
    auto it = slots_[layer].find(key(tx, ty));
    if (it == slots_[layer].end()) return nullptr;
    it->second.used = ++clock_;
    return it->second.tile.get();
  }
  template <class Make>
  Tile* make(int layer, int tx, int ty, bool* made, Make&& make_tile) {
    if (made) *made = false;
    if (!tile_in_grid(tx, ty) || layer < 0 || layer > 1) return nullptr;
    Slot& slot = slots_[layer][key(tx, ty)];
    if (!slot.tile) {
      slot.tile = make_tile();
      if (!slot.tile) {
        slots_[layer].erase(key(tx, ty));
        return nullptr;
      }
      extend_range(range_, tx, ty);
      if (made) *made = true;
    }
    slot.used = ++clock_;
    return slot.tile.get();
  }
  template <class Visit>
  void for_each(int layer, Visit&& visit) {
    for (auto& [k, slot] : slots_[layer])
      visit(static_cast<int>(k % kTileGridSize), static_cast<int>(k / kTileGridSize), *slot.tile);
  }
  // Visits the tiles of a layer other than its `keep` most recently used.
  template <class Visit>
  void for_each_but_recent(int layer, std::size_t keep, Visit&& visit) {
    if (slots_[layer].size() <= keep) return;
    std::vector<std::uint64_t> stamps;
    stamps.reserve(slots_[layer].size());
    for (const auto& [k, slot] : slots_[layer]) stamps.push_back(slot.used);
    auto cut = stamps.end() - static_cast<std::ptrdiff_t>(keep);
    std::nth_element(stamps.begin(), cut, stamps.end());
    const std::uint64_t oldest_kept = keep > 0 ? *cut : ~std::uint64_t{0};
    for (auto& [k, slot] : slots_[layer])
      if (slot.tile && slot.used < oldest_kept) visit(*slot.tile);
  }
  std::size_t count(int layer) const { return slots_[layer].size(); }
  const TileRange& touched() const { return range_; }
  void clear() {
    slots_[0].clear();
    slots_[1].clear();
    range_ = {};
  }

 private:
  struct Slot {
    std::unique_ptr<Tile> tile;
    std::uint64_t used = 0;  // clock_ when last found or made
  };
  static std::uint32_t key(int tx, int ty) {
    return static_cast<std::uint32_t>(ty) * kTileGridSize + static_cast<std::uint32_t>(tx);
  }
  std::unordered_map<std::uint32_t, Slot> slots_[2];
  TileRange range_;
  std::uint64_t clock_ = 0;
};

}  // namespace quelor
