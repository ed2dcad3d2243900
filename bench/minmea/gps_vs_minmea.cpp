// The GPS path side by side with a lean C NMEA parser (minmea), on the same
// GGA sentence in the same process. minmea is not part of the project: this
// program is built only when QUELOR_MINMEA_DIR names a minmea source folder
// (minmea.c and minmea.h), e.g.
//   cmake --preset native -DQUELOR_MINMEA_DIR=$HOME/src/minmea
//   build/native/bench_gps_vs_minmea --benchmark_repetitions=10 \
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
// The ratio asked for is minmea parse-only time / whole-path time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "gps/assembler.h"
#include "gps/checksum.h"
#include "gps/fix_texts.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "minmea.h"

namespace {

std::string with_checksum(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", quelor::nmea_checksum(body));
  return body + buf + "\r\n";
}

const std::string kGga =
    with_checksum("$GPGGA,123519.00,4807.03812,N,01131.00045,E,4,12,0.9,545.4,M,46.9,M,1.2,0031");

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

// Byte-by-byte assembly, checksum, parse and projection; with `texts` also
// the status area's texts, as the window makes them for every fix it shows.
void whole_path(benchmark::State& state, bool texts) {
  const quelor::FormatTable table = quelor::make_format_table(quelor::kFormatGga, false);
  quelor::SentenceAssembler assembler;
  quelor::SurveyZone zone = quelor::make_survey_zone(quelor::kAutomaticZone);
  double sum = 0;
  for (auto _ : state) {
    for (unsigned char c : kGga) {
      if (!quelor::assemble_byte(assembler, c, 0)) continue;
      const std::string_view line = quelor::assembled_line(assembler);
      if (!quelor::checksum_ok(line)) continue;
      quelor::GpsFix fix = quelor::parse_gps_fix(line, table, quelor::FixOptions{});
      quelor::project_fix(zone, fix);
      sum += fix.easting;
      if (texts) sum += static_cast<double>(quelor::fix_display_texts(fix, line).latitude.size());
    }
  }
  benchmark::DoNotOptimize(sum);
  if (sum == 0) state.SkipWithError("no fix");
  state.SetItemsProcessed(state.iterations());
}

void BM_WholePath(benchmark::State& state) { whole_path(state, false); }
BENCHMARK(BM_WholePath);

void BM_WholePathWithTexts(benchmark::State& state) { whole_path(state, true); }
BENCHMARK(BM_WholePathWithTexts);

}  // namespace
