// Settings files are outside bytes: an operator's editor, a damaged disk or a
// file of another program may put anything in them.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "memory_file_system.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_file.h"
#include "settings/settings_lines.h"
#include "settings/settings_path.h"
#include "settings/settings_text.h"
#include "test_support.h"

namespace quelor {
namespace {

std::string random_text(std::mt19937& random, std::size_t length) {
  static const std::string alphabet = "0123456789-+.eE \r\n\r\nabcC:\\\x7F\xE9";
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    if (random() % 50 == 0)
      text += static_cast<char>(random() % 256);
    else
      text += alphabet[random() % alphabet.size()];
  }
  return text;
}

void expect_within_format(const Settings& s, const Variant& v) {
  EXPECT_LE(s.survey_line.size(), kMaxSurveyLineLength);
  EXPECT_LE(s.data_folder.size(), kMaxFolderLength);
  EXPECT_LE(s.background_folder.size(), kMaxFolderLength);
  if (v.navigation_mode == kNavigation || s.instrument_state == 0) {
    EXPECT_EQ(s.colour_map_view, 0);
  }
}

TEST(SettingsFuzz, RandomValueTextNeverBreaksTheReader) {
  std::mt19937 random(1303);
  for (int round = 0; round < 300; ++round) {
    const std::string text = random_text(random, random() % 4000);
    for (const Variant& v : all_variants()) {
      Settings s = initial_settings(v);
      const int lines = read_settings_text(text, s, v);
      EXPECT_GE(lines, 0);
      EXPECT_LE(lines, settings_line_count(v));
      expect_within_format(s, v);
    }
  }
}

TEST(SettingsFuzz, DamagedFilesLoadAndStayWellFormed) {
  std::mt19937 random(4711);
  for (int round = 0; round < 200; ++round) {
    for (const Variant& v : all_variants()) {
      MemoryFileSystem fs;
      fs.create_directory(settings_root_folder());
      fs.create_directory(settings_folder_path(v));
      Settings good = initial_settings(v);
      std::string text = settings_file_text(good, v);
      // flip, drop or insert a few bytes after the version line
      for (int k = 0; k < 4; ++k) {
        const std::size_t at = 9 + random() % (text.size() - 9);
        switch (random() % 3) {
          case 0: text[at] = static_cast<char>(random() % 256); break;
          case 1: text.erase(at, 1 + random() % 20); break;
          default: text.insert(at, random_text(random, 1 + random() % 30)); break;
        }
      }
      fs.files[settings_file_path(v)] = text;
      Settings s = initial_settings(v);
      EXPECT_EQ(settings_file_operation(kLoadSettings, s, v, fs), 1);
      expect_within_format(s, v);
      // what was read is saved and read back unchanged
      ASSERT_EQ(settings_file_operation(kSaveSettings, s, v, fs), 1);
      Settings again = initial_settings(v);
      settings_file_operation(kLoadSettings, again, v, fs);
      EXPECT_EQ(settings_file_text(again, v), settings_file_text(s, v)) << variant_name(v);
    }
  }
}

}  // namespace
}  // namespace quelor
