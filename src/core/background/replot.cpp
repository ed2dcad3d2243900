#include "background/replot.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "map/segment_buffer.h"
#include "map/strip.h"

namespace quelor {

namespace {

constexpr int kKinds = 3;
constexpr std::uint32_t kBusyInterval = 750;
constexpr std::size_t kChunkRecords = 4096;

struct KindState {
  bool has_previous = false;
  BarPixels previous;
  std::array<double, 4> corners{};
  int parts = 0;  // bit mask of the corner records seen
  SegmentBuffer readings;
};

struct Replot {
  const ReplotStyle& style;
  const MapState& map;
  TileSurface& tiles;
  ReplotCounts counts;
  bool open = false;
  std::array<KindState, kKinds> kinds{};

  bool colour_view() const { return style.reading.colour_map_view > 0; }

  void open_swath() {
    open = true;
    for (KindState& k : kinds) {
      k.has_previous = false;
      k.parts = 0;
      segment_reset(k.readings);
      segment_start(k.readings);
    }
  }

  void close_swath() {
    open = false;
    for (KindState& k : kinds) {
      k.has_previous = false;
      k.parts = 0;
      segment_reset(k.readings);
    }
  }

  void bar(KindState& k) {
    const BarPixels b{world_pixel(map.frame, k.corners[0], k.corners[1]), world_pixel(map.frame, k.corners[2], k.corners[3])};
    if (!open) open_swath();  // a corner group after a closing record starts the swath again
    for (WorldPixel end : {b.left, b.right}) {
      const TilePixel t = tile_pixel(end, tiles.tile_width(), tiles.tile_height());
      if (!tile_usable(t.tx, t.ty)) {
        ++counts.outside;
        break;
      }
    }
    if (!colour_view()) {
      if (draw_position_mark(tiles, map.grid, b, style.position_size, style.position_colour, style.two_sensors))
        ++counts.bars;
    } else if (k.has_previous) {
      segment_swap(k.readings);
      const auto row = segment_closed_row(k.readings);
      const StripResult s = draw_colour_strip(tiles, map.grid, k.previous, b, row, style.reading.two_values);
      if (s.lines > 0) {
        ++counts.bars;
        counts.readings += static_cast<long>(row.size());
      }
    }
    k.previous = b;
    k.has_previous = true;
  }

  void corner(std::string_view record, int index) {
    KindState& k = kinds[static_cast<std::size_t>(index / 4)];
    const int part = index % 4;
    if (part == 0) k.parts = 0;
    k.corners[static_cast<std::size_t>(part)] = std::atof(std::string(record.substr(2)).c_str());
    k.parts |= 1 << part;
    if (part == 3 && k.parts == 0xF) bar(k);
  }

  void reading(std::string_view record) {
    if (!open || !colour_view()) return;
    const auto e = reading_entry(style.reading, record);
    if (e) segment_push(kinds[static_cast<std::size_t>(e->kind)].readings, e->entry);
  }

  void record(std::string_view rec) {
    ++counts.records;
    const int index = swath_letter_index(rec);
    if (index == -1) {
      ++counts.swaths;
      open_swath();
    } else if (index >= 0) {
      corner(rec, index);
    } else if (closes_swath(rec)) {
      close_swath();
    } else {
      reading(rec);
    }
  }

};

}  // namespace

std::size_t BytesReader::read_at(std::uint64_t offset, char* buffer, std::size_t size) {
  if (offset >= bytes_.size()) return 0;
  const std::size_t n = std::min<std::size_t>(size, bytes_.size() - offset);
  std::memcpy(buffer, bytes_.data() + offset, n);
  return n;
}

bool closes_swath(std::string_view rec) {
  if (rec.empty()) return false;
  const char tag = rec[0];
  if (tag == 'L' || tag == 'S') return true;
  if (tag != 'X') return false;
  const std::string_view text = rec.substr(1);
  return text.starts_with("PAUSED") || text.starts_with("GPS CONN");
}

int swath_letter_index(std::string_view r) {
  if (r.size() < 2 || r[0] != '{') return -2;
  if (r[1] == '0') return -1;
  if (r[1] >= 'a' && r[1] <= 'l') return r[1] - 'a';
  return -2;
}

ReplotCounts replot_survey(RecordReader& file, int record_length, const ReplotStyle& style, const MapState& map,
                           TileSurface& tiles, Clock* clock, const std::function<void()>& busy) {
  Replot replot{style, map, tiles, {}};
  if (record_length < 3) return replot.counts;
  const std::size_t length = static_cast<std::size_t>(record_length);
  std::vector<char> chunk(length * kChunkRecords);
  std::uint32_t last_busy = clock ? clock->now_ms() : 0;
  for (std::uint64_t offset = 0;;) {
    const std::size_t n = file.read_at(offset, chunk.data(), chunk.size());
    const std::size_t whole = n / length;
    for (std::size_t i = 0; i < whole; ++i) replot.record(std::string_view(chunk.data() + i * length, length - 1));
    offset += whole * length;
    if (clock && busy && elapsed_ms(last_busy, clock->now_ms()) >= kBusyInterval) {
      busy();
      last_busy = clock->now_ms();
    }
    if (n < chunk.size()) break;  // a short read ends the file
  }
  return replot.counts;
}

void prepare_whole_map(MapState& map, TileSurface& tiles) {
  tiles.for_each(kGridLayer, [&](int tx, int ty, Canvas& c) {
    draw_grid_tile(c, map.grid, tx, ty, tiles.tile_width(), tiles.tile_height());
    if (tiles.grid_decoration) tiles.grid_decoration(c, tx, ty);
  });
  tiles.for_each(kDataLayer, [](int, int, Canvas& c) { c.fill(kWhite); });
  make_view_tiles(tiles, map, shown_view(map));
}

}  // namespace quelor
