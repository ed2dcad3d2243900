#include "datafile/naming.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quelor {
namespace {

using testing_support::MemoryFileSystem;

struct NameRow {
  InstrumentType type;
  const char* ext[2];
  const char* label[2];
  const char* marker;
};

TEST(Naming, ExtensionsLabelsAndMarkersOfEveryVariant) {
  const NameRow rows[] = {
      {kEm31Mk2, {".T31", ".H31"}, {"ZLK31 Files (*.T31)", "Qyn31 Files (*.H31)"}, "ZLK31"},
      {kEm38, {".T38", ".H38"}, {"ZLK38 Files (*.T38)", "Qyn38 Files (*.H38)"}, "ZLK38"},
      {kEm34_3, {".T34", ".H34"}, {"ZLK34-3 Files (*.T34)", "Qyn34-3 Files (*.H34)"}, "ZLK343"},
      {kEm38Mk2, {".TM8", ".382"}, {"ZLK38MK2 Files (*.TM8)", "Qyn38MK2 Files (*.382)"}, "ZLK38MK2"},
      {kEm38_4, {".38A", ".38N"}, {"ZLK38-4 Files (*.38A)", "Qyn38-4 Files (*.38N)"}, "ZLK384"},
      {kCs21, {".R21", ".D21"}, {"ZLKCS21 Files (*.R21)", "QynCS21 Files (*.D21)"}, "ZLKCS21"},
      {kGrad601, {".RGR", ".601"}, {"ZLK601 Files (*.RGR)", "Qyn601 Files (*.601)"}, "ZLK601"},
      {kEm61Lx2, {".RX2", ".TX2"}, {"ZLK61LX2 Files (*.RX2)", "Qyn61LX2 Files (*.TX2)"}, "ZLKLX"},
      {kEm61Mk2, {".T61", ".P61"}, {"ZLK61MK2 Files (*.T61)", "Qyn61MK2 Files (*.P61)"}, "ZLKMK2"},
  };
  for (const NameRow& r : rows) {
    for (int line = 0; line < 2; ++line) {
      const Variant v{r.type, line};
      EXPECT_EQ(data_file_extension(v, true), r.ext[line]);
      EXPECT_EQ(file_type_entry(v, true).label, r.label[line]);
      EXPECT_EQ(file_type_entry(v, true).pattern, std::string("*") + r.ext[line]);
      EXPECT_EQ(data_file_extension(v, false), ".gxy");
      EXPECT_EQ(file_type_entry(v, false).label, "ZLKGXY Files (*.GXY)");
      EXPECT_EQ(default_extension(v, false), "GXY");
    }
    EXPECT_EQ(file_marker(r.type), r.marker);
  }
  EXPECT_EQ(default_extension({kEm38_4, 0}, true), "38A");
  EXPECT_EQ(default_extension({kEm38Mk2, 1}, true), "382");
}

TEST(Naming, ProgramCodesRoundTrip) {
  EXPECT_EQ(program_code({kEm61Lx2, 0}, 0, 1), "ZLKLX2  W");
  EXPECT_EQ(program_code({kEm61Lx2, 1}, 1, 0), "QYNLX1N W");
  EXPECT_EQ(program_code({kEm61Mk2, 1}, 1, 0), "QYNMK2H W");
  EXPECT_EQ(program_code({kEm61Mk2, 0}, 1, 0), "ZLKMK2  W");
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2})
    for (int line = 0; line < 2; ++line)
      for (int model = 0; model < 4; ++model) {
        const auto v = variant_of_program_code(program_code({type, line}, model, model % 2));
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(v->instrument_type, type);
        EXPECT_EQ(v->navigation_mode, line);
      }
  EXPECT_EQ(variant_of_program_code("zLKMK2  W")->instrument_type, kEm61Mk2);
  EXPECT_FALSE(variant_of_program_code("ZLK99   W").has_value());
  EXPECT_FALSE(variant_of_program_code("ZLK").has_value());
}

TEST(Naming, ForeignNoticeUsesProductName) {
  EXPECT_EQ(foreign_file_notice({kEm31Mk2, 0}), "File not from Zelko31 program");
  EXPECT_EQ(foreign_file_notice({kGrad601, 0}), "File not from Zelko601 program");
  EXPECT_EQ(foreign_file_notice({kEm61Lx2, 0}), "File not from Zelko61LX2 program");
  EXPECT_EQ(foreign_file_notice({kCs21, 0}), "File not from ZelkoCS-21 program");
  EXPECT_EQ(foreign_file_notice({kEm38_4, 0}), "File not from Zelko38-4 program");
}

TEST(Naming, AutomaticNameSkipsExistingFiles) {
  MemoryFileSystem fs;
  const LocalTime day{2025, 3, 7};
  EXPECT_EQ(date_stem(day), "250307_");
  EXPECT_EQ(automatic_name(fs, L"C:\\Data", day, ".T31"), L"250307_000");
  EXPECT_EQ(fs.folders.count(L"C:\\Data"), 1u);
  fs.files[L"C:\\Data\\250307_000.T31"] = "x";
  fs.files[L"C:\\Data\\250307_001.T31"] = "x";
  fs.files[L"C:\\Data\\250307_002.H31"] = "other extension";
  EXPECT_EQ(automatic_name(fs, L"C:\\Data\\", day, ".T31"), L"250307_002");
  for (int n = 0; n < 1000; ++n) {
    wchar_t name[64];
    std::swprintf(name, 64, L"C:\\Data\\250307_%03d.T31", n);
    fs.files[name] = "x";
  }
  EXPECT_FALSE(automatic_name(fs, L"C:\\Data", day, ".T31").has_value());
  EXPECT_EQ(automatic_name(fs, L"C:\\Data", LocalTime{2031, 12, 25}, ".T31"), L"311225_000");
}

TEST(Naming, NameAndFolderFromPath) {
  EXPECT_EQ(data_file_name(L"C:\\Survey\\Site.A\\250307_002.T31"), "250307_002");
  EXPECT_EQ(data_file_name(L"C:\\Survey\\NOEXT"), "NOEXT");
  EXPECT_EQ(data_file_name(L"C:\\a\\name.with.dots.H31"), "name");
  // A character whose low byte is a line feed or carriage return cannot cut the record.
  EXPECT_EQ(data_file_name(std::wstring(L"C:\\a\\L") + wchar_t(0x040A) + L"1" + wchar_t(0x040D) + L".H31"), "L?1?");
  EXPECT_EQ(folder_of(L"C:\\Survey\\x.T31"), L"C:\\Survey\\");
  EXPECT_EQ(with_default_extension(L"C:\\S.1\\file", "T31"), L"C:\\S.1\\file.T31");
  EXPECT_EQ(with_default_extension(L"C:\\S\\file.abc", "T31"), L"C:\\S\\file.abc");
}

}  // namespace
}  // namespace quelor
