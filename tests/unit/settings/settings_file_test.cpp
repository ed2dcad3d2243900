#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_path.h"
#include "settings/settings_text.h"
#include "test_support.h"

namespace quelor {
namespace {

const Variant kZelko31{kEm31Mk2, kRealTimeMap};

TEST(SettingsFile, FirstStartWritesDefaultFileAndCreatesFolders) {
  for (const Variant& v : all_variants()) {
    MemoryFileSystem fs;
    Settings s = initial_settings(v);
    EXPECT_EQ(settings_file_operation(kLoadSettings, s, v, fs), 1) << variant_name(v);
    EXPECT_EQ(s, initial_settings(v));
    ASSERT_TRUE(fs.file_exists(settings_file_path(v))) << variant_name(v);
    EXPECT_EQ(fs.files[settings_file_path(v)], settings_file_text(initial_settings(v), v));
    EXPECT_TRUE(fs.folders.count(L"C:\\ProgramData\\Quelor"));
    EXPECT_TRUE(fs.folders.count(settings_folder_path(v)));
  }
  MemoryFileSystem fs;
  Settings s = initial_settings(kZelko31);
  settings_file_operation(kLoadSettings, s, kZelko31, fs);
  const std::vector<std::string> lines =
      split_crlf(fs.files[L"C:\\ProgramData\\Quelor\\Zelko31MK2\\Zelko31MK2_230.INI"]);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Ver2.30");
  EXPECT_EQ(lines[1], "C:\\");
}

TEST(SettingsFile, LoadReadsFileOfThisVersion) {
  MemoryFileSystem fs;
  Settings saved = initial_settings(kZelko31);
  saved.instrument_port = 8;
  saved.survey_line = "North 7";
  saved.gps_x_offset = -0.45;
  ASSERT_EQ(settings_file_operation(kSaveSettings, saved, kZelko31, fs), 1);

  Settings loaded = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kLoadSettings, loaded, kZelko31, fs), 1);
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(fs.writes, 1);  // loading writes nothing
}

TEST(SettingsFile, SaveRewritesWholeFile) {
  MemoryFileSystem fs;
  const std::wstring path = settings_file_path(kZelko31);
  fs.create_directory(settings_root_folder());
  fs.create_directory(settings_folder_path(kZelko31));
  fs.files[path] = std::string(5000, 'x');
  Settings s = initial_settings(kZelko31);
  s.map.map_size = 120;
  EXPECT_EQ(settings_file_operation(kSaveSettings, s, kZelko31, fs), 1);
  EXPECT_EQ(fs.files[path], settings_file_text(s, kZelko31));
}

TEST(SettingsFile, OtherVersionIsReplacedByCurrentValues) {
  MemoryFileSystem fs;
  Settings old = initial_settings(kZelko31);
  old.instrument_port = 11;
  settings_file_operation(kSaveSettings, old, kZelko31, fs);
  const std::wstring path = settings_file_path(kZelko31);
  std::string& text = fs.files[path];
  text.replace(0, 7, "Ver2.29");

  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kLoadSettings, s, kZelko31, fs), 1);
  EXPECT_EQ(s, initial_settings(kZelko31));
  EXPECT_EQ(fs.files[path], settings_file_text(initial_settings(kZelko31), kZelko31));
  EXPECT_EQ(fs.deletes, 1);
}

TEST(SettingsFile, DamagedOrEmptyFileIsReplaced) {
  for (const std::string& damaged : {std::string(), std::string("Ver2.30"), std::string("Ver2.30 \r\n1\r\n"),
                                     std::string("\r\nVer2.30\r\n"), std::string("ver2.30\r\n")}) {
    MemoryFileSystem fs;
    fs.create_directory(settings_root_folder());
    fs.create_directory(settings_folder_path(kZelko31));
    fs.files[settings_file_path(kZelko31)] = damaged;
    Settings s = initial_settings(kZelko31);
    s.pause_key = 2;
    EXPECT_EQ(settings_file_operation(kLoadSettings, s, kZelko31, fs), 1);
    EXPECT_EQ(s.pause_key, 2);
    EXPECT_EQ(fs.files[settings_file_path(kZelko31)], settings_file_text(s, kZelko31)) << '"' << damaged << '"';
  }
}

TEST(SettingsFile, VersionLineWithBareLfIsAccepted) {
  MemoryFileSystem fs;
  fs.create_directory(settings_root_folder());
  fs.create_directory(settings_folder_path(kZelko31));
  Settings saved = initial_settings(kZelko31);
  saved.audio_ticks = 0;
  std::string text = settings_file_text(saved, kZelko31);
  std::erase(text, '\r');
  fs.files[settings_file_path(kZelko31)] = text;
  Settings s = initial_settings(kZelko31);
  settings_file_operation(kLoadSettings, s, kZelko31, fs);
  EXPECT_EQ(s, saved);
}

TEST(SettingsFile, DeleteOnExistingFileOnlyDeletes) {
  MemoryFileSystem fs;
  Settings s = initial_settings(kZelko31);
  s.gps_port = 9;
  settings_file_operation(kSaveSettings, s, kZelko31, fs);
  const int writes = fs.writes;
  Settings current = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kDeleteSettings, current, kZelko31, fs), 1);
  EXPECT_FALSE(fs.file_exists(settings_file_path(kZelko31)));
  EXPECT_EQ(fs.writes, writes);
  EXPECT_EQ(current, initial_settings(kZelko31));  // nothing read
}

TEST(SettingsFile, DeleteOnMissingFileCreatesDefaultFile) {
  MemoryFileSystem fs;
  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kDeleteSettings, s, kZelko31, fs), 1);
  ASSERT_TRUE(fs.file_exists(settings_file_path(kZelko31)));
  EXPECT_EQ(fs.files[settings_file_path(kZelko31)], settings_file_text(initial_settings(kZelko31), kZelko31));
}

TEST(SettingsFile, DeleteOnOtherVersionDeletesOnly) {
  MemoryFileSystem fs;
  fs.create_directory(settings_root_folder());
  fs.create_directory(settings_folder_path(kZelko31));
  fs.files[settings_file_path(kZelko31)] = "Ver1.00\r\n";
  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kDeleteSettings, s, kZelko31, fs), 1);
  EXPECT_FALSE(fs.file_exists(settings_file_path(kZelko31)));
}

TEST(SettingsFile, TruncatedFileKeepsCurrentValues) {
  MemoryFileSystem fs;
  Settings saved = initial_settings(kZelko31);
  saved.instrument_state = 0;
  saved.rts_units = 3;
  saved.background_display[6] = 9;
  settings_file_operation(kSaveSettings, saved, kZelko31, fs);
  std::string& text = fs.files[settings_file_path(kZelko31)];
  text.resize(text.size() / 2);

  Settings current = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kLoadSettings, current, kZelko31, fs), 1);
  EXPECT_EQ(current.instrument_state, 0);
  EXPECT_EQ(current.rts_units, 0);
  EXPECT_EQ(current.background_display[6], 1);
  EXPECT_EQ(current.colour_map_view, 0);  // the instrument is disabled
}

TEST(SettingsFile, MissingParentFolderIsCreatedBeforeSave) {
  MemoryFileSystem fs;
  ASSERT_FALSE(fs.folders.count(L"C:\\ProgramData\\Quelor"));
  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kSaveSettings, s, kZelko31, fs), 1);
  EXPECT_TRUE(fs.folders.count(L"C:\\ProgramData\\Quelor\\Zelko31MK2"));
  EXPECT_TRUE(fs.file_exists(settings_file_path(kZelko31)));
}

TEST(SettingsFile, WriteFailureIsReturned) {
  MemoryFileSystem fs;
  fs.read_only = true;
  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(kSaveSettings, s, kZelko31, fs), 0);
  EXPECT_EQ(settings_file_operation(kLoadSettings, s, kZelko31, fs), 0);
  EXPECT_EQ(s, initial_settings(kZelko31));

  MemoryFileSystem no_program_data;
  no_program_data.folders.erase(L"C:\\ProgramData");
  EXPECT_EQ(settings_file_operation(kSaveSettings, s, kZelko31, no_program_data), 0);
}

TEST(SettingsFile, UnknownModeOrVariantDoesNothing) {
  MemoryFileSystem fs;
  Settings s = initial_settings(kZelko31);
  EXPECT_EQ(settings_file_operation(3, s, kZelko31, fs), 0);
  EXPECT_EQ(settings_file_operation(-1, s, kZelko31, fs), 0);
  EXPECT_EQ(settings_file_operation(kLoadSettings, s, {kEm31Mk2, 2}, fs), 0);
  EXPECT_TRUE(fs.files.empty());
  EXPECT_EQ(fs.reads + fs.writes + fs.deletes, 0);
}

TEST(SettingsFile, VariantsDoNotShareFiles) {
  MemoryFileSystem fs;
  Settings em31 = initial_settings(kZelko31);
  em31.instrument_port = 14;
  settings_file_operation(kSaveSettings, em31, kZelko31, fs);
  const Variant qyn31{kEm31Mk2, kNavigation};
  Settings s = initial_settings(qyn31);
  settings_file_operation(kLoadSettings, s, qyn31, fs);
  EXPECT_EQ(s.instrument_port, 3);
  EXPECT_EQ(fs.files.size(), 2u);
}

TEST(SettingsFile, SettingsAtStart) {
  MemoryFileSystem fs;
  const Variant qyn601{kGrad601, kNavigation};
  EXPECT_EQ(settings_at_start(qyn601, fs), initial_settings(qyn601));
  EXPECT_TRUE(fs.file_exists(settings_file_path(qyn601)));

  Settings saved = initial_settings(qyn601);
  saved.geometry_units = 2;
  saved.sensor_separation = 0.75;
  settings_file_operation(kSaveSettings, saved, qyn601, fs);
  const Settings s = settings_at_start(qyn601, fs);
  EXPECT_EQ(s.sensor_separation, 0.75);
  EXPECT_EQ(s.geometry_units, 0);  // Grad601 offsets are shown in metres

  const Variant qyn38{kEm38, kNavigation};
  Settings em38 = initial_settings(qyn38);
  em38.geometry_units = 3;
  settings_file_operation(kSaveSettings, em38, qyn38, fs);
  EXPECT_EQ(settings_at_start(qyn38, fs).geometry_units, 3);
}

}  // namespace
}  // namespace quelor
