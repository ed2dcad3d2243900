#pragma once
// A clock the tests move by hand, raw instrument records built from the
// values they should decode to, and the data file the procedures write to.

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "io/clock.h"
#include "procedures/procedure_step.h"
#include "variant/variant.h"

namespace quelor::test {

class FakeClock : public Clock {
 public:
  std::uint32_t now_ms() override { return now; }
  void wait_ms(std::uint32_t ms) override { now += ms; }
  std::uint32_t now = 0x7FFFF000;  // close to the wrap of a 32-bit tick
};

// The raw word that decodes to `u` with u(R) = (R * 5 / 1024 - 160) * 8.
inline std::uint16_t em38_word(double u) {
  return static_cast<std::uint16_t>(std::lround((u / 8.0 + 160.0) * 1024.0 / 5.0));
}

// An EM38-MK2 record: dipole 'V' or 'H', conductivity and in-phase of
// coil 1 and coil 2 as the instrument measures them.
inline std::array<std::uint8_t, 14> em38mk2_record(char dipole, double c1, double i1, double c2, double i2) {
  std::array<std::uint8_t, 14> r{};
  r[0] = 'T';
  r[1] = dipole == 'V' ? 4 : 0;
  const std::uint16_t words[4] = {em38_word(c2), em38_word(i2 / 0.00720475), em38_word(c1), em38_word(i1 / 0.028819)};
  for (int k = 0; k < 4; ++k) {
    r[2 + 2 * k] = static_cast<std::uint8_t>(words[k] >> 8);
    r[3 + 2 * k] = static_cast<std::uint8_t>(words[k] & 0xFF);
  }
  return r;
}

// A data file in memory, open, for the variant of `type`.
struct OpenFile {
  explicit OpenFile(InstrumentType type) : variant{type, kNavigation}, writer(sink, variant) {
    sink.open(L"survey.dat");
  }
  std::vector<std::string> records() {
    const std::string& bytes = sink.file(L"survey.dat");
    const std::size_t l = static_cast<std::size_t>(writer.record_length());
    std::vector<std::string> out;
    for (std::size_t at = 0; at + l <= bytes.size(); at += l) out.push_back(bytes.substr(at, l - 1));
    return out;
  }
  MemorySink sink;
  Variant variant;
  DataFileWriter writer;
};

}  // namespace quelor::test
