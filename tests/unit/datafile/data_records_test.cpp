#include "datafile/data_records.h"

#include <gtest/gtest.h>

#include "datafile/record_layout.h"

namespace quelor {
namespace {

const Variant kAllVariants[] = {{kEm31Mk2, 0}, {kEm31Mk2, 1}, {kEm38, 0},    {kEm38, 1},    {kEm34_3, 0},
                                {kEm34_3, 1},  {kEm38Mk2, 0}, {kEm38Mk2, 1}, {kEm38_4, 0},  {kEm38_4, 1},
                                {kCs21, 0},    {kCs21, 1},    {kGrad601, 0}, {kGrad601, 1}, {kEm61Lx2, 0},
                                {kEm61Lx2, 1}, {kEm61Mk2, 0}, {kEm61Mk2, 1}};

LocalTime noon() { return LocalTime{2025, 3, 7, 12, 34, 56, 789}; }

// The expected record: body, spaces to column L-2, line feed.
std::string rec(std::string body, std::size_t length = 27) {
  body.resize(length - 1, ' ');
  return body + "\n";
}

TEST(RecordLength, ByVariant) {
  EXPECT_EQ(record_length({kEm31Mk2, 1}), 24);
  EXPECT_EQ(record_length({kEm31Mk2, 0}), 27);
  EXPECT_EQ(record_length({kEm38_4, 1}), 47);
  EXPECT_EQ(record_length({kCs21, 0}), 65);
  EXPECT_EQ(record_length({kEm61Mk2, 1}), 27);
}

TEST(LineBlock, FifteenCharacterNameSpreadsOverHAndL) {
  LineBlockFields f;
  f.line_name = "LINE-0001-NORTH-X";
  f.file_name = "SITE_A_2025_MAR";  // 15 characters
  f.start_station = -12.5;
  f.line_direction = 1;
  f.station_increment = -0.25;
  const auto r = line_block_records({kEm38, 0}, f, noon());
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0], rec("LLINE-0001-NO5_MAR"));
  EXPECT_EQ(r[0].substr(13, 5), "5_MAR");
  EXPECT_EQ(r[1], rec("B     -12.50"));
  EXPECT_EQ(r[2], rec("AS           -0.250"));
  EXPECT_EQ(r[3], rec("Z07032025 12:34:56"));
  // The navigation EM31-MK2 keeps the name tail in columns 13-22.
  const auto nav = line_block_records({kEm31Mk2, 1}, f, noon());
  EXPECT_EQ(nav[0], "LLINE-0001-NO5_MAR     \n");
}

TEST(LineBlock, ConstantsAfterZ) {
  LineBlockFields f;
  f.null_values = {1, 2, 3, 4};
  f.previous_null_values = {-1, -2, -3, -4.5};
  f.lx2_constants = {{{310.0, 300.0}, {320.0, 310.0}}};
  for (std::size_t i = 0; i < 28; ++i)
    f.em38_4_constants[i] = {static_cast<double>(i), i == 0 ? 0.0 : -static_cast<double>(i)};
  const auto mk2 = line_block_records({kEm61Mk2, 0}, f, noon());
  ASSERT_EQ(mk2.size(), 8u);
  EXPECT_EQ(mk2[7], rec("O     4.00     -4.50"));
  const auto lx2 = line_block_records({kEm61Lx2, 0}, f, noon());
  ASSERT_EQ(lx2.size(), 10u);
  EXPECT_EQ(lx2[4], "O     1.00     -1.00     1\n");
  EXPECT_EQ(lx2[9], "I   320.00    310.00     1\n");
  const auto em38_4 = line_block_records({kEm38_4, 0}, f, noon());
  ASSERT_EQ(em38_4.size(), 32u);
  EXPECT_EQ(em38_4[4].substr(0, 25), "O1     0.000      0.000  ");
  EXPECT_EQ(em38_4[12].substr(0, 2), "O9");
  EXPECT_EQ(em38_4[13].substr(0, 2), "OA");
  EXPECT_EQ(em38_4[31].substr(0, 25), "OS    27.000    -27.000  ");
  EXPECT_EQ(em38_4[31].size(), 47u);
  EXPECT_EQ(line_block_records({kCs21, 0}, f, noon()).size(), 4u);
}

TEST(NullValues, ProcedureFormOfEm61Lx2) {
  const auto r = null_value_records({kEm61Lx2, 0}, {1, 2, 3, 4}, {}, false);
  EXPECT_EQ(r[0], "O     1.00" + std::string(15, ' ') + "1\n");
}

TEST(TimeMark, TickInLastTenColumnsBeforeLineFeed) {
  EXPECT_EQ(time_mark_record({kEm31Mk2, 0}, noon(), 123456), "*12:34:56.789" + std::string(7, ' ') + "123456\n");
  EXPECT_EQ(time_mark_record({kEm31Mk2, 1}, noon(), 123456), "*12:34:56.789    123456\n");
  const std::string wide = time_mark_record({kCs21, 1}, noon(), 4294967295u);
  EXPECT_EQ(wide.size(), 65u);
  EXPECT_EQ(wide.substr(54, 10), "4294967295");
}

TEST(Station, TimeInColumns14To25) {
  EXPECT_EQ(station_record({kEm38Mk2, 0}, 12.5, noon()), "S      12.50  12:34:56.789\n");
  EXPECT_EQ(station_record({kEm31Mk2, 1}, 12.5, noon()), "S      12.50  12:34:56.\n");
}

TEST(Remark, CutToElevenCharactersAndPrintable) {
  EXPECT_EQ(remark_record({kEm38, 0}, 'C', std::string_view("A LONG COMMENT TEXT"), 42),
            "CA LONG COMM" + std::string(12, ' ') + "42\n");
  EXPECT_EQ(remark_record({kEm38, 0}, 'X', std::string_view("GPS CONN BRK"), 7),
            "XGPS CONN BR" + std::string(13, ' ') + "7\n");
  EXPECT_EQ(remark_record({kEm38, 0}, 'X', std::string_view("$STARTED"), 7),
            "X$STARTED   " + std::string(13, ' ') + "7\n");
  EXPECT_EQ(remark_record({kEm38, 0}, 'C', std::string_view("a\nb\tc"), 7),
            "Ca?b?c      " + std::string(13, ' ') + "7\n");
  EXPECT_EQ(remark_record({kEm31Mk2, 1}, 'C', std::wstring_view(L"W\u00e9t"), 9),
            "CW?t        " + std::string(10, ' ') + "9\n");
  EXPECT_EQ(remark_record({kEm31Mk2, 1}, 'X', std::string_view("1CONN BRK 1"), 9).size(), 24u);
}

TEST(Reading, Em31FamilyLayouts) {
  ReadingInput r{
      "T\x70"
      "01234-0056",
      5000};
  EXPECT_EQ(reading_record({kEm31Mk2, 0}, r),
            "T\x70"
            "01234-0056" +
                std::string(10, ' ') + "5000\n");
  EXPECT_EQ(reading_record({kEm31Mk2, 1}, r),
            "T\x70"
            "01234-0056" +
                std::string(7, ' ') + "5000\n");
  r.readings_since_last = 3;
  EXPECT_EQ(reading_record({kEm31Mk2, 0}, r)[0], '3');
  r.readings_since_last = 7;
  EXPECT_EQ(reading_record({kEm31Mk2, 0}, r)[0], 'T');
  ReadingInput em38{"TA01234", 77, 1};
  EXPECT_EQ(reading_record({kEm38, 0}, em38), "TA01234" + std::string(17, ' ') + "77\n");
  ReadingInput em34{"T801234-0056", 1, 0, std::make_pair(-123, 4567)};
  EXPECT_EQ(reading_record({kEm34_3, 0}, em34).substr(0, 13), "T8-0123+4567 ");
  em34.record = "T801234";
  EXPECT_EQ(reading_record({kEm34_3, 0}, em34).substr(0, 13), "T8-0123      ");
}

TEST(Reading, BinaryAndLineInstruments) {
  const std::string mk2_raw("T\x06\x12\x34\x0A\x00\x7F\x80\x55\xAA\x01\x02\x03\x04", 14);
  const std::string em38mk2 = reading_record({kEm38Mk2, 0}, {mk2_raw, 9});
  EXPECT_EQ(em38mk2.substr(0, 16), mk2_raw + "  ");
  EXPECT_EQ(em38mk2.substr(16), "         9\n");
  const std::string em61_raw("T\xC0\x01\x02\x00\x10\xFF\xF0\x00\x05\x0B\xB8\x32\x0B\xB8\x7F\x00", 17);
  const std::string em61 = reading_record({kEm61Mk2, 1}, {em61_raw, 9});
  EXPECT_EQ(em61.substr(0, 16), em61_raw.substr(0, 16));
  EXPECT_EQ(em61.size(), 27u);
  EXPECT_EQ(reading_record({kGrad601, 0}, {"$PBAR,12.3,-4.5", 8}), "T$P,12.3,-4.5" + std::string(12, ' ') + "8\n");
  const std::string line = "$PDLM1,123456.70,12.345,6.789,10.111,2.222*3A";
  const std::string cs21 = reading_record({kCs21, 0}, {line, 8});
  EXPECT_EQ(cs21.substr(0, 54), "T" + line + std::string(53 - line.size(), ' '));
  EXPECT_EQ(cs21.substr(54), "         8\n");
  const std::string group(35, 'g');
  EXPECT_EQ(reading_record({kEm38_4, 1}, {group, 8}), group + "          8\n");
}

TEST(Reading, LongRecordNeverMovesTheTick) {
  const std::string grad = reading_record({kGrad601, 0}, {"$PBAR,12345.678,-45678.123*5C", 8});
  ASSERT_EQ(grad.size(), 27u);
  EXPECT_EQ(grad.substr(0, 16), "T$P,12345.678,-4");
  EXPECT_EQ(grad.substr(16), "         8\n");
}

TEST(GpsSentence, SeventyCharactersInPieces) {
  const std::string sentence = "$GPGGA,123519.00,4807.03812,N,01131.00012,E,1,08,0.9,545.4,M,46.9,M,,*47";
  ASSERT_GE(sentence.size(), 70u);
  const std::string seventy = sentence.substr(0, 70);
  const std::string out = gps_sentence_records({kEm38, 0}, seventy, 9999, kGpsForwarded, 12);
  ASSERT_EQ(out.size(), 4u * 27);
  EXPECT_EQ(out.substr(0, 27), "@" + seventy.substr(0, 25) + "\n");
  EXPECT_EQ(out.substr(27, 27), "#" + seventy.substr(25, 25) + "\n");
  EXPECT_EQ(out.substr(54, 27), "#" + seventy.substr(50, 20) + "     \n");
  EXPECT_EQ(out.substr(81, 27), "!000012p              9999\n");
}

TEST(GpsSentence, ShortSentenceIsOneRecordAndUnparsedMarkers) {
  const std::string out = gps_sentence_records({kEm31Mk2, 1}, "GARBAGE LINE", 5, kGpsUnparsed, 1);
  EXPECT_EQ(out, rec("?GARBAGE LINE", 24) + "!000001" + std::string(15, ' ') + "5\n");
  const std::string exact = gps_sentence_records({kEm31Mk2, 1}, std::string(22, 'x'), 5, kGpsAccepted, 2);
  EXPECT_EQ(exact.substr(0, 24), "@" + std::string(22, 'x') + "\n");
  EXPECT_EQ(exact.size(), 48u);
  const std::string longer = gps_sentence_records({kEm31Mk2, 1}, std::string(23, 'x'), 5, kGpsUnparsed, 3);
  EXPECT_EQ(longer.substr(24, 24), "\"x" + std::string(21, ' ') + "\n");
}

TEST(Tilt, ZeroBytesAfterTick) {
  const std::string r = tilt_record({kEm61Mk2, 0}, 1.5, -80.0, 31337);
  ASSERT_EQ(r.size(), 27u);
  EXPECT_EQ(r.substr(0, 23), "~-07500+00150     31337");
  EXPECT_EQ(r.substr(23, 3), std::string(3, '\0'));
  EXPECT_EQ(r[26], '\n');
  EXPECT_EQ(tilt_record({kEm31Mk2, 1}, 0.125, 0.0, 1).size(), 24u);
}

TEST(Swath, StartAndGroups) {
  EXPECT_EQ(swath_start_record({kEm38, 0}), rec("{0         0.000"));
  const std::string g = swath_group_records({kEm38, 0}, 1, {612345.5, 4812345.25, -1.0, 2.0});
  ASSERT_EQ(g.size(), 4u * 27);
  EXPECT_EQ(g.substr(0, 27), rec("{e    612345.500"));
  EXPECT_EQ(g.substr(27, 2), "{f");
  EXPECT_EQ(g.substr(81, 27), rec("{h         2.000"));
}

TEST(Swath, ClosedByRemarksOfAnOutageAndByPauses) {
  const Variant v{kEm38, 0};
  const struct {
    std::string_view text;
    char tag;
    bool closes;
  } cases[] = {
      {"PAUSED", 'X', true},      {"PAUSED BMP", 'X', true},   {"GPS CONN BRK", 'X', true},
      {"1CONN BRK 1", 'X', true}, {"1CONN RCN 1", 'X', false}, {"$STARTED", 'X', false},
      {"$CONN END", 'X', false},  {"PAUSED", 'C', false},      {"1CONN BRK 1", 'C', false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(swath_closing_record(remark_record(v, c.tag, c.text, 7)), c.closes) << c.tag << c.text;
  EXPECT_TRUE(swath_closing_record(station_record(v, 12.5, {})));
  EXPECT_FALSE(swath_closing_record(swath_start_record(v)));
  EXPECT_FALSE(swath_closing_record(""));
}

TEST(EveryRecord, IsExactlyLBytesEndingInLineFeed) {
  const std::string huge(300, 'Z');
  for (const Variant& v : kAllVariants) {
    const std::size_t length = static_cast<std::size_t>(record_length(v));
    LineBlockFields line;
    line.line_name = huge;
    line.file_name = huge;
    line.start_station = 1e12;
    line.station_increment = -1e12;
    std::vector<std::string> records = line_block_records(v, line, noon());
    records.push_back(time_mark_record(v, noon(), 1));
    records.push_back(station_record(v, -1e15, noon()));
    records.push_back(remark_record(v, 'C', std::string_view(huge), 1));
    records.push_back(reading_record(v, {huge, 1, 6}));
    records.push_back(reading_record(v, {"", 1}));
    records.push_back(tilt_record(v, 1e9, -1e9, 1));
    records.push_back(swath_start_record(v));
    for (const std::string& r : records) {
      ASSERT_EQ(r.size(), length) << v.instrument_type << " " << r;
      EXPECT_EQ(r.back(), '\n');
    }
    const std::string gps = gps_sentence_records(v, huge.substr(0, 200), 1, kGpsAccepted, 999999);
    EXPECT_EQ(gps.size() % length, 0u);
    const std::string swath = swath_group_records(v, 2, {1e20, -1e20, 0, 0});
    EXPECT_EQ(swath.size(), 4 * length);
  }
}

}  // namespace
}  // namespace quelor

#include "datafile/header_records.h"

namespace quelor {
namespace {

TEST(FileName, FifteenCharactersOverHAndEveryL) {
  const Variant v{kEm61Mk2, 0};
  HeaderFields h;
  h.file_name = "ABCDEFGHIJKLMNO";
  LineBlockFields line;
  line.file_name = h.file_name;
  line.line_name = "7";
  EXPECT_EQ(setup_record_h(v, h).substr(0, 11), "HABCDEFGHIJ");
  for (int n = 0; n < 3; ++n) {
    const std::string l = line_block_records(v, line, {})[0];
    EXPECT_EQ(l.substr(0, 13), "L7           ");
    EXPECT_EQ(l.substr(13, 10), "KLMNO     ");
  }
  h.file_name = "250307_002";
  line.file_name = h.file_name;
  EXPECT_EQ(line_block_records(v, line, {})[0].substr(13, 10), std::string(10, ' '));
  // A name with characters beyond 8-bit printable text stays inside the record.
  h.file_name = "Caf\xE9\n";
  EXPECT_EQ(setup_record_h(v, h).substr(0, 11), "HCaf??     ");
}

}  // namespace
}  // namespace quelor
