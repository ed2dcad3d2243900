// quelor grid on a full day's survey: 720,000 readings (8 hours at 25
// readings a second) on lawnmower lines 1 m apart, gridded at 0.25 m cells.
// The file is the simulator's log of the walk; the benchmarks time the
// reading of the file (one walk of its records into numeric samples),
// minimum curvature (and nearest) with the blanking, the GeoTIFF, and all of
// it together, beside GMT blockmean + surface on the same points. Counters:
// the process's peak resident memory so far (run one benchmark alone for
// its own figure) and, for GMT, the CPU seconds of its processes.
// BM_SeveralDays grids one to three days of the same site as quelor grids
// several files: a file at a time, each read again from disk for the
// passes that need the frame; its peak counts the gridding alone.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "devsim/instrument_kind.h"
#include "devsim/options.h"
#include "devsim/survey_log.h"
#include "grid/geotiff.h"
#include "grid/grid.h"
#include "grid/survey_samples.h"
#include "gps/projection.h"

namespace {

using namespace quelor;

constexpr double kReadingsPerSecond = 25;
constexpr double kHours = 8;

std::string simulated_day(unsigned seed) {
  devsim::Options o;
  o.instrument.kind = *devsim::find_instrument_kind("em31mk2");
  o.instrument.period_ms = 1000.0 / kReadingsPerSecond;
  o.quality = 4;
  o.walk.line_length = 100;
  o.walk.spacing = 1;
  o.walk.speed = 1;
  o.walk.lines = static_cast<int>(kHours * 3600 * o.walk.speed / (o.walk.line_length + o.walk.spacing));
  return devsim::log_simulated_survey(o, seed, 0).bytes;
}

const std::string& day_file() {
  static const std::string bytes = simulated_day(7);
  return bytes;
}

double peak_rss_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // kB on Linux
}

double children_cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(u.ru_utime) + seconds(u.ru_stime);
}

const SurveySamples& day_samples() {
  static const SurveySamples s = *survey_samples(day_file(), "", kAutomaticZone).survey;
  return s;
}

GridOptions quarter_metre(GridMethod method) {
  GridOptions o;
  o.cell = 0.25;
  o.method = method;
  return o;
}

void BM_ReadSurvey(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(survey_samples(day_file(), "", kAutomaticZone));
  state.counters["readings"] = static_cast<double>(day_samples().samples.size());
}

void BM_MinimumCurvature(benchmark::State& state) {
  const SurveySamples& s = day_samples();
  for (auto _ : state) {
    const GridResult r = grid_points(s.samples, quarter_metre(GridMethod::kMinimumCurvature));
    state.counters["cells"] = static_cast<double>(r.grid.values.size());
    state.counters["misfit_rms"] = r.misfit_rms;
  }
}

void BM_Nearest(benchmark::State& state) {
  const SurveySamples& s = day_samples();
  for (auto _ : state) benchmark::DoNotOptimize(grid_points(s.samples, quarter_metre(GridMethod::kNearest)));
}

void BM_GeoTiff(benchmark::State& state) {
  const GridResult r = grid_points(day_samples().samples, quarter_metre(GridMethod::kNearest));
  GeoTiffOptions o;
  o.zone = 17;
  for (auto _ : state) state.counters["bytes"] = static_cast<double>(geotiff_bytes(r.grid, o).size());
}

// What `quelor grid` does between reading the file and writing the GeoTIFF.
void BM_WholeDay(benchmark::State& state) {
  for (auto _ : state) {
    const SurveySamples s = *survey_samples(day_file(), "", kAutomaticZone).survey;
    const GridResult r = grid_points(s.samples, quarter_metre(GridMethod::kMinimumCurvature));
    GeoTiffOptions o;
    o.zone = s.zone;
    benchmark::DoNotOptimize(geotiff_bytes(r.grid, o));
  }
  state.counters["peak_rss_mb"] = peak_rss_mb();
}

// The process's peak resident memory since `reset_peak_memory` (kB in
// /proc/self/status), or 0 where it cannot be read.
void reset_peak_memory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double peak_memory_mb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  return 0.0;
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<GridSample> file_samples(const std::string& path) {
  return std::move(survey_samples(file_bytes(path), "", kAutomaticZone).survey->samples);
}

void BM_SeveralDays(benchmark::State& state) {
  std::vector<std::string> paths;
  for (int day = 0; day < state.range(0); ++day) {
    paths.push_back("/tmp/quelor_bench_day" + std::to_string(day) + ".T31");
    std::ofstream(paths.back(), std::ios::binary) << simulated_day(7 + static_cast<unsigned>(day));
  }
  reset_peak_memory();
  for (auto _ : state) {
    GridSurvey survey;
    for (const std::string& path : paths) survey_file(survey, file_samples(path));
    state.counters["readings"] = static_cast<double>(survey.count);
    const GridResult r =
        grid_survey(std::move(survey), quarter_metre(GridMethod::kMinimumCurvature), [&](const GridFileVisitor& visit) {
          for (const std::string& path : paths) visit(file_samples(path));
          return true;
        });
    state.counters["cells"] = static_cast<double>(r.grid.values.size());
  }
  state.counters["peak_mb"] = peak_memory_mb();
  for (const std::string& path : paths) std::remove(path.c_str());
}

// GMT on the same points at the same cells: blockmean, then surface at the
// default tension, into a netCDF grid. Skipped without gmt.
void BM_GmtBlockmeanSurface(benchmark::State& state) {
  if (std::system("gmt --version >/dev/null 2>&1") != 0) {
    state.SkipWithError("gmt is not installed");
    return;
  }
  const SurveySamples& s = day_samples();
  const std::string xyz = "/tmp/quelor_bench_day.xyz", nc = "/tmp/quelor_bench_day.nc";
  double west = 1e300, east = -1e300, south = 1e300, north = -1e300;
  if (std::FILE* f = std::fopen(xyz.c_str(), "w")) {
    for (const GridSample& p : s.samples) {
      std::fprintf(f, "%.3f %.3f %.6g\n", p.x, p.y, p.value);
      west = std::min(west, p.x), east = std::max(east, p.x), south = std::min(south, p.y),
      north = std::max(north, p.y);
    }
    std::fclose(f);
  }
  char region[160];
  std::snprintf(region, sizeof region, "-R%.2f/%.2f/%.2f/%.2f -I0.25", std::floor(west * 4) / 4,
                std::ceil(east * 4) / 4, std::floor(south * 4) / 4, std::ceil(north * 4) / 4);
  const std::string command = std::string("gmt blockmean ") + xyz + " " + region + " | gmt surface " + region +
                              " -T0.25 -G" + nc + " 2>/dev/null";
  const double cpu_before = children_cpu_seconds();
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("gmt failed");
  state.counters["cpu_s"] = (children_cpu_seconds() - cpu_before) / static_cast<double>(state.iterations());
  std::remove(xyz.c_str());
  std::remove(nc.c_str());
}

BENCHMARK(BM_ReadSurvey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinimumCurvature)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nearest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeoTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeDay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeveralDays)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_GmtBlockmeanSurface)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
