#include "datafile/file_check.h"

#include <gtest/gtest.h>

#include <random>

#include "datafile/data_records.h"
#include "datafile/header_records.h"
#include "datafile/record_layout.h"
#include "gps/checksum.h"
#include "survey_fixture.h"

namespace quelor {
namespace {

using testing_support::build_sample_survey;

bool has_error(const FileCheckReport& r, long record, const std::string& part) {
  for (const FileCheckError& e : r.errors)
    if (e.record == record && e.message.find(part) != std::string::npos) return true;
  return false;
}

std::string dump(const FileCheckReport& r) {
  std::string out;
  for (const FileCheckError& e : r.errors) out += std::to_string(e.record) + ": " + e.message + "\n";
  return out;
}

TEST(FileCheck, CountsOfAGoodFile) {
  const std::string bytes = build_sample_survey({kEm61Mk2, 0});
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(r.errors.empty()) << dump(r);
  EXPECT_EQ(r.record_length, 27);
  EXPECT_EQ(r.program_code, "ZLKMK2  W");
  EXPECT_EQ(r.version, "228");
  EXPECT_EQ(r.by_tag.at('~'), 1);
  EXPECT_EQ(r.by_tag.at('!'), 4);
  EXPECT_EQ(r.by_tag.at('{'), 9);
  EXPECT_EQ(r.by_tag.at('O'), 12);
  EXPECT_EQ(r.by_tag.at('T'), 5);
}

// A GGA with its checksum at a latitude north.
std::string gga_at(int degrees, double minutes, const char* time) {
  char body[96];
  std::snprintf(body, sizeof body, "$GPGGA,%s,%02d%09.6f,N,07936.000000,W,1,09,0.9,100.0,M,0.0,M,,", time, degrees,
                minutes);
  char sum[8];
  std::snprintf(sum, sizeof sum, "*%02X", nmea_checksum(body));
  return std::string(body) + sum;
}

// A stored GPS sentence whose checksum no longer matches (one byte changed
// in the file), and a fix 1,000 km from the one a second before: warnings
// with their record numbers; the file stays valid.
TEST(FileCheck, StoredGpsSentencesThatCannotBeTrustedAreWarnings) {
  for (const Variant v : {Variant{kEm31Mk2, kNavigation}, Variant{kCs21, kRealTimeMap}}) {
    std::string bytes;
    for (const std::string& r : header_block(v, testing_support::sample_header(v), false)) bytes += r;
    for (const std::string& r : line_block_records(v, testing_support::sample_line(1), LocalTime{})) bytes += r;
    bytes += time_mark_record(v, LocalTime{}, 1000);
    const std::size_t L = static_cast<std::size_t>(record_length(v));
    const long first_gps = static_cast<long>(bytes.size() / L) + 1;
    const std::string changed = gps_sentence_records(v, gga_at(43, 36.1, "101001.00"), 2000, kGpsForwarded, 1);
    bytes += changed.substr(0, 18) + '5' + changed.substr(19);  // 4336.1 read as 5336.1
    const long second_gps = static_cast<long>(bytes.size() / L) + 1;
    bytes += gps_sentence_records(v, gga_at(43, 36.1, "101002.00"), 3000, kGpsForwarded, 2);
    const long jump = static_cast<long>(bytes.size() / L) + 1;
    bytes += gps_sentence_records(v, gga_at(52, 36.1, "101003.00"), 4000, kGpsForwarded, 3);  // 1,000 km north
    bytes += gps_sentence_records(v, gga_at(43, 36.102, "101004.00"), 5000, kGpsForwarded, 4);
    const FileCheckReport r = check_data_file(bytes);
    EXPECT_TRUE(r.errors.empty()) << dump(r);
    ASSERT_EQ(r.warnings.size(), 2u) << v.instrument_type;
    EXPECT_EQ(r.warning_count, 2);
    EXPECT_EQ(r.warnings[0].record, first_gps);
    EXPECT_EQ(r.warnings[0].message, "GPS sentence checksum does not match");
    EXPECT_EQ(r.warnings[1].record, jump);
    EXPECT_EQ(r.warnings[1].message.rfind("GPS position jumps 1001", 0), 0u) << r.warnings[1].message;
    EXPECT_NE(second_gps, jump);
    EXPECT_EQ(r.gps_positions, 4);
  }
}

TEST(FileCheck, TruncatedRecord) {
  std::string bytes = build_sample_survey({kEm38, 0});
  bytes.erase(27 * 20 + 5, 3);
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_GT(r.error_count, 0);
  EXPECT_FALSE(r.errors.empty());
}

TEST(FileCheck, TruncatedEnd) {
  std::string bytes = build_sample_survey({kEm38, 0});
  bytes.resize(bytes.size() - 4);
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, r.records + 1, "truncated record")) << dump(r);
}

TEST(FileCheck, BadTag) {
  std::string bytes = build_sample_survey({kEm38Mk2, 1});
  const std::size_t at = bytes.find("X$STARTED");
  ASSERT_EQ(at % 27, 0u);
  bytes[at] = 'W';
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, static_cast<long>(at / 27 + 1), "unknown tag")) << dump(r);
  EXPECT_EQ(r.error_count, 1);
}

TEST(FileCheck, DecreasingTickAmongReadingsOnly) {
  std::string bytes = build_sample_survey({kEm31Mk2, 1});
  // Record 22 is the second reading; give it a tick before the first one.
  ASSERT_EQ(bytes[24 * 21], '2');
  bytes.replace(24 * 21 + 13, 10, "   3600000");
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, 22, "tick decreases")) << dump(r);
  EXPECT_EQ(r.error_count, 1);
}

TEST(FileCheck, TicksOfDifferentKindsMayInterleave) {
  Variant v{kEm38, 0};
  std::string bytes;
  HeaderFields h = testing_support::sample_header(v);
  for (const std::string& rec : header_block(v, h, false)) bytes += rec;
  for (const std::string& rec : line_block_records(v, testing_support::sample_line(1), {})) bytes += rec;
  bytes += time_mark_record(v, {}, 100);
  bytes += reading_record(v, {"TA01234", 500});
  bytes += gps_sentence_records(v, "$GPGGA,1", 450, kGpsAccepted, 1);  // GPS thread, earlier tick
  bytes += remark_record(v, 'X', std::string_view("PAUSED"), 400);     // window thread, later write
  bytes += reading_record(v, {"TA01234", 600});
  EXPECT_EQ(check_data_file(bytes).error_count, 0) << dump(check_data_file(bytes));
  bytes += reading_record(v, {"TA01234", 550});
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, r.records, "tick decreases (550 after 600)")) << dump(r);
  EXPECT_EQ(r.error_count, 1) << dump(r);
}

TEST(FileCheck, NonNumericTick) {
  std::string bytes = build_sample_survey({kEm38, 0});
  bytes[27 * 18 + 20] = 'x';
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, 19, "tick field is not a number")) << dump(r);
}

TEST(FileCheck, ForeignHeader) {
  std::string bytes = build_sample_survey({kEm38, 0});
  bytes.replace(0, 9, "EM38 DATA");
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, 1, "first record is not a header")) << dump(r);
  EXPECT_EQ(r.headers, 0);
}

TEST(FileCheck, HeaderOfAnotherProgramInTheMiddle) {
  std::string bytes = build_sample_survey({kEm38, 0});
  HeaderFields h = testing_support::sample_header({kEm34_3, 0});
  bytes += identification_record({kEm34_3, 0}, h, true);
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_TRUE(has_error(r, r.records, "header of another program")) << dump(r);
}

TEST(FileCheck, ContinuedFileIsWellFormed) {
  const Variant v{kEm31Mk2, 0};
  std::string bytes = build_sample_survey(v);
  for (const std::string& rec : header_block(v, testing_support::sample_header(v), true)) bytes += rec;
  for (const std::string& rec : line_block_records(v, testing_support::sample_line(3), {})) bytes += rec;
  bytes += time_mark_record(v, {}, 5);  // after a restart the ticks start again
  bytes += reading_record(v, {"Tp01234-0050", 6});
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_EQ(r.error_count, 0) << dump(r);
  EXPECT_EQ(r.headers, 2);
  EXPECT_EQ(r.lines, 3);
  EXPECT_EQ(r.by_tag.at('z'), 1);
}

TEST(FileCheck, BrokenBlocks) {
  const Variant v{kEm38, 0};
  std::string bytes = build_sample_survey(v);
  std::string no_h = bytes;
  no_h[27] = 'C';
  EXPECT_TRUE(has_error(check_data_file(no_h), 2, "expected 'H'"));
  std::string no_b = bytes;
  no_b[27 * 6] = 'S';
  EXPECT_TRUE(has_error(check_data_file(no_b), 7, "expected 'B'"));
  std::string bad_direction = bytes;
  bad_direction[27 * 7 + 1] = 'Q';
  EXPECT_TRUE(has_error(check_data_file(bad_direction), 8, "bad line direction"));
  std::string no_mark = bytes;
  no_mark[27 * 9] = 'C';
  EXPECT_TRUE(has_error(check_data_file(no_mark), 10, "not followed by a time mark"));
}

TEST(FileCheck, UnprintableOutsideRawReadings) {
  std::string bytes = build_sample_survey({kEm38, 0});
  bytes[27 * 12 + 4] = '\x01';  // inside a GPS piece
  EXPECT_TRUE(has_error(check_data_file(bytes), 13, "unprintable"));
  // Raw bytes in EM61 readings are the instrument's own.
  EXPECT_EQ(check_data_file(build_sample_survey({kEm61Lx2, 1})).error_count, 0);
}

TEST(FileCheck, StatusByteOfEm31FamilyReadingsIsRaw) {
  // A horizontal-dipole EM31-MK2 or a 20 m EM34-3 record has a status byte
  // below 0x20 in column 1; anywhere else in the record it is an error.
  for (const Variant v : {Variant{kEm31Mk2, 1}, Variant{kEm34_3, 0}, Variant{kEm38, 1}}) {
    std::string bytes = build_sample_survey(v);
    const int length = record_length(v);
    std::size_t at = 0;
    long record = 0;
    for (std::size_t i = 0; i < bytes.size(); i += length) {
      if (bytes[i] == 'T' && i > 0) {
        at = i;
        record = static_cast<long>(i / length) + 1;
        break;
      }
    }
    ASSERT_NE(at, 0u) << v.instrument_type;
    std::string status = bytes;
    status[at + 1] = '\x02';
    EXPECT_EQ(check_data_file(status).error_count, 0) << dump(check_data_file(status));
    std::string value = bytes;
    value[at + 3] = '\x02';
    EXPECT_TRUE(has_error(check_data_file(value), record, "unprintable")) << v.instrument_type;
  }
}

TEST(FileCheck, NoLineFeedOrOddLength) {
  EXPECT_EQ(check_data_file("no line feed at all").error_count, 1);
  EXPECT_TRUE(has_error(check_data_file("short\nshort\n"), 1, "record length"));
  EXPECT_EQ(check_data_file("").error_count, 1);
}

TEST(FileCheck, ErrorsAreCappedAtOneHundred) {
  std::string bytes = build_sample_survey({kEm38, 0});
  for (int i = 0; i < 150; ++i) bytes += std::string(26, '%') + "\n";
  const FileCheckReport r = check_data_file(bytes);
  EXPECT_EQ(r.errors.size(), kMaxReportedErrors);
  EXPECT_EQ(r.error_count, 150);
}

TEST(FileCheck, RandomBytesNeverCrash) {
  std::mt19937 rng(20250307);
  const std::string good = build_sample_survey({kEm61Mk2, 0});
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    if (round % 2) {
      bytes = good;
      const int flips = 1 + static_cast<int>(rng() % 20);
      for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
      bytes.resize(rng() % (bytes.size() + 1));
    } else {
      bytes.resize(rng() % 400);
      for (char& c : bytes) c = static_cast<char>(rng() % 4 == 0 ? '\n' : rng());
    }
    const FileCheckReport r = check_data_file(bytes);
    EXPECT_LE(r.errors.size(), kMaxReportedErrors);
  }
}

}  // namespace
}  // namespace quelor
