// The map on a 28,800-fix lawnmower survey (EM31-MK2, colour map view, five
// readings a fix, 1 m a fix, lines of 100 m 1 m apart): the cost of a fix at
// the start and at the end of the survey, the memory of the touched tiles,
// and the whole-map re-plot of the survey's data file. The data file is left
// in QUELOR_MAP_BENCH_FILE when that is set (for timing `quelor map`).
#include <benchmark/benchmark.h>

#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "background/replot.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "map/colour_class.h"
#include "map/map_painter.h"
#include "map/raster_tiles.h"
#include "map/segment_buffer.h"

namespace {

using namespace quelor;
// CPU time of this thread: the machine's other load stays out of the figures.
double thread_us() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

constexpr int kFixes = 28800;
constexpr int kReadingsPerFix = 5;
constexpr int kLineLength = 100;
constexpr int W = 400;
// The survey's origin: the projected GPS fix written at the head of the file.
constexpr double kOriginEasting = 612995.658566, kOriginNorthing = 4828399.40201;

// Conductivity of the synthetic site: a background and three targets.
int conductivity(double e, double n) {
  const auto bump = [&](double x, double y, double a) {
    return a * std::exp(-((e - x) * (e - x) + (n - y) * (n - y)) / 20.0);
  };
  return static_cast<int>(30 + bump(20, 40, 300) + bump(70, 150, 200) + bump(50, 250, 400));
}

struct Survey {
  MemorySink sink;
  DataFileWriter writer{sink, Variant{kEm31Mk2, kRealTimeMap}};
  MapState map = make_map_state(W, W, 40, grid_spec(2.0, false, 0, 10.0), 60);
  RasterTiles tiles{W, W};
  PainterState painter;
  SegmentBuffer segment;
  FixPaint paint;
  std::uint32_t tick = 0;

  Survey() {
    map.frame.origin_easting = kOriginEasting;
    map.frame.origin_northing = kOriginNorthing;
    sink.open(L"bench");
    paint.colour_map_view = 1;
    paint.geometry[0] = {0.0, 0.5, 0.5, false};
    writer.write_remark("$STARTED", 'X', tick);
  }

  static MapPoint position(int i) {
    const int line = i / (kLineLength + 1), step = i % (kLineLength + 1);
    return {kOriginEasting + (line % 2 == 0 ? step : kLineLength - step), kOriginNorthing + line};
  }

  void fix(int i) {
    const MapPoint p = position(i);
    if (i > 0) {
      const MapPoint q = position(i - 1);
      for (int k = 0; k < kReadingsPerFix; ++k) {
        const double f = (k + 0.5) / kReadingsPerFix;
        const int c = conductivity(q.easting - kOriginEasting + f * (p.easting - q.easting),
                                   q.northing - kOriginNorthing + f * (p.northing - q.northing));
        char text[24];  // room for any int: the compiler cannot bound c
        std::snprintf(text, sizeof text, "T %+05d+0000", -4 * std::min(c, 2499));
        writer.write_reading(ReadingInput{text, ++tick, 0});
        segment_push(segment, colour_class(c, 0, 500));
      }
    }
    map_position(map, tiles, p.easting, p.northing);
    if (!segment.filling)
      segment_start(segment);
    else
      segment_swap(segment);
    paint.antenna = p;
    paint.rows[0] = segment_closed_row(segment);
    const FixPaintResult r = paint_fix(painter, map, tiles, paint);
    if (r.start_record) writer.write_swath_start();
    for (const auto& [kind, corners] : r.groups) writer.write_swath_group(kind, corners);
  }
};

void BM_FixCostFirstAndLast1000(benchmark::State& state) {
  for (auto _ : state) {
    Survey s;
    double first = 0, last = 0;
    for (int i = 0; i < kFixes; ++i) {
      const double t0 = thread_us();
      s.fix(i);
      const double us = thread_us() - t0;
      if (i < 1000) first += us;
      if (i >= kFixes - 1000) last += us;
    }
    state.counters["first_1000_us_per_fix"] = first / 1000;
    state.counters["last_1000_us_per_fix"] = last / 1000;
    state.counters["tiles"] = static_cast<double>(s.tiles.tile_count(kDataLayer));
    state.counters["bytes_per_tile_pair"] = 2.0 * W * W * 3;
    state.counters["tile_bytes_total"] = static_cast<double>(s.tiles.pixel_bytes());
    state.counters["file_bytes"] = static_cast<double>(s.sink.file(L"bench").size());
    if (const char* out = std::getenv("QUELOR_MAP_BENCH_FILE")) {
      if (std::FILE* f = std::fopen(out, "wb")) {
        // The file as the program writes it: a header and a GPS fix for the origin.
        std::string header;
        for (const char* r : {"ZLK31   W230GPS00000 1", "Hbench      0.200", "G  0.000  0.000 70011",
                              "G    612977.282 17", "G   4829503.086"})
          header += (std::string(r) + std::string(26, ' ')).substr(0, 26) + "\n";
        const std::string body_text = "GPGGA,120000.00,4336.0000,N,07936.0000,W,4,10,0.9,100.0,M,0.0,M,,";
        int sum = 0;
        for (char c : body_text) sum ^= static_cast<unsigned char>(c);
        char tail[8];
        std::snprintf(tail, sizeof tail, "*%02X", sum);
        const std::string sentence = "$" + body_text + tail;
        for (std::size_t i = 0; i < sentence.size(); i += 25)
          header += ((i ? "#" : "@") + sentence.substr(i, 25) + std::string(26, ' ')).substr(0, 26) + "\n";
        std::fwrite(header.data(), 1, header.size(), f);
        const std::string& body = s.sink.file(L"bench");
        std::fwrite(body.data(), 1, body.size(), f);
        std::fclose(f);
      }
    }
  }
}
BENCHMARK(BM_FixCostFirstAndLast1000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReplotWholeSurvey(benchmark::State& state) {
  Survey s;
  for (int i = 0; i < kFixes; ++i) s.fix(i);
  ReplotStyle style;
  style.decode.instrument_type = kEm31Mk2;
  style.decode.mapped_view = 1;
  for (auto _ : state) {
    prepare_whole_map(s.map, s.tiles);
    WriterReader reader(s.writer);
    const ReplotCounts c = replot_survey(reader, 27, style, s.map, s.tiles);
    benchmark::DoNotOptimize(c.readings);
    state.counters["bars"] = static_cast<double>(c.bars);
  }
}
BENCHMARK(BM_ReplotWholeSurvey)->Unit(benchmark::kMillisecond);

}  // namespace
