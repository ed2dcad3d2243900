#include "settings/settings_path.h"

#include <gtest/gtest.h>

#include <set>

#include "test_support.h"

namespace quelor {
namespace {

struct PathCase {
  Variant variant;
  const wchar_t* folder;
  const wchar_t* file;
  const char* version_line;
};

const PathCase kCases[] = {
    {{kEm31Mk2, 0},
     L"C:\\ProgramData\\Quelor\\Zelko31MK2",
     L"C:\\ProgramData\\Quelor\\Zelko31MK2\\Zelko31MK2_230.INI",
     "Ver2.30"},
    {{kEm31Mk2, 1},
     L"C:\\ProgramData\\Quelor\\Qyn31MK2",
     L"C:\\ProgramData\\Quelor\\Qyn31MK2\\Qyn31MK2_220.INI",
     "Ver2.20"},
    {{kEm34_3, 0},
     L"C:\\ProgramData\\Quelor\\Zelko34-3",
     L"C:\\ProgramData\\Quelor\\Zelko34-3\\Zelko34-3_214.INI",
     "Ver2.14"},
    {{kGrad601, 1}, L"C:\\ProgramData\\Quelor\\Qyn601", L"C:\\ProgramData\\Quelor\\Qyn601\\Qyn601_110.INI", "Ver1.10"},
    {{kEm61Mk2, 0},
     L"C:\\ProgramData\\Quelor\\Zelko61MK2",
     L"C:\\ProgramData\\Quelor\\Zelko61MK2\\Zelko61MK2_228.INI",
     "Ver2.28"},
    {{kCs21, 1},
     L"C:\\ProgramData\\Quelor\\QynCS-21",
     L"C:\\ProgramData\\Quelor\\QynCS-21\\QynCS-21_100.INI",
     "Ver1.00"},
};

TEST(SettingsPath, FolderFileAndVersionLine) {
  for (const PathCase& c : kCases) {
    EXPECT_EQ(settings_folder_path(c.variant), c.folder);
    EXPECT_EQ(settings_file_path(c.variant), c.file);
    EXPECT_EQ(settings_version_line(c.variant), c.version_line);
  }
}

TEST(SettingsPath, EveryVariantHasItsOwnFile) {
  std::set<std::wstring> files;
  for (const Variant& v : all_variants()) {
    const std::wstring file = settings_file_path(v);
    EXPECT_TRUE(file.starts_with(settings_folder_path(v) + L"\\")) << variant_name(v);
    EXPECT_TRUE(settings_folder_path(v).starts_with(settings_root_folder() + L"\\"));
    EXPECT_TRUE(file.ends_with(L".INI"));
    files.insert(file);
  }
  EXPECT_EQ(files.size(), all_variants().size());
}

TEST(SettingsPath, UnknownVariantHasNoPath) {
  EXPECT_TRUE(settings_file_path({kEm31Mk2, 2}).empty());
  EXPECT_TRUE(settings_folder_path({kEm38, 2}).empty());
  EXPECT_TRUE(settings_version_line({kEm34_3, -1}).empty());
}

}  // namespace
}  // namespace quelor
