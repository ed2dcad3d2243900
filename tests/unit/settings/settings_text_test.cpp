#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "settings/instrument_defaults.h"
#include "settings/settings_lines.h"
#include "settings/settings_path.h"
#include "settings/value_text.h"
#include "test_support.h"

namespace quelor {
namespace {

// ---- golden default files -------------------------------------------------

std::string golden_path(const Variant& v) {
  const ProductNames& names = product_names(v);
  return std::string(QUELOR_SOURCE_DIR) + "/tests/golden/settings/" + std::string(names.settings_stem) + "_" +
         version_digits(names.version) + ".INI";
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// QUELOR_UPDATE_GOLDEN=1 rewrites the files from the writer (review them!).
TEST(SettingsGolden, DefaultFilesOfAllVariantsAreByteExact) {
  const bool update = std::getenv("QUELOR_UPDATE_GOLDEN") != nullptr;
  for (const Variant& v : all_variants()) {
    const std::string text = settings_file_text(initial_settings(v), v);
    if (update) std::ofstream(golden_path(v), std::ios::binary) << text;
    EXPECT_EQ(text, read_bytes(golden_path(v))) << golden_path(v);
  }
}

struct LineCount {
  InstrumentType instrument_type;
  int value_lines;
};

TEST(SettingsGolden, ValueLineCountsPerInstrument) {
  const LineCount counts[] = {{kEm31Mk2, 82}, {kEm38, 82},    {kEm34_3, 84},  {kEm38Mk2, 88}, {kEm61Mk2, 89},
                              {kEm61Lx2, 95}, {kGrad601, 63}, {kEm38_4, 153}, {kCs21, 153}};
  for (const LineCount& c : counts) {
    for (int nav : {0, 1}) {
      const Variant v{c.instrument_type, nav};
      const std::vector<std::string> lines = split_crlf(read_bytes(golden_path(v)));
      ASSERT_EQ(static_cast<int>(lines.size()), c.value_lines + 1) << variant_name(v);
      EXPECT_EQ(settings_line_count(v), c.value_lines) << variant_name(v);
      EXPECT_EQ(lines[0], settings_version_line(v));
    }
  }
}

// ---- specific lines of the default files ------------------------------------

struct LineCase {
  Variant variant;
  int line;  // 0: the version line; 1..: the value lines
  const char* expected;
};

const LineCase kLineCases[] = {
    // EM31-MK2, real-time map line
    {{kEm31Mk2, 0}, 0, "Ver2.30"},
    {{kEm31Mk2, 0}, 1, "C:\\"},
    {{kEm31Mk2, 0}, 2, "C:\\"},
    {{kEm31Mk2, 0}, 3, "1"},
    {{kEm31Mk2, 0}, 7, "3"},
    {{kEm31Mk2, 0}, 12, "1"},
    {{kEm31Mk2, 0}, 14, "3"},
    {{kEm31Mk2, 0}, 15, "2"},
    {{kEm31Mk2, 0}, 16, "3"},
    {{kEm31Mk2, 0}, 21, "2"},
    {{kEm31Mk2, 0}, 22, "16711680"},
    {{kEm31Mk2, 0}, 25, "16711935"},
    {{kEm31Mk2, 0}, 32, "500.000000"},
    {{kEm31Mk2, 0}, 33, "-25.000000"},
    {{kEm31Mk2, 1}, 32, "500.000000"},  // the delivered program keeps 0-500 and -25-25
    {{kEm31Mk2, 1}, 33, "-25.000000"},
    {{kEm38Mk2, 0}, 33, "0.000000"},
    {{kEm38Mk2, 0}, 34, "1500.000000"},
    {{kEm31Mk2, 0}, 37, "5"},
    {{kEm31Mk2, 0}, 42, "5.000000"},
    {{kEm31Mk2, 0}, 44, "-0.300000"},
    {{kEm31Mk2, 0}, 45, "0.000000"},
    {{kEm31Mk2, 0}, 49, "2"},           // swath option
    {{kEm31Mk2, 0}, 51, "0.200000"},    // Wheel station increment
    {{kEm31Mk2, 0}, 53, "0.200000"},    // reading interval
    {{kEm31Mk2, 0}, 54, "1"},           // survey line
    {{kEm31Mk2, 0}, 57, "2"},           // line direction North
    {{kEm31Mk2, 0}, 62, "16711680"},    // position colour
    {{kEm31Mk2, 0}, 64, "40"},          // map size
    {{kEm31Mk2, 0}, 66, "-20.000000"},  // lines angle
    {{kEm31Mk2, 0}, 71, "5"},           // minimum satellites
    {{kEm31Mk2, 0}, 73, "5.000000"},    // reserved value
    {{kEm31Mk2, 0}, 75, "1"},           // background display 1
    {{kEm31Mk2, 0}, 79, "2"},           // background display 5
    {{kEm31Mk2, 0}, 82, "0"},           // RTS units
    // the delivered variant
    {{kEm31Mk2, 1}, 0, "Ver2.20"},
    {{kEm31Mk2, 1}, 12, "0"},
    {{kEm31Mk2, 1}, 44, "-0.300000"},
    // EM38
    {{kEm38, 0}, 0, "Ver2.15"},
    {{kEm38, 0}, 44, "-0.300000"},
    {{kEm38, 0}, 49, "1"},
    // EM34-3: its colours and its two own lines
    {{kEm34_3, 0}, 14, "3"},
    {{kEm34_3, 0}, 19, "2"},
    {{kEm34_3, 0}, 20, "4"},
    {{kEm34_3, 0}, 22, "16711680"},
    {{kEm34_3, 0}, 23, "16776960"},
    {{kEm34_3, 0}, 24, "4227327"},
    {{kEm34_3, 0}, 25, "16711935"},
    {{kEm34_3, 0}, 28, "255"},
    {{kEm34_3, 0}, 44, "0.000000"},
    {{kEm34_3, 0}, 46, "0"},   // EM34-3 reference
    {{kEm34_3, 0}, 50, "10"},  // manual reading count
    {{kEm34_3, 0}, 51, "2"},   // swath option
    {{kEm34_3, 1}, 84, "0"},
    // EM38-MK2: colours and the calibration block
    {{kEm38Mk2, 0}, 17, "3"},
    {{kEm38Mk2, 0}, 23, "4227327"},
    {{kEm38Mk2, 0}, 24, "16711680"},
    {{kEm38Mk2, 0}, 25, "65280"},
    {{kEm38Mk2, 0}, 28, "255"},
    {{kEm38Mk2, 0}, 29, "4227327"},
    {{kEm38Mk2, 0}, 49, "1"},
    {{kEm38Mk2, 0}, 73, "5.000000"},
    {{kEm38Mk2, 0}, 74, "0.000000"},
    {{kEm38Mk2, 0}, 80, "0"},
    {{kEm38Mk2, 0}, 81, "1"},
    // EM61-MK2
    {{kEm61Mk2, 0}, 0, "Ver2.28"},
    {{kEm61Mk2, 0}, 12, "3"},
    {{kEm61Mk2, 1}, 12, "0"},
    {{kEm61Mk2, 0}, 17, "2"},
    {{kEm61Mk2, 0}, 21, "1"},
    {{kEm61Mk2, 0}, 31, "0.000000"},
    {{kEm61Mk2, 0}, 32, "2000.000000"},
    {{kEm61Mk2, 0}, 33, "1"},  // GPS enabled
    {{kEm61Mk2, 0}, 45, "5"},  // swath option
    {{kEm61Mk2, 0}, 49, "0.200000"},
    {{kEm61Mk2, 0}, 50, "1"},
    {{kEm61Mk2, 0}, 70, "0"},  // null values
    {{kEm61Mk2, 0}, 76, "1"},  // background display 1
    {{kEm61Mk2, 0}, 84, "0"},  // tilt meter off
    {{kEm61Mk2, 0}, 85, "6"},  // COM7
    {{kEm61Mk2, 0}, 86, "5"},
    {{kEm61Mk2, 0}, 87, "2"},
    {{kEm61Mk2, 0}, 88, "1.650000"},
    {{kEm61Mk2, 0}, 89, "1"},
    // EM61-LX2
    {{kEm61Lx2, 0}, 0, "Ver1.09"},
    {{kEm61Lx2, 0}, 3, "1"},  // two sensors
    {{kEm61Lx2, 0}, 13, "2"},
    {{kEm61Lx2, 0}, 46, "5"},
    {{kEm61Lx2, 0}, 83, "0"},  // alarm type
    {{kEm61Lx2, 0}, 84, "1"},  // audio indicator
    {{kEm61Lx2, 0}, 87, "100.000000"},
    {{kEm61Lx2, 0}, 88, "50.000000"},
    {{kEm61Lx2, 0}, 89, "1000.000000"},
    {{kEm61Lx2, 0}, 90, "0"},
    {{kEm61Lx2, 0}, 93, "1"},
    {{kEm61Lx2, 0}, 94, "310.000000"},
    {{kEm61Lx2, 0}, 95, "310.000000"},
    // Grad601
    {{kGrad601, 0}, 0, "Ver1.01"},
    {{kGrad601, 1}, 0, "Ver1.10"},
    {{kGrad601, 0}, 4, "1"},
    {{kGrad601, 0}, 5, "1"},
    {{kGrad601, 0}, 6, "1.000000"},
    {{kGrad601, 0}, 15, "1"},
    {{kGrad601, 0}, 16, "2"},
    {{kGrad601, 0}, 17, "3"},
    {{kGrad601, 0}, 18, "16711680"},
    {{kGrad601, 0}, 19, "65280"},
    {{kGrad601, 0}, 21, "2000.000000"},
    {{kGrad601, 0}, 22, "1"},
    {{kGrad601, 0}, 34, "1"},
    {{kGrad601, 0}, 35, "1.000000"},
    {{kGrad601, 0}, 36, "1"},
    {{kGrad601, 0}, 63, "1"},
    // EM38-4
    {{kEm38_4, 0}, 12, "1"},
    {{kEm38_4, 0}, 13, "1"},
    {{kEm38_4, 0}, 28, "1"},
    {{kEm38_4, 0}, 29, "1"},
    {{kEm38_4, 0}, 32, "4"},
    {{kEm38_4, 0}, 37, "2"},  // position 8: built-in width
    {{kEm38_4, 0}, 44, "1"},
    {{kEm38_4, 0}, 45, "16711680"},
    {{kEm38_4, 0}, 46, "16711935"},
    {{kEm38_4, 0}, 47, "16769024"},
    {{kEm38_4, 0}, 48, "1422645"},
    {{kEm38_4, 0}, 51, "41215"},
    {{kEm38_4, 0}, 52, "16711844"},
    {{kEm38_4, 0}, 60, "16711935"},
    {{kEm38_4, 0}, 61, "0"},
    {{kEm38_4, 0}, 65, "30.000000"},
    {{kEm38_4, 0}, 75, "-0.300000"},
    {{kEm38_4, 0}, 80, "10"},
    {{kEm38_4, 0}, 81, "2"},
    {{kEm38_4, 0}, 83, "1"},
    {{kEm38_4, 0}, 87, "0.200000"},
    {{kEm38_4, 0}, 108, "10.500000"},
    {{kEm38_4, 0}, 110, "2"},
    {{kEm38_4, 0}, 112, "0.300000"},
    {{kEm38_4, 0}, 133, "1"},
    {{kEm38_4, 0}, 136, "200.000000"},
    {{kEm38_4, 0}, 137, "-2.000000"},
    {{kEm38_4, 0}, 141, "0.400000"},
    {{kEm38_4, 0}, 142, "20.000000"},
    {{kEm38_4, 0}, 143, "100.000000"},
    {{kEm38_4, 0}, 149, "2"},
    {{kEm38_4, 0}, 153, "6"},
    {{kCs21, 1}, 0, "Ver1.00"},
    {{kCs21, 1}, 47, "16769024"},
    {{kCs21, 1}, 153, "6"},
};

TEST(SettingsLines, DefaultFilesHoldTheirValuesOnTheirLines) {
  for (const LineCase& c : kLineCases) {
    const std::vector<std::string> lines = split_crlf(read_bytes(golden_path(c.variant)));
    ASSERT_LT(c.line, static_cast<int>(lines.size())) << variant_name(c.variant);
    EXPECT_EQ(lines[static_cast<std::size_t>(c.line)], c.expected) << variant_name(c.variant) << " line " << c.line;
  }
}

TEST(SettingsLines, Grad601HasNoReadingIntervalLine) {
  Settings s = initial_settings({kGrad601, 0});
  s.reading_interval = 0.125;
  const std::string text = settings_values_text(s, {kGrad601, 0});
  EXPECT_EQ(text.find("0.125000"), std::string::npos);
  s.station_increments[1] = 0.375;  // only the Auto increment is kept
  EXPECT_EQ(settings_values_text(s, {kGrad601, 0}).find("0.375000"), std::string::npos);
}

TEST(SettingsLines, ColourMapViewWrittenAsZeroInNavigationLine) {
  for (const Variant& v : all_variants()) {
    Settings s = initial_settings(v);
    s.colour_map_view = 7;
    const std::vector<std::string> lines = split_crlf(settings_file_text(s, v));
    const int line = v.instrument_type == kGrad601 ? 15 : v.instrument_type == kEm61Lx2 ? 13 : 12;
    EXPECT_EQ(lines[static_cast<std::size_t>(line)], v.navigation_mode == kNavigation ? "0" : "7") << variant_name(v);
    EXPECT_EQ(s.colour_map_view, 7);  // the record itself is not changed
  }
}

TEST(SettingsLines, Em38Mk2WritesItsOwnModelField) {
  Settings s;
  s.instrument_model = 4;
  s.em38mk2_model = 1;
  s.em61_model = 3;
  EXPECT_EQ(split_crlf(settings_file_text(s, {kEm38Mk2, 0}))[13], "1");
  EXPECT_EQ(split_crlf(settings_file_text(s, {kEm38, 0}))[13], "4");
  EXPECT_EQ(split_crlf(settings_file_text(s, {kEm61Mk2, 0}))[13], "3");
  EXPECT_EQ(split_crlf(settings_file_text(s, {kEm61Lx2, 0}))[14], "3");
}

// ---- reading --------------------------------------------------------------

// Gives every field of the variant's file a value of its own, unlike any
// default, and returns the record.
Settings every_field_changed(const Variant& v) {
  Settings s = initial_settings(v);
  int k = 0;
  for (const SettingsLine& row : settings_lines(v.instrument_type)) {
    if (row.present != nullptr && !row.present(v)) continue;
    for (int i = row.first; i < row.first + row.count; ++i, ++k) {
      std::visit(
          [k](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int>)
              *value = 100 + k;
            else if constexpr (std::is_same_v<T, long>)
              *value = 100000L + k;
            else if constexpr (std::is_same_v<T, ColorRef>)
              *value = 0x102030u + static_cast<ColorRef>(k);
            else if constexpr (std::is_same_v<T, double>)
              *value = -1000.0 + k + 0.125;
            else if constexpr (std::is_same_v<T, std::wstring>)
              *value = L"D:\\Survey " + std::to_wstring(k) + L"\\";
            else
              *value = "Line " + std::to_string(k);
          },
          row.field(s, i));
    }
  }
  return s;
}

TEST(SettingsRead, EveryFieldRoundTripsPerFamily) {
  for (const Variant& v : all_variants()) {
    const Settings written = every_field_changed(v);
    Settings read = initial_settings(v);
    const std::string text = settings_values_text(written, v);
    EXPECT_EQ(read_settings_text(text, read, v), settings_line_count(v)) << variant_name(v);
    Settings expected = written;
    if (v.navigation_mode == kNavigation) expected.colour_map_view = 0;
    EXPECT_TRUE(read == expected) << variant_name(v);
    EXPECT_NE(read, initial_settings(v)) << variant_name(v);
  }
}

TEST(SettingsRead, HandWrittenEm31FileLandsInItsFields) {
  // 82 value lines of an EM31-MK2 file written by an operator's editor
  std::string text;
  for (int line = 1; line <= 82; ++line) text += std::to_string(line) + "\r\n";
  Settings s;
  read_settings_text(text, s, {kEm31Mk2, 0});
  EXPECT_EQ(s.data_folder, L"1");
  EXPECT_EQ(s.instrument_port, 7);
  EXPECT_EQ(s.colour_map_view, 12);
  EXPECT_EQ(s.instrument_model, 13);
  EXPECT_EQ(s.trace_widths[7], 21);
  EXPECT_EQ(s.trace_colours[0], 22u);
  EXPECT_EQ(s.profile_scale_2[1], 34.0);
  EXPECT_EQ(s.gps_y_offset, 45.0);
  EXPECT_EQ(s.survey_mode, 46);
  EXPECT_EQ(s.em34_3_reference, 0);  // not in this instrument's file
  EXPECT_EQ(s.manual_reading_count, 10);
  EXPECT_EQ(s.swath_option, 49);
  EXPECT_EQ(s.reading_interval, 53.0);
  EXPECT_EQ(s.survey_line, "54");
  EXPECT_EQ(s.map.cursor_size, 59);
  EXPECT_EQ(s.map.map_size, 64);
  EXPECT_EQ(s.map.cursor_band_index, 67);
  EXPECT_EQ(s.gps_warning_mask.threshold, 72.0);
  EXPECT_EQ(s.reserved_value, 73.0);
  EXPECT_EQ(s.background_display[0], 74);
  EXPECT_EQ(s.background_display[6], 80);
  EXPECT_EQ(s.rts_units, 82);
}

TEST(SettingsRead, LaterDuplicateLineWins) {
  Settings written = initial_settings({kEm38_4, 0});
  std::vector<std::string> lines = split_crlf(settings_values_text(written, {kEm38_4, 0}));
  lines[81] = "3";   // value line 82: the rate
  lines[110] = "5";  // value line 111: the rate again
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  Settings read;
  read_settings_text(text, read, {kEm38_4, 0});
  EXPECT_EQ(read.em38_4_rate, 5);

  lines = split_crlf(settings_values_text(initial_settings({kGrad601, 0}), {kGrad601, 0}));
  lines[4] = "4";   // swath option
  lines[33] = "6";  // swath option again
  text.clear();
  for (const std::string& line : lines) text += line + "\r\n";
  read_settings_text(text, read, {kGrad601, 0});
  EXPECT_EQ(read.swath_option, 6);
}

TEST(SettingsRead, TruncatedFileKeepsCurrentValues) {
  const Variant v{kEm31Mk2, 1};
  const Settings written = every_field_changed(v);
  const std::vector<std::string> lines = split_crlf(settings_values_text(written, v));
  std::string text;
  for (int i = 0; i < 43; ++i) text += lines[static_cast<std::size_t>(i)] + "\r\n";
  text += "-12.5";  // line 44 cut while being written
  const Settings current = initial_settings(v);
  Settings read = current;
  EXPECT_EQ(read_settings_text(text, read, v), 43);
  EXPECT_EQ(read.geometry_units, written.geometry_units);  // line 43
  EXPECT_EQ(read.gps_x_offset, current.gps_x_offset);      // line 44 cut
  EXPECT_EQ(read.gps_y_offset, current.gps_y_offset);
  EXPECT_EQ(read.survey_line, current.survey_line);
  EXPECT_EQ(read.rts_units, current.rts_units);
  EXPECT_EQ(read.map, current.map);
}

TEST(SettingsRead, EmptyTextChangesNothingButTheColourMapRule) {
  const Variant v{kEm61Mk2, 0};
  Settings s = initial_settings(v);
  EXPECT_EQ(read_settings_text("", s, v), 0);
  EXPECT_EQ(s, initial_settings(v));
}

TEST(SettingsRead, GarbledNumbersReadAsAtoiDoes) {
  const Variant v{kEm31Mk2, 0};
  std::vector<std::string> lines = split_crlf(settings_values_text(initial_settings(v), v));
  lines[6] = "12abc";     // instrument port
  lines[7] = "abc";       // audio ticks
  lines[10] = " 3.7";     // pause key
  lines[43] = "1.5xyz";   // GPS X offset
  lines[44] = "";         // GPS Y offset
  lines[63] = "77m";      // map size
  lines[21] = "garbage";  // first trace colour
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  Settings s = initial_settings(v);
  read_settings_text(text, s, v);
  EXPECT_EQ(s.instrument_port, 12);
  EXPECT_EQ(s.audio_ticks, 0);
  EXPECT_EQ(s.pause_key, 3);
  EXPECT_EQ(s.gps_x_offset, 1.5);
  EXPECT_EQ(s.gps_y_offset, 0.0);
  EXPECT_EQ(s.map.map_size, 77);
  EXPECT_EQ(s.trace_colours[0], 0u);
}

TEST(SettingsRead, ColourMapViewZeroWhenDisabledOrNavigation) {
  const Variant real_time{kEm38, 0};
  Settings s = initial_settings(real_time);
  s.colour_map_view = 2;
  Settings read = initial_settings(real_time);
  read_settings_text(settings_values_text(s, real_time), read, real_time);
  EXPECT_EQ(read.colour_map_view, 2);
  s.instrument_state = 0;
  read_settings_text(settings_values_text(s, real_time), read, real_time);
  EXPECT_EQ(read.colour_map_view, 0);

  const Variant navigation{kEm38, 1};
  std::vector<std::string> lines = split_crlf(settings_values_text(initial_settings(navigation), navigation));
  lines[11] = "2";  // a colour map view edited into a navigation-line file
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  read = initial_settings(navigation);
  read_settings_text(text, read, navigation);
  EXPECT_EQ(read.colour_map_view, 0);
}

TEST(SettingsRead, LongSurveyLineIsCutTo15) {
  const Variant v{kEm31Mk2, 1};
  Settings s = initial_settings(v);
  s.survey_line = "ABCDEFGHIJKLMNOPQRST";  // 20 characters
  const std::vector<std::string> lines = split_crlf(settings_values_text(s, v));
  EXPECT_EQ(lines[53], "ABCDEFGHIJKLMNO");

  std::vector<std::string> edited = lines;
  edited[53] = "12345678901234567890";
  std::string text;
  for (const std::string& line : edited) text += line + "\r\n";
  Settings read = initial_settings(v);
  read_settings_text(text, read, v);
  EXPECT_EQ(read.survey_line, "123456789012345");
  EXPECT_EQ(read.line_increment, 1.0);  // the next line is still in place
}

TEST(SettingsRead, LongFolderIsCutTo263) {
  const Variant v{kGrad601, 0};
  Settings s = initial_settings(v);
  s.data_folder = L"C:\\" + std::wstring(400, L'a');
  const std::vector<std::string> lines = split_crlf(settings_values_text(s, v));
  EXPECT_EQ(lines[0].size(), kMaxFolderLength);
  std::vector<std::string> edited = lines;
  edited[1] = std::string(300, 'b');
  std::string text;
  for (const std::string& line : edited) text += line + "\r\n";
  Settings read;
  read_settings_text(text, read, v);
  EXPECT_EQ(read.data_folder.size(), kMaxFolderLength);
  EXPECT_EQ(read.background_folder, std::wstring(kMaxFolderLength, L'b'));
  EXPECT_EQ(read.instrument_state, 1);
}

TEST(SettingsRead, FolderBytesWidenAndNarrowBack) {
  const Variant v{kEm61Lx2, 1};
  Settings s = initial_settings(v);
  s.data_folder = std::wstring(L"D:\\Donn") + wchar_t(0xE9) + L"es\\";
  Settings read;
  read_settings_text(settings_values_text(s, v), read, v);
  EXPECT_EQ(read.data_folder, s.data_folder);
}

// A damaged file's "inf" or "nan" leaves the value in force; the next
// lines stay in place.
TEST(SettingsText, NonFiniteNumbersKeepTheValueInForce) {
  const Variant v{kEm38, kNavigation};
  for (const char* bad : {"inf", "-inf", "nan", "1e999"}) {
    Settings written = initial_settings(v);
    written.line_increment = 7.125;
    written.start_station = 3.5;
    std::string text = settings_values_text(written, v);
    const std::size_t at = text.find("7.125000");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 8, bad);
    Settings read = initial_settings(v);
    read_settings_text(text, read, v);
    EXPECT_EQ(read.line_increment, initial_settings(v).line_increment) << bad;
    EXPECT_EQ(read.start_station, 3.5) << bad;
  }
}

// The reading interval of every family: a subnormal or non-finite one reads
// as the 1 s the Survey Setup would store for it; any other as written.
TEST(SettingsText, SubnormalAndNonFiniteIntervalsReadAsTheDialogStoresThem) {
  const struct {
    const char* line;
    double interval;
  } cases[] = {{"1e-310", 1.0}, {"4.9e-324", 1.0}, {"-1e-310", 1.0},
               {"inf", 1.0},    {"-inf", 1.0},     {"nan", 1.0},
               {"1e999", 1.0},  {"0.5", 0.5},      {"2.2250738585072014e-308", 2.2250738585072014e-308},
               {"0", 0.0},      {"-2", -2.0},      {"1e300", 1e300}};
  // Every family's file holds the interval but the Grad601's.
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kEm61Lx2, kEm61Mk2})
    for (const auto& c : cases) {
      const Variant v{type, kNavigation};
      Settings written = initial_settings(v);
      written.reading_interval = 0.123456;
      written.line_increment = 7.125;
      std::string text = settings_values_text(written, v);
      const std::size_t at = text.find("0.123456");
      ASSERT_NE(at, std::string::npos) << type;
      text.replace(at, 8, c.line);
      Settings read = initial_settings(v);
      read.reading_interval = 0.75;  // the value in force does not matter
      read_settings_text(text, read, v);
      EXPECT_EQ(read.reading_interval, c.interval) << type << " " << c.line;
      EXPECT_EQ(read.line_increment, 7.125) << type << " " << c.line;
    }
}

}  // namespace
}  // namespace quelor
