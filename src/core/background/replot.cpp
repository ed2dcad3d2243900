#include "background/replot.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datafile/record_cursor.h"
#include "map/segment_buffer.h"
#include "map/strip.h"
#include "reading/reading_meaning.h"

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
  DecodeContext decode;
  ConstantRecordState constants;
  std::size_t body_length;  // a reading record before its tick field
  const MapState& map;
  TileSurface& tiles;
  ReplotCounts counts;
  bool open = false;
  std::array<KindState, kKinds> kinds{};

  bool colour_view() const { return decode.mapped_view > 0; }

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

  void bar(KindState& k, int kind) {
    const BarPixels b{world_pixel(map.frame, k.corners[0], k.corners[1]),
                      world_pixel(map.frame, k.corners[2], k.corners[3])};
    if (!open) open_swath();  // a corner group after a closing record starts the swath again
    for (WorldPixel end : {b.left, b.right}) {
      const TilePixel t = tile_pixel(end, tiles.tile_width(), tiles.tile_height());
      if (!tile_usable(t.tx, t.ty)) {
        ++counts.outside;
        break;
      }
    }
    if (!colour_view()) {
      if (draw_position_mark(tiles, map.grid, b, style.position_size,
                             style.position_colours[static_cast<std::size_t>(kind)], style.two_sensors))
        ++counts.bars;
    } else if (k.has_previous) {
      segment_swap(k.readings);
      const auto row = segment_closed_row(k.readings);
      const StripResult s = draw_colour_strip(tiles, map.grid, k.previous, b, row, two_value_entries(decode));
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
    if (part == 3 && k.parts == 0xF) bar(k, index / 4);
  }

  void reading(std::string_view record) {
    if (!open || !colour_view()) return;
    const ReadingMeaning m = interpret_reading(decode, record.substr(0, body_length));
    if (m.entry) segment_push(kinds[static_cast<std::size_t>(m.kind)].readings, *m.entry);
  }

  void record(const DataRecord& r) {
    ++counts.records;
    const std::string_view rec = r.body();
    apply_constant_record(decode, constants, rec);
    const int index = r.kind == RecordKind::kSwath ? swath_letter_index(rec) : -2;
    if (index == -1) {
      ++counts.swaths;
      open_swath();
    } else if (index >= 0) {
      corner(rec, index);
    } else if (swath_closing_record(rec)) {  // the live painter restarts at the same records
      close_swath();
    } else if (r.kind == RecordKind::kReading || r.kind == RecordKind::kMarker) {
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

ReplotStyle replot_style(const DecodeContext& decode, const Settings& s) {
  ReplotStyle style;
  style.decode = decode;
  style.position_size = s.map.position_size;
  style.position_colours = position_mark_colours(s.map.position_colour, s.trace_colours, decode.manual_em34);
  style.two_sensors = decode.two_sensors;
  return style;
}

std::optional<DecodeContext> file_decode_context(RecordReader& file, const Settings& display) {
  char head[128];
  const std::size_t n = file.read_at(0, head, sizeof head);
  return decode_context_from_file(std::string_view(head, n), display);
}

int swath_letter_index(std::string_view r) {
  if (r.size() < 2 || r[0] != '{') return -2;
  if (r[1] == '0') return -1;
  if (r[1] >= 'a' && r[1] <= 'l') return r[1] - 'a';
  return -2;
}

ReplotCounts replot_survey(RecordReader& file, int record_length, const ReplotStyle& style, const MapState& map,
                           TileSurface& tiles, Clock* clock, const std::function<void()>& busy) {
  Replot replot{style, style.decode, {}, reading_body_length(record_length), map, tiles, {}};
  if (record_length < 12) return replot.counts;
  const std::size_t length = static_cast<std::size_t>(record_length);
  std::vector<char> chunk(length * kChunkRecords);
  std::uint32_t last_busy = clock ? clock->now_ms() : 0;
  long records = 0;
  for (std::uint64_t offset = 0;;) {
    const std::size_t n = file.read_at(offset, chunk.data(), chunk.size());
    // The chunk's whole records, read as the survey's instrument writes them.
    const DataFile part{std::string_view(chunk.data(), n), record_length, std::nullopt};
    RecordCursor cursor{&part, style.decode.instrument_type, 0, records};
    while (const auto r = next_record(cursor)) replot.record(*r);
    records = cursor.number;
    offset += cursor.at;
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
