// A data file's bytes come from outside: its header, constant records and
// readings are read by the one interpretation whatever they hold. Seeded
// random files, and files of real headers with random records after them.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "datafile/header_records.h"
#include "datafile/record_layout.h"
#include "reading/reading_meaning.h"
#include "settings/instrument_defaults.h"

namespace quelor {
namespace {

void read_every_record(std::string_view file, const Settings& display) {
  const std::optional<DecodeContext> start = decode_context_from_file(file, display);
  if (!start) return;
  DecodeContext c = *start;
  ConstantRecordState constants;
  const std::size_t L = file.find('\n') + 1;
  for (std::size_t at = 0; at + L <= file.size(); at += L) {
    const std::string_view r = file.substr(at, L - 1);
    apply_constant_record(c, constants, r);
    for (double n : c.nulls) EXPECT_FALSE(std::isnan(n));
    if (!is_reading_record(c.instrument_type, r)) continue;
    const ReadingMeaning m = interpret_reading(c, r.substr(0, reading_body_length(static_cast<int>(L))));
    EXPECT_LE(m.channel_count, kMaxReadingChannels);
    EXPECT_LE(m.column_count, kMaxReadingColumns);
    if (m.entry) {
      EXPECT_GE(*m.entry, 0);
      EXPECT_LE(*m.entry, two_value_entries(c) ? 49 * 64 + 49 : 49);
    }
    EXPECT_GE(m.kind, 0);
    EXPECT_LE(m.kind, 2);
  }
}

TEST(FileContextFuzz, RealHeadersThenRandomRecords) {
  std::mt19937 random(25);
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2}) {
    const Variant v{type, kRealTimeMap};
    Settings s = initial_settings(v);
    s.colour_map_view = 1 + static_cast<int>(random() % 4);
    const int L = record_length(v);
    std::string file;
    for (const std::string& r : header_block(v, header_fields_from_settings(s, type), false)) file += r;
    for (int i = 0; i < 3000; ++i) {
      std::string r(static_cast<std::size_t>(L - 1), ' ');
      for (char& ch : r) ch = static_cast<char>(random() % 256);
      static const char kTags[] = "TODEFIGLSX{";
      r[0] = kTags[random() % (sizeof kTags - 1)];
      if (random() % 3 == 0) r[16] = '7';
      file += r + '\n';
    }
    SCOPED_TRACE(type);
    read_every_record(file, s);
  }
}

TEST(FileContextFuzz, RandomBytes) {
  std::mt19937 random(26);
  const Settings s;
  for (int i = 0; i < 300; ++i) {
    std::string file(static_cast<std::size_t>(random() % 2000), ' ');
    for (char& ch : file) ch = static_cast<char>(random() % 256);
    static const char* kCodes[] = {"ZLK31   W230", "ZLKMK2  W228", "ZLKLX2  W109", "ZLK384  W100", "ZLK601 AW101"};
    const std::string code = kCodes[random() % 5];
    if (file.size() > 40) {
      file.replace(0, code.size(), code);
      file[26 + random() % 20] = '\n';
    }
    read_every_record(file, s);
  }
}

}  // namespace
}  // namespace quelor
