// quelor grid on a full day's survey: 720,000 readings (8 hours at 25
// readings a second) on lawnmower lines 1 m apart, gridded at 0.25 m cells.
// The file is the simulator's log of the walk; the benchmarks time the
// reading of the file through the export's table, minimum curvature (and
// nearest) with the blanking, the GeoTIFF, and all of it together.

#include <benchmark/benchmark.h>

#include <string>

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

const std::string& day_file() {
  static const std::string bytes = [] {
    devsim::Options o;
    o.instrument.kind = *devsim::find_instrument_kind("em31mk2");
    o.instrument.period_ms = 1000.0 / kReadingsPerSecond;
    o.quality = 4;
    o.walk.line_length = 100;
    o.walk.spacing = 1;
    o.walk.speed = 1;
    o.walk.lines = static_cast<int>(kHours * 3600 * o.walk.speed / (o.walk.line_length + o.walk.spacing));
    return devsim::log_simulated_survey(o, 7, 0).bytes;
  }();
  return bytes;
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
}

BENCHMARK(BM_ReadSurvey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinimumCurvature)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nearest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeoTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeDay)->Unit(benchmark::kMillisecond);

}  // namespace
