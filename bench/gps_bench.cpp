// Throughput of the GPS path: sentence assembly and checksum in the reader,
// the parser and the projection.
#include <benchmark/benchmark.h>

#include <string>

#include "gps/projection.h"
#include "gps_path.h"

namespace {

using quelor::bench::kGga;

void BM_AssembleAndCheck(benchmark::State& state) {
  quelor::SentenceAssembler assembler;
  std::int64_t accepted = 0;
  for (auto _ : state) {
    for (unsigned char c : kGga)
      if (quelor::assemble_byte(assembler, c, 0)) accepted += quelor::checksum_ok(quelor::assembled_line(assembler));
  }
  benchmark::DoNotOptimize(accepted);
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kGga.size()));
}
BENCHMARK(BM_AssembleAndCheck);

void BM_Parse(benchmark::State& state) {
  const quelor::FormatTable table = quelor::make_format_table(quelor::kFormatGga, false);
  const std::string sentence = kGga.substr(0, kGga.size() - 2);
  for (auto _ : state) {
    quelor::GpsFix fix = quelor::parse_gps_fix(sentence, table, quelor::FixOptions{});
    benchmark::DoNotOptimize(fix.latitude);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Parse);

// The status area's texts of a fix, made where a fix is shown.
void BM_DisplayTexts(benchmark::State& state) {
  const quelor::FormatTable table = quelor::make_format_table(quelor::kFormatGga, false);
  const std::string sentence = kGga.substr(0, kGga.size() - 2);
  const quelor::GpsFix fix = quelor::parse_gps_fix(sentence, table, quelor::FixOptions{});
  for (auto _ : state) {
    quelor::GpsFixTexts texts = quelor::fix_display_texts(fix, sentence);
    benchmark::DoNotOptimize(texts.latitude.size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplayTexts);

void BM_Project(benchmark::State& state) {
  double lat = 48.1, lon = 11.5;
  for (auto _ : state) {
    quelor::GridPoint p = quelor::project_to_utm(lat, lon, 32);
    benchmark::DoNotOptimize(p);
    lat += 1e-9;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Project);

// The whole path of one position sentence, byte by byte to grid coordinates.
void BM_SentenceToGrid(benchmark::State& state) {
  quelor::bench::GpsPath path;
  double sum = 0;
  for (auto _ : state) sum += quelor::bench::feed(path, kGga, false);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SentenceToGrid);

}  // namespace
