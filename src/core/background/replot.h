#pragma once
// The re-plot of the current survey from its data file (the whole-map
// redraw, and `quelor map`): footprint start records open a swath, the
// four-record corner groups give the bars, the readings between them fill
// the strips (colour map view; each reading read by interpret_reading) or
// the corner groups mark the positions (positions view). A new line, a new
// station, a pause or a GPS break close the swath (swath_closing_record).

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "datafile/writer.h"
#include "io/clock.h"
#include "map/map_painter.h"
#include "map/map_view.h"
#include "reading/decode_context.h"

namespace quelor {

// Reads the data file at a position without moving the position at which
// the writer appends (positional reads, or a seek back under the writer's
// lock).
class RecordReader {
 public:
  virtual ~RecordReader() = default;
  // Up to `size` bytes from `offset`; fewer at the end.
  virtual std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) = 0;
};

// A data file held in memory.
class BytesReader : public RecordReader {
 public:
  explicit BytesReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override;

 private:
  std::string_view bytes_;
};

// The open survey data file through its writer: reads under the writer's
// lock, so a GPS record written meanwhile still lands at the end.
class WriterReader : public RecordReader {
 public:
  explicit WriterReader(DataFileWriter& writer) : writer_(writer) {}
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override {
    return writer_.read_at(offset, buffer, size);
  }

 private:
  DataFileWriter& writer_;
};

struct ReplotStyle {
  // The file's decode context (decode_context_from_file) with the view in
  // use; its constants follow the file's 'O' and 'I' records as they come.
  DecodeContext decode;                                                   // mapped view 0: positions view
  int position_size = 4;                                                  // 0-3 dots, 4 thin bar, 5 medium bar
  KindColours position_colours{{{0, 0, 255}, {0, 0, 255}, {0, 0, 255}}};  // by footprint kind
  bool two_sensors = false;                                               // positions view: two dots a bar
};

// The style of a re-plot of a file with this decode context: position size
// and colour from the settings; two dots a bar for two-sensor systems.
ReplotStyle replot_style(const DecodeContext& decode, const Settings& s);

// The decode context of the file behind `file` (its header block), the view
// and scale from `display`.
std::optional<DecodeContext> file_decode_context(RecordReader& file, const Settings& display);

struct ReplotCounts {
  long swaths = 0;    // footprint start records
  long bars = 0;      // corner groups that drew a strip or a mark
  long readings = 0;  // readings whose class entered a drawn strip
  long records = 0;
  long outside = 0;  // corner groups with an end outside tiles 3..1996 (map full)
};

// The swath outline record's kind (0 'a'-'d', 1 'e'-'h', 2 'i'-'l') and part
// (0-3), or -1 for the start record '{0' and -2 for anything else.
int swath_letter_index(std::string_view record);

// Re-plots the file from its start to its end. `busy` is called every
// 750 ms of work when a clock is given.
ReplotCounts replot_survey(RecordReader& file, int record_length, const ReplotStyle& style, const MapState& map,
                           TileSurface& tiles, Clock* clock = nullptr, const std::function<void()>& busy = {});

// Before a whole-map redraw: every existing grid tile redrawn, every data
// tile cleared, the shown view's four tiles made.
void prepare_whole_map(MapState& map, TileSurface& tiles);

}  // namespace quelor
