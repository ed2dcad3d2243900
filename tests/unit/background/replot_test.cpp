#include "background/replot.h"
#include "reading/reading_meaning.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "background/survey_file.h"
#include "datafile/naming.h"
#include "map/raster_tiles.h"

namespace quelor {
namespace {

constexpr int L = 27;

std::string rec(std::string body) {
  body.resize(L - 1, ' ');
  return body + "\n";
}

std::string corner(char letter, double v) {
  char text[32];
  std::snprintf(text, sizeof text, "{%c%14.3f", letter, v);
  return rec(text);
}

std::string bar(char first, double el, double nl, double er, double nr) {
  return corner(first, el) + corner(static_cast<char>(first + 1), nl) + corner(static_cast<char>(first + 2), er) +
         corner(static_cast<char>(first + 3), nr);
}

// Conductivity c as the EM31-MK2 sends it (vertical dipole, range 1000).
std::string reading(int c) {
  char text[32];
  std::snprintf(text, sizeof text, "T %+05d+0000", -4 * c);
  return rec(text);
}

struct Replotted {
  ReplotCounts counts;
  RasterTiles tiles{40, 40};
};

Replotted replot(const std::string& file, int view) {
  Replotted r;
  const MapState map = make_map_state(40, 40, 4, GridSpec{kGridSquare, 0.0, 0.0}, 6);  // 10 px a unit
  ReplotStyle style;
  style.decode.instrument_type = kEm31Mk2;
  style.decode.mapped_view = view;
  style.position_size = 0;
  BytesReader reader(file);
  r.counts = replot_survey(reader, L, style, map, r.tiles);
  return r;
}

TEST(Replot, SwathsOpenCloseAndCount) {
  std::string f = rec("ZLK31   W230GPS00000 1") + rec("X$STARTED") + reading(400) + rec("{0         0.000");
  f += reading(100) + reading(200) + bar('a', 0.5, 0.5, 0.5, -0.5) + bar('a', 1.5, 0.5, 1.5, -0.5);
  f += reading(300) + bar('a', 2.5, 0.5, 2.5, -0.5);  // one reading: q = 0
  f += bar('a', 3.5, 0.5, 3.5, -0.5);                 // no reading: white
  f += rec("XPAUSED") + reading(450) + rec("X$STARTED") + rec("{0         0.000");
  f += reading(480) + bar('a', 5.5, 0.5, 5.5, -0.5) + bar('a', 6.5, 0.5, 6.5, -0.5);
  f += rec("S       2.00") + reading(10) + bar('a', 7.5, 0.5, 7.5, -0.5) + bar('a', 8.5, 0.5, 8.5, -0.5);
  f += "{a   trailing";  // a short last record ends the file
  Replotted r = replot(f, 1);
  EXPECT_EQ(r.counts.swaths, 2);
  EXPECT_EQ(r.counts.bars, 3);      // the strips with readings
  EXPECT_EQ(r.counts.readings, 4);  // 100, 200 | 300 | 480; not 400, 450 or 10 (outside a swath)
  EXPECT_EQ(r.counts.outside, 0);
  const Raster image = compose_range(r.tiles, r.tiles.touched());
  const TileRange t = r.tiles.touched();
  const auto at = [&](int px, int py) {
    return image.at(px - ((t.min_column - 1001) * 40 + 1), (t.max_row - 1000) * 40 + 39 - py);
  };
  EXPECT_EQ(at(7, 0), class_pen_colour(10));
  EXPECT_EQ(at(13, 0), class_pen_colour(20));
  EXPECT_EQ(at(20, 0), class_pen_colour(30));
  EXPECT_EQ(at(30, 0), kWhite);
  EXPECT_EQ(at(60, 0), class_pen_colour(48));
  EXPECT_EQ(at(80, 0), kWhite);

  Replotted dots = replot(f, 0);
  EXPECT_EQ(dots.counts.bars, 8);  // every corner group marks its position
  EXPECT_EQ(dots.counts.readings, 0);
}

TEST(Replot, SwathLettersAndKinds) {
  EXPECT_EQ(swath_letter_index("{0         0.000"), -1);
  EXPECT_EQ(swath_letter_index("{a    691606.500"), 0);
  EXPECT_EQ(swath_letter_index("{h    691606.500"), 7);
  EXPECT_EQ(swath_letter_index("{l    691606.500"), 11);
  EXPECT_EQ(swath_letter_index("{m    691606.500"), -2);
  EXPECT_EQ(swath_letter_index("T 1234"), -2);
}

TEST(SurveyFile, VariantsOfProgramCodes) {
  struct Case {
    const char* code;
    int type, line;
  };
  for (const Case& c :
       {Case{"ZLK31   W", kEm31Mk2, 0}, Case{"zLK31   W", kEm31Mk2, 0}, Case{"QYN31   W", kEm31Mk2, 1},
        Case{"ZLK38   W", kEm38, 0}, Case{"ZLK343  W", kEm34_3, 0}, Case{"ZLK38MK2W", kEm38Mk2, 0},
        Case{"QYN382  W", kEm38Mk2, 1}, Case{"ZLK384  W", kEm38_4, 0}, Case{"ZLKCS21 W", kCs21, 0},
        Case{"ZLK601 AW", kGrad601, 0}, Case{"ZLKLX2N W", kEm61Lx2, 0}, Case{"QYNMK2H W", kEm61Mk2, 1}}) {
    const auto v = variant_of_program_code(c.code);
    ASSERT_TRUE(v) << c.code;
    EXPECT_EQ(v->instrument_type, c.type) << c.code;
    EXPECT_EQ(v->navigation_mode, c.line) << c.code;
  }
  EXPECT_FALSE(variant_of_program_code("EM61    W"));
  EXPECT_FALSE(read_survey_file_info("no line feed here at all"));
}

TEST(SurveyFile, OriginIsTheFirstValidFixInTheFilesZone) {
  // An invalid fix (quality 0) first, then a valid one split over '@' and '#' records.
  const std::string invalid = "$GPGGA,080000.00,4800.000000,N,01100.000000,E,0,00,0.0,0.0,M,0.0,M,,*";
  const std::string valid = "$GPGGA,080001.00,4800.000000,N,01100.000000,E,4,12,0.8,500.0,M,46.9,M,1.0,0000";
  const auto checksummed = [](std::string s) {
    int cs = 0;
    for (char c : s.substr(1)) cs ^= static_cast<unsigned char>(c);
    char t[4];
    std::snprintf(t, sizeof t, "*%02X", cs);
    return s + t;
  };
  const auto pieces = [](const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); i += L - 2) out += rec((i ? "#" : "@") + s.substr(i, L - 2));
    return out;
  };
  std::string f = rec("ZLK31   W230GPS00000 1") + rec("H") + rec("G  0.000  0.000 70011");
  f += rec("G    649187.875 31") + rec("G    5318235.614");  // zone 31 recorded in the file
  f += pieces(invalid.substr(0, invalid.size() - 1) + "*00") + pieces(checksummed(valid));
  const auto info = read_survey_file_info(f);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->record_length, L);
  EXPECT_EQ(info->zone, 31);
  EXPECT_EQ(info->gps_sentence, 1);
  const auto origin = first_gps_position(f, *info);
  ASSERT_TRUE(origin);
  EXPECT_EQ(origin->zone, 31);  // 11 degrees east lies in zone 32, mapped in the file's zone
  EXPECT_GT(origin->easting, 1000000.0 - 300000.0);
  SurveyFileInfo feet = *info;
  feet.map_units = 1;
  EXPECT_NEAR(first_gps_position(f, feet)->easting, origin->easting / 0.3048, 1e-6);
}

}  // namespace
}  // namespace quelor

#include <random>

namespace quelor {
namespace {

// Records of every instrument family with random bytes: an entry, when there
// is one, always packs classes 0..49 and a kind 0..2.
TEST(ReadingMeaning, RandomRecordsOfEveryInstrumentGiveValidEntries) {
  std::mt19937 random(10);
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2})
    for (int view = 0; view <= 8; ++view)
      for (bool two : {false, true}) {
        DecodeContext r;
        r.instrument_type = type;
        r.mapped_view = view;
        r.two_sensors = two && (type == kGrad601 || type == kEm61Lx2);
        r.manual_em34 = type == kEm34_3;
        for (int i = 0; i < 200; ++i) {
          std::string record(static_cast<std::size_t>(random() % 70), ' ');
          for (char& c : record) c = static_cast<char>(random() % 256);
          if (!record.empty() && (i & 1)) record[0] = 'T';
          if (!is_reading_record(type, record)) continue;
          const ReadingMeaning m = interpret_reading(r, record);
          if (!m.entry) continue;
          EXPECT_GE(*m.entry, 0);
          EXPECT_LE(*m.entry, two_value_entries(r) ? 49 * 64 + 49 : 49);
          EXPECT_GE(m.kind, 0);
          EXPECT_LE(m.kind, 2);
          EXPECT_GE(view, 1);  // the positions view maps no readings
        }
      }
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

// More records than one read of the file holds: the whole records on both
// sides of every read are replotted once, a cut last record is not.
TEST(Replot, ASurveyLongerThanOneReadIsReplottedWhole) {
  for (const int strips : {39, 40, 41, 90}) {
    std::string f = rec("ZLK31   W230GPS00000 1") + rec("{0         0.000") + bar('a', 0.5, 0.5, 0.5, -0.5);
    for (int s = 1; s <= strips; ++s) {
      for (int i = 0; i < 100; ++i) f += reading(100 + (s + i) % 300);
      f += bar('a', 0.5 + s, 0.5, 0.5 + s, -0.5);
    }
    f += "T +0";
    const Replotted r = replot(f, 1);
    EXPECT_EQ(r.counts.records, 2 + 4 * (strips + 1) + 100 * strips) << strips;
    EXPECT_EQ(r.counts.swaths, 1);
    EXPECT_EQ(r.counts.bars, strips) << strips;
    EXPECT_EQ(r.counts.readings, 100 * strips) << strips;
  }
}

}  // namespace
}  // namespace quelor
