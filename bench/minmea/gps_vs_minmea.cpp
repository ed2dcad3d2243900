// The GPS path side by side with a lean C NMEA parser (minmea), on the same
// GGA sentence in the same process. minmea is not part of the project: this
// program is built only when QUELOR_MINMEA_DIR names a minmea source folder
// (minmea.c and minmea.h), e.g.
//   cmake --preset native -DQUELOR_MINMEA_DIR=$HOME/src/minmea
//   build/native/bench_gps_vs_minmea --benchmark_repetitions=10
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
//   (one command line)
// The ratio reported is minmea parse-only time / whole-path time.
#include <benchmark/benchmark.h>

#include "../gps_path.h"
#include "minmea.h"

namespace {

using quelor::bench::kGga;

void BM_MinmeaParseOnly(benchmark::State& state) {
  minmea_sentence_gga frame{};
  bool ok = true;
  for (auto _ : state) {
    ok &= minmea_parse_gga(&frame, kGga.c_str());
    benchmark::DoNotOptimize(frame.latitude.value);
  }
  if (!ok) state.SkipWithError("minmea did not parse the sentence");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MinmeaParseOnly);

// The whole path; with `texts` also the status area's texts, as the window
// makes them for every fix it shows.
void whole_path(benchmark::State& state, bool texts) {
  quelor::bench::GpsPath path;
  double sum = 0;
  for (auto _ : state) sum += quelor::bench::feed(path, kGga, texts);
  benchmark::DoNotOptimize(sum);
  if (sum == 0) state.SkipWithError("no fix");
  state.SetItemsProcessed(state.iterations());
}

void BM_WholePath(benchmark::State& state) { whole_path(state, false); }
BENCHMARK(BM_WholePath);

void BM_WholePathWithTexts(benchmark::State& state) { whole_path(state, true); }
BENCHMARK(BM_WholePathWithTexts);

}  // namespace
