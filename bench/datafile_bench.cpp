// Throughput of the data-file writer (reading and GPS records through the
// locked writer into memory) and of the file validator behind quelor check.
#include <benchmark/benchmark.h>

#include <string>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"

namespace {

const quelor::Variant kVariant{quelor::kEm31Mk2, quelor::kNavigation};

void BM_WriteReadingRecord(benchmark::State& state) {
  quelor::MemorySink sink;
  sink.open(L"bench");
  quelor::DataFileWriter writer(sink, kVariant);
  std::uint32_t tick = 0;
  for (auto _ : state) {
    writer.write_reading({"Tp01234-0056", ++tick});
    if ((tick & 0xFFFF) == 0) sink.file(L"bench").clear();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteReadingRecord);

void BM_WriteGpsSentence(benchmark::State& state) {
  quelor::MemorySink sink;
  sink.open(L"bench");
  quelor::DataFileWriter writer(sink, kVariant);
  const std::string gga = "$GPGGA,123519.00,4807.03812,N,01131.00045,E,4,12,0.9,545.4,M,46.9,M,1.2,0031*4A";
  std::uint32_t tick = 0;
  for (auto _ : state) {
    writer.write_gps_sentence(gga, ++tick, quelor::kGpsForwarded);
    if ((tick & 0xFFFF) == 0) sink.file(L"bench").clear();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteGpsSentence);

// One hour of a 10 Hz survey with a 1 Hz GPS: about 36000 readings and 3600
// sentences with their summaries.
std::string hour_of_survey() {
  quelor::MemorySink sink;
  sink.open(L"bench");
  quelor::DataFileWriter writer(sink, kVariant);
  writer.write_header(quelor::HeaderFields{}, false);
  writer.write_line_block(quelor::LineBlockFields{}, quelor::LocalTime{}, 0);
  const std::string gga = "$GPGGA,123519.00,4807.03812,N,01131.00045,E,4,12,0.9,545.4,M,46.9,M,1.2,0031*4A";
  for (std::uint32_t ms = 100; ms <= 3600000; ms += 100) {
    writer.write_reading({"Tp01234-0056", ms});
    if (ms % 1000 == 0) writer.write_gps_sentence(gga, ms, quelor::kGpsForwarded);
  }
  return sink.file(L"bench");
}

void BM_CheckHourOfSurvey(benchmark::State& state) {
  const std::string bytes = hour_of_survey();
  for (auto _ : state) {
    const quelor::FileCheckReport r = quelor::check_data_file(bytes);
    benchmark::DoNotOptimize(r.records);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_CheckHourOfSurvey)->Unit(benchmark::kMillisecond);

}  // namespace
