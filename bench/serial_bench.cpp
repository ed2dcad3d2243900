// Framing and decoding throughput per instrument: records per second on one core.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "serial/instrument_framer.h"
#include "variant/variant.h"

namespace {

using namespace quelor;
using Bytes = std::vector<std::uint8_t>;

Bytes repeat(const std::string& record, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), record.begin(), record.end());
  return out;
}

std::string em61_record(char letter) {
  return std::string{letter, '\x55', '\x01', '\x02', '\x7F', '\x10', '\x00', '\x40',
                     '\xFF', '\xF0', '\x07', '\xD0', '\x21', '\x7F', '\x7F'};
}

template <class Decode>
void run(benchmark::State& state, InstrumentFramer framer, const Bytes& stream, Decode decode) {
  FrameContext ctx;
  std::int64_t records = 0;
  for (auto _ : state) {
    for (std::uint8_t b : stream) {
      const FrameStep step = frame_byte(framer, b, ctx);
      if (step.event == FrameEvent::kRecord && step.deliver) {
        RecordBytes copy = framed_record(framer);
        decode(copy);
        ++records;
      }
    }
  }
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}

constexpr int kRecords = 1000;

void BM_Em31Mk2(benchmark::State& state) {
  run(state, *make_instrument_framer(kEm31Mk2, {}),
      repeat("T\x60"
             "01234-0567\r",
             kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_em31_mk2(r.view(), {})); });
}
void BM_Em38(benchmark::State& state) {
  run(state, *make_instrument_framer(kEm38, {.record_length = 7}),
      repeat("T\x33"
             "01234\r",
             kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_em38(r.view(), {})); });
}
void BM_Em34_3(benchmark::State& state) {
  run(state, *make_instrument_framer(kEm34_3, {}),
      repeat("T\x38"
             "01234-0567\r",
             kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_em34_3(r.view(), {})); });
}
void BM_Em38Mk2(benchmark::State& state) {
  const std::string rec{'T',    '\x06', '\x80', '\x10', '\x81', '\x20', '\x82', '\x30',
                        '\x83', '\x40', '\x01', '\x02', '\x03', '\x04', '\xFF', '\xFF'};
  run(state, *make_instrument_framer(kEm38Mk2, {}), repeat(rec, kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_em38_mk2(r.view(), {}, false)); });
}
void BM_Em38_4(benchmark::State& state) {
  std::string rec = "T\x02";
  for (int i = 0; i < 12; ++i) rec += std::string{'\x80', static_cast<char>(i * 7)};
  rec += "\xFF\xFF";
  run(state, *make_instrument_framer(kEm38_4, {}), repeat(rec, kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_em38_4(r.view(), {}, false)); });
}
void BM_Em61Mk2(benchmark::State& state) {
  CurrentRing ring = make_current_ring(98);
  run(state, *make_instrument_framer(kEm61Mk2, {}), repeat(em61_record('D'), kRecords),
      [&](RecordBytes& r) { benchmark::DoNotOptimize(decode_em61_mk2(r, {}, ring, {})); });
}
void BM_Em61Lx2(benchmark::State& state) {
  run(state, *make_instrument_framer(kEm61Lx2, {.two_coils = true}), repeat(em61_record('T'), kRecords),
      [](RecordBytes& r) { benchmark::DoNotOptimize(decode_em61_lx2(r, true, {})); });
}
void BM_Grad601(benchmark::State& state) {
  run(state, *make_instrument_framer(kGrad601, {}), repeat("$PBAR,12.345,-67.890,0*3F\r\n", kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_grad601(r.text(), true)); });
}
void BM_Cs21(benchmark::State& state) {
  run(state, *make_instrument_framer(kCs21, {}), repeat("$PDLM1,123456.7,12.34,5.678,-1.234,0.567*5A\r\n", kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(decode_cs21(r.text())); });
}
void BM_Tilt(benchmark::State& state) {
  run(state, make_tilt_reader_framer(), repeat("$PTILT,1.25,-0.50*7B\r\n", kRecords),
      [](const RecordBytes& r) { benchmark::DoNotOptimize(r.length); });
}

BENCHMARK(BM_Em31Mk2);
BENCHMARK(BM_Em38);
BENCHMARK(BM_Em34_3);
BENCHMARK(BM_Em38Mk2);
BENCHMARK(BM_Em38_4);
BENCHMARK(BM_Em61Mk2);
BENCHMARK(BM_Em61Lx2);
BENCHMARK(BM_Grad601);
BENCHMARK(BM_Cs21);
BENCHMARK(BM_Tilt);

}  // namespace
