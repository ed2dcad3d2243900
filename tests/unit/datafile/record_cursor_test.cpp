#include "datafile/record_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datafile/data_records.h"
#include "datafile/header_records.h"
#include "datafile/record_layout.h"
#include "datafile/stored_gps.h"
#include "variant/instrument.h"

namespace quelor {
namespace {

using K = RecordKind;

struct Written {
  std::string bytes;
  std::vector<K> kinds;
  std::vector<std::optional<std::uint32_t>> ticks;

  void add(const std::string& records, K kind, std::optional<std::uint32_t> tick, int length) {
    for (std::size_t at = 0; at < records.size(); at += static_cast<std::size_t>(length)) {
      kinds.push_back(kind);
      ticks.push_back(tick);
    }
    bytes += records;
  }
  void add(const std::vector<std::string>& records, K kind, int length) {
    for (const std::string& r : records) add(r, kind, std::nullopt, length);
  }
};

// The instrument record the handler hands over for a reading letter.
ReadingInput reading_of(const InstrumentRow& row, char letter, std::string& storage, std::uint32_t tick) {
  ReadingInput in;
  in.tick = tick;
  if (row.family == InstrumentFamily::kLine) {
    storage = row.type == kGrad601 ? "$PBAR,12.5,-3.25" : "$PDLM1,0.1,2.5,3.5,4.5,5.5";
  } else if (letter >= '2' && letter <= '6') {
    storage = "T0012 3456V";
    in.readings_since_last = letter - '0';
  } else {
    storage = std::string(1, letter) + std::string(row.type == kEm38_4 ? 34 : 13, '\x05');
  }
  in.record = storage;
  return in;
}

// Every record type each variant writes, read back by the cursor: its kind,
// its tick where it has one, every byte of the file in whole records.
TEST(RecordCursor, EveryRecordTypeOfEveryInstrument) {
  for (const InstrumentRow& row : instrument_table()) {
    for (int line : {kRealTimeMap, kNavigation}) {
      const Variant v{row.type, line};
      const int L = record_length(v);
      Written w;
      const LocalTime now{2024, 5, 17, 10, 11, 12, 345};
      HeaderFields header;
      header.file_name = "SITE01";
      std::vector<std::string> head = header_block(v, header, false);
      w.add(head[0], K::kIdentification, std::nullopt, L);
      w.add(std::vector<std::string>(head.begin() + 1, head.begin() + (line == kRealTimeMap ? 5 : 3)), K::kSetup, L);
      w.add(std::vector<std::string>(head.begin() + (line == kRealTimeMap ? 5 : 3), head.end()), K::kConstant, L);
      std::vector<std::string> block = line_block_records(v, LineBlockFields{}, now);
      w.add(std::vector<std::string>(block.begin(), block.begin() + 4), K::kLineBlock, L);
      w.add(std::vector<std::string>(block.begin() + 4, block.end()), K::kConstant, L);
      w.add(time_mark_record(v, now, 1000), K::kTimeMark, 1000, L);
      std::uint32_t tick = 1001;
      std::string storage;
      for (char letter : row.reading_letters) {
        w.add(reading_record(v, reading_of(row, letter, storage, tick)), K::kReading, tick, L);
        ++tick;
      }
      for (char letter : row.marker_letters) {
        w.add(reading_record(v, reading_of(row, letter, storage, tick)), K::kMarker, tick, L);
        ++tick;
      }
      const std::string gga = "$GPGGA,101112.00,4336.1234,N,00123.4567,W,1,08,1.0,100.0,M,0.0,M,,*4A";
      const std::string pieces = gps_sentence_records(v, gga, 2000, kGpsForwarded, 1);
      const std::size_t summary = pieces.size() - static_cast<std::size_t>(L);
      w.add(pieces.substr(0, static_cast<std::size_t>(L)), K::kGpsFirst, std::nullopt, L);
      w.add(pieces.substr(static_cast<std::size_t>(L), summary - static_cast<std::size_t>(L)), K::kGpsContinuation,
            std::nullopt, L);
      w.add(pieces.substr(summary), K::kGpsSummary, 2000, L);
      const std::string noise = gps_sentence_records(v, std::string(40, 'x'), 2001, kGpsUnparsed, 2);
      w.add(noise.substr(0, static_cast<std::size_t>(L)), K::kGpsInput, std::nullopt, L);
      w.add(noise.substr(static_cast<std::size_t>(L), noise.size() - 2 * static_cast<std::size_t>(L)),
            K::kGpsInputContinuation, std::nullopt, L);
      w.add(noise.substr(noise.size() - static_cast<std::size_t>(L)), K::kGpsSummary, 2001, L);
      w.add(station_record(v, 12.5, now), K::kStation, std::nullopt, L);
      w.add(remark_record(v, 'C', std::string_view("comment"), 3000), K::kComment, 3000, L);
      w.add(remark_record(v, '\\', std::string_view("$bad tilt"), 3001), K::kComment, 3001, L);
      w.add(remark_record(v, 'X', std::string_view("PAUSED"), 3002), K::kRemark, 3002, L);
      w.add(tilt_record(v, 1.5, -2.5, 3003), K::kTilt, 3003, L);
      w.add(swath_start_record(v), K::kSwath, std::nullopt, L);
      w.add(swath_group_records(v, 1, {1.0, 2.0, 3.0, 4.0}), K::kSwath, std::nullopt, L);
      w.add(header_block(v, header, true)[0], K::kIdentification, std::nullopt, L);
      w.bytes += "Tpartial";

      const DataFile file = open_data_file(w.bytes);
      ASSERT_EQ(file.record_length, L) << row.type << " " << line;
      ASSERT_TRUE(file.variant);
      EXPECT_EQ(file.variant->instrument_type, row.type);
      EXPECT_EQ(file.variant->navigation_mode, line);
      EXPECT_EQ(file.record_count(), static_cast<long>(w.kinds.size()));
      EXPECT_EQ(file.trailing_bytes(), 8u);
      RecordCursor cursor = record_cursor(file);
      for (std::size_t i = 0; i < w.kinds.size(); ++i) {
        const std::optional<DataRecord> r = next_record(cursor);
        ASSERT_TRUE(r) << i;
        const std::string where = std::to_string(row.type) + "/" + std::to_string(line) + " record " +
                                  std::to_string(i + 1) + " '" + std::string(r->body()) + "'";
        EXPECT_EQ(r->number, static_cast<long>(i + 1)) << where;
        EXPECT_EQ(r->bytes.size(), static_cast<std::size_t>(L)) << where;
        EXPECT_EQ(r->bytes.back(), '\n') << where;
        EXPECT_EQ(r->kind, w.kinds[i]) << where;
        EXPECT_EQ(r->tick, w.ticks[i]) << where;
      }
      EXPECT_FALSE(next_record(cursor));
    }
  }
}

TEST(RecordCursor, LettersOfOtherInstrumentsAreNoReadings) {
  const struct {
    InstrumentType type;
    char tag;
  } cases[] = {{kEm61Lx2, 'J'}, {kEm61Lx2, 'k'}, {kEm38Mk2, 'D'}, {kGrad601, 't'}, {kCs21, '3'}, {kEm61Mk2, '2'}};
  for (const auto& c : cases) {
    const std::string rec = std::string(1, c.tag) + std::string(15, ' ') + tick_field(5) + "\n";
    EXPECT_EQ(classify_record(rec, 1, c.type).kind, K::kUnknown) << c.type << " " << c.tag;
  }
  // A date record starts with 'Z' as the program codes of the real-time map line do.
  EXPECT_EQ(classify_record("Z17052024 10:11:12       \n", 1, kEm31Mk2).kind, K::kLineBlock);
}

TEST(RecordCursor, FieldsReadOneWay) {
  EXPECT_EQ(digit_at("G 7", 2), 7);
  EXPECT_EQ(digit_at("G 7", 1), std::nullopt);  // a space is no digit, nor 0
  EXPECT_EQ(digit_at("G 7", 3), std::nullopt);
  EXPECT_EQ(number_at("B      12.50", 1, 11), 12.5);
  EXPECT_EQ(number_at("G -0.300  1.250", 1, 7), -0.3);
  EXPECT_EQ(number_at("G  1.2x", 1, 7), std::nullopt);
  EXPECT_EQ(number_at("G       ", 1, 7), std::nullopt);
  EXPECT_EQ(parse_tick("      1234"), 1234u);
  EXPECT_EQ(parse_tick("4294967295"), 4294967295u);
  EXPECT_EQ(parse_tick("4294967296"), std::nullopt);
  EXPECT_EQ(parse_tick("   12 34"), std::nullopt);
  EXPECT_EQ(parse_tick("          "), std::nullopt);
  EXPECT_EQ(open_data_file(std::string(70, 'x') + "\n").record_length, 0);
  EXPECT_FALSE(open_data_file("Xnot a header             \n").variant);
}

// Fixes a second apart, by metres north of the first: which are used. A
// fix 1 km away is refused; three refused fixes that agree with each other
// start afresh (the trusted one was the wrong one).
TEST(StoredGps, FixesFasterThanAWalkOrTowAreRefused) {
  struct Step {
    double north_m;
    std::uint32_t tick;
    bool used;
  };
  const Step steps[] = {
      {0, 1000, true},     {1.5, 2000, true},   {1000, 3000, false}, {3.0, 4000, true},   // one glitch
      {4.0, 4100, true},   {30.0, 4200, false},                                           // 26 m in 0.2 s
      {44.0, 5000, true},                                                                 // 40 m in 0.9 s
      {5000, 6000, false}, {5001, 7000, false}, {5002, 8000, true},  {5003, 9000, true},  // a new start
  };
  FixJumpScreen screen;
  for (const Step& s : steps) {
    GpsFix fix;
    fix.geographic = true;
    fix.latitude = 43.6 + s.north_m / 111320.0;
    fix.longitude = -79.6;
    EXPECT_EQ(!screen_fix(screen, fix, s.tick), s.used) << s.north_m << " at " << s.tick;
  }
  GpsFix a, b;
  a.easting = 100;
  b.easting = 103;
  b.northing = 4;
  EXPECT_DOUBLE_EQ(fix_distance(a, b), 5.0);  // grid fixes in metres
}

TEST(StoredGps, SentencesJoinedAndChecked) {
  const Variant v{kEm31Mk2, kNavigation};
  const std::string gsa = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39";
  const std::string bytes = gps_sentence_records(v, gsa, 1234, kGpsForwarded, 7) +
                            gps_sentence_records(v, "$GPGSA,A,3,04", 1300, kGpsAccepted, 8);
  const DataFile file{bytes, 24, std::nullopt};
  RecordCursor cursor = record_cursor(file);
  SentenceAssembly a;
  std::vector<StoredSentence> sentences;
  while (const auto r = next_record(cursor))
    if (auto s = feed_sentence(a, *r)) sentences.push_back(*s);
  ASSERT_EQ(sentences.size(), 2u);
  EXPECT_EQ(sentences[0].text, gsa);
  EXPECT_EQ(sentences[0].record, 1);
  EXPECT_TRUE(sentences[0].summarised && sentences[0].passed_on);
  EXPECT_EQ(sentences[0].tick, 1234u);
  EXPECT_FALSE(sentences[1].passed_on);
  const FormatTable gga = make_format_table(kFormatGga, false);
  EXPECT_EQ(check_stored_sentence(sentences[0].text, gga), StoredSentenceCheck::kOk);
  EXPECT_EQ(check_stored_sentence(sentences[1].text, gga), StoredSentenceCheck::kChecksumMissing);
  std::string changed = gsa;
  changed[12] = '6';
  EXPECT_EQ(check_stored_sentence(changed, gga), StoredSentenceCheck::kChecksumMismatch);
  EXPECT_FALSE(finish_sentence(a));
}

}  // namespace
}  // namespace quelor
