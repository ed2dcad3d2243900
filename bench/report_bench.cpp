// The end-of-day report on a full day: 720,000 EM31-MK2 readings (8 hours at
// 25 a second), 28,800 GGA fixes at 1 Hz walking 1 m/s along 150 m lines 1 m
// apart, each with its swath cross-line, as the writer logs them. Each
// benchmark is one stage of `quelor report` on that file; BM_ReportDay is
// all of them in order (the tool adds only PNG encoding and the page text).
// Times are of this thread's CPU, so the machine's other load stays out;
// BM_ReportDay adds the process's peak resident memory. BM_ReportSurveyDays
// reads the day as one, then three files into the report's survey and tells
// what its own structures hold, in all and once the readings' positions
// have gone (as the tool lets them go before the maps): the lines' running
// summaries must not grow with the readings.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "background/replot.h"
#include "background/survey_file.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "export/export_table.h"
#include "gps/projection.h"
#include "grid/grid.h"
#include "grid/survey_samples.h"
#include "map/map_view.h"
#include "map/raster_tiles.h"
#include "report/coverage.h"
#include "report/line_table.h"
#include "report/speed_histogram.h"
#include "report/survey_file_reading.h"
#include "report/verdict.h"
#include "settings/instrument_defaults.h"

namespace {

using namespace quelor;

double thread_seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

constexpr int kLines = 192;
constexpr int kLineLength = 150;     // metres, one fix a metre
constexpr int kReadingsPerFix = 25;  // 192 x 150 x 25 = 720,000 readings
constexpr double kLatitude = 48.0, kLongitude = 11.0;
constexpr double kMetresPerDegreeLatitude = 111132.0;

std::string nmea(const std::string& body) {
  int sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}

std::string gga(double seconds, double lat, double lon) {
  char body[128];
  const int hh = static_cast<int>(seconds / 3600) % 24, mm = static_cast<int>(seconds / 60) % 60;
  std::snprintf(body, sizeof body, "GPGGA,%02d%02d%05.2f,%02d%09.6f,N,%03d%09.6f,E,4,12,0.8,500.0,M,46.9,M,1.0,0000",
                hh, mm, std::fmod(seconds, 60.0), static_cast<int>(lat), (lat - static_cast<int>(lat)) * 60,
                static_cast<int>(lon), (lon - static_cast<int>(lon)) * 60);
  return nmea(body);
}

int conductivity(double east, double north) {
  const double d2 = (east - 96) * (east - 96) + (north - 75) * (north - 75);
  return static_cast<int>(20 + 60 * std::exp(-d2 / 200.0));
}

// The day's data file, as the program writes it.
std::string day_file() {
  MemorySink sink;
  sink.open(L"day");
  const Variant v{kEm31Mk2, kRealTimeMap};
  DataFileWriter w(sink, v);
  HeaderFields h;
  h.file_name = "day";
  const GridPoint origin = project_to_utm(kLatitude, kLongitude, 0);
  h.reference_easting = origin.easting;
  h.reference_northing = origin.northing;
  h.reference_zone = origin.zone;
  w.write_header(h, false);
  const double metres_per_degree_lon = kMetresPerDegreeLatitude * std::cos(kLatitude * M_PI / 180);
  std::uint32_t tick = 100000;
  double clock = 8 * 3600.0;
  for (int line = 0; line < kLines; ++line) {
    LineBlockFields block;
    block.line_name = std::to_string(line + 1);
    const LocalTime now{
        2026, 12, 9, static_cast<int>(clock / 3600), static_cast<int>(clock / 60) % 60, static_cast<int>(clock) % 60,
        0};
    w.write_line_block(block, now, tick);
    w.write_remark("$STARTED", 'X', tick);
    w.write_swath_start();
    const double lon = kLongitude + line / metres_per_degree_lon;
    for (int step = 0; step <= kLineLength; ++step) {
      const int along = line % 2 == 0 ? step : kLineLength - step;
      const double lat = kLatitude + along / kMetresPerDegreeLatitude;
      w.write_gps_sentence(gga(clock, lat, lon), tick, kGpsForwarded);
      const GridPoint p = project_to_utm(lat, lon, origin.zone);
      w.write_swath_group(0, {p.easting - 0.5, p.northing, p.easting + 0.5, p.northing});
      if (step < kLineLength) {
        const int direction = line % 2 == 0 ? 1 : -1;
        for (int k = 0; k < kReadingsPerFix; ++k) {
          const double f = (k + 0.5) / kReadingsPerFix;
          char text[16];
          std::snprintf(text, sizeof text, "T %+05d+0000", -4 * conductivity(line, along + direction * f));
          w.write_reading(ReadingInput{text, tick + static_cast<std::uint32_t>(1000 * f), 0});
        }
      }
      tick += 1000;
      clock += 1.0;
    }
    w.write_remark("PAUSED", 'X', tick);
    tick += 5000;
    clock += 5.0;
  }
  return sink.file(L"day");
}

const std::string& day() {
  static const std::string bytes = day_file();
  return bytes;
}

struct Stages {
  double read = 0, tables = 0, coverage = 0, replot = 0, grid = 0;
  long readings = 0;
  double covered = 0;
};

Stages report_day() {
  Stages s;
  const std::string& bytes = day();
  double t = thread_seconds();
  SurveyData survey;
  add_survey_file(survey, "day", bytes, {});
  s.readings = reading_count(survey);
  s.read = thread_seconds() - t;

  t = thread_seconds();
  const std::vector<LineSummary> lines = line_table(survey);
  const SpeedHistogram speed = speed_histogram(survey, 5.0, 20, 1.0);
  const std::vector<GpsQualityPoint> gps = gps_quality_series(survey, 600);
  benchmark::DoNotOptimize(speed.total);
  benchmark::DoNotOptimize(gps.size());
  s.tables = thread_seconds() - t;

  t = thread_seconds();
  const Coverage coverage = survey_coverage(survey);
  const Verdict verdict = survey_verdict(survey, lines, coverage);
  benchmark::DoNotOptimize(verdict.complete);
  s.covered = coverage.covered_share;
  s.coverage = thread_seconds() - t;

  t = thread_seconds();
  const auto info = read_survey_file_info(bytes);
  const auto origin = first_gps_position(bytes, *info);
  const int tile = 200;
  MapState map = make_map_state(tile, tile, 40, grid_spec(2.0, false, 0, tile / 40.0), 60);
  map.frame.origin_easting = origin->easting;
  map.frame.origin_northing = origin->northing;
  RasterTiles tiles(tile, tile);
  map_position(map, tiles, origin->easting, origin->northing);
  Settings display = initial_settings(info->variant);
  display.colour_map_view = 1;
  const ReplotStyle style = replot_style(*decode_context_from_file(bytes, display), display);
  BytesReader reader(bytes);
  benchmark::DoNotOptimize(replot_survey(reader, info->record_length, style, map, tiles).bars);
  benchmark::DoNotOptimize(compose_range(tiles, tiles.touched()).rgb.size());
  s.replot = thread_seconds() - t;

  t = thread_seconds();
  const SurveySamplesResult samples = survey_samples(bytes, "", kAutomaticZone);
  const GridResult grid = grid_points(samples.survey->samples, GridOptions{});
  benchmark::DoNotOptimize(grid.grid.values.size());
  s.grid = thread_seconds() - t;
  return s;
}

void BM_ReportDay(benchmark::State& state) {
  day();
  for (auto _ : state) {
    const double t = thread_seconds();
    const Stages s = report_day();
    state.counters["seconds"] = thread_seconds() - t;
    state.counters["read_s"] = s.read;
    state.counters["tables_s"] = s.tables;
    state.counters["coverage_s"] = s.coverage;
    state.counters["replot_s"] = s.replot;
    state.counters["grid_s"] = s.grid;
    state.counters["readings"] = static_cast<double>(s.readings);
    state.counters["covered_share"] = s.covered;
  }
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  state.counters["peak_rss_mb"] =
      static_cast<double>(u.ru_maxrss) / 1024.0;  // the process's, the day file's bytes with it
}
BENCHMARK(BM_ReportDay)->Unit(benchmark::kMillisecond)->Iterations(1);

// Bytes the report's survey holds on the heap (strings left out: a few per line and remark).
double survey_bytes(const SurveyData& s) {
  double bytes = 0;
  const auto add = [&](const auto& v) { bytes += static_cast<double>(v.capacity() * sizeof(v[0])); };
  add(s.lines);
  add(s.line_readings);
  for (const LineReadings& l : s.line_readings) add(l.outages);
  add(s.positions);
  add(s.position_lines);
  add(s.fixes);
  add(s.remarks);
  add(s.swaths);
  add(s.swath_widths);
  return bytes;
}

void BM_ReportSurveyDays(benchmark::State& state) {
  const std::string& bytes = day();
  for (auto _ : state) {
    SurveyData survey;
    for (int k = 0; k < state.range(0); ++k) add_survey_file(survey, "day" + std::to_string(k + 1), bytes, {});
    const double readings = static_cast<double>(reading_count(survey));
    state.counters["readings"] = readings;
    state.counters["survey_mb"] = survey_bytes(survey) / 1e6;
    std::vector<PlanePoint>().swap(survey.positions);
    state.counters["without_positions_mb"] = survey_bytes(survey) / 1e6;
    state.counters["bytes_per_reading"] = survey_bytes(survey) / readings;
  }
}
BENCHMARK(BM_ReportSurveyDays)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CoverageDay(benchmark::State& state) {
  const std::string& bytes = day();
  SurveyData survey;
  add_survey_file(survey, "day", bytes, {});
  for (auto _ : state) benchmark::DoNotOptimize(survey_coverage(survey).covered_share);
}
BENCHMARK(BM_CoverageDay)->Unit(benchmark::kMillisecond);

}  // namespace
