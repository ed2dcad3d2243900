// Output files in a scratch folder: what is refused (an input by any
// spelling or link, any file holding a survey data file), that a complete
// output takes its name and a failed one leaves the target as it was and no
// temporary file, and the free names of the bytes a repair cuts.

#include "datafile/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "datafile/header_records.h"
#include "variant/variant.h"

namespace quelor {
namespace {

namespace fs = std::filesystem;

const InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};

class OutputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("quelor-output-" + std::to_string(random()));
    fs::create_directories(dir_);
    put("survey.T31", survey_bytes());
    put("other.T31", survey_bytes());
    put("old.tif", "old picture");
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string survey_bytes() {
    return identification_record(Variant{kEm31Mk2, kNavigation}, HeaderFields{}, false) + "H\n";
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string bytes_of(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.insert(e.path().filename().string());
    return out;
  }

  fs::path dir_;
};

TEST(DataFileHeader, EveryProgramsIdentificationRecordAndNothingElse) {
  int recognised = 0;
  for (InstrumentType type : kTypes)
    for (int line : {kRealTimeMap, kNavigation}) {
      const Variant v{type, line};
      if (!is_valid_variant(v)) continue;
      for (bool continuing : {false, true}) {
        const std::string record = identification_record(v, HeaderFields{}, continuing);
        EXPECT_TRUE(holds_data_file_header(record)) << record;
        EXPECT_TRUE(holds_data_file_header(record.substr(0, 9))) << record;
        ++recognised;
      }
    }
  EXPECT_EQ(recognised, 36);
  const char* const others[] = {"",
                                "ZLK31",
                                "II*\x00\x08",
                                "\x89PNG\r\n\x1a\n",
                                "<!DOCTYPE html>",
                                "Easting,Northing",
                                "Ver2.30\r\n",
                                "TA01234-0050"};
  for (const char* other : others) EXPECT_FALSE(holds_data_file_header(other)) << other;
}

TEST_F(OutputFile, InputsAndDataFilesAreRefusedByAnySpelling) {
  fs::create_directory(dir_ / "sub");
  fs::create_symlink(path("survey.T31"), path("link.tif"));
  fs::create_hard_link(path("survey.T31"), path("hard.tif"));
  fs::create_symlink(path("old.tif"), path("picture-link.tif"));
  struct Case {
    std::string target;
    const char* refusal;  // part of the reason; empty: may be written
  };
  const std::string dot = (dir_ / "." / "survey.T31").string();
  const Case cases[] = {
      {path("survey.T31"), "it is the input"},
      {dot, "it is the input"},
      {(dir_ / "sub" / ".." / "survey.T31").string(), "it is the input"},
      {path("link.tif"), "it is the input"},
      {path("hard.tif"), "it is the input"},
      {path("other.T31"), "it holds a survey data file"},
      {path("old.tif"), ""},
      {path("picture-link.tif"), ""},
      {path("new.tif"), ""},
  };
  for (const Case& c : cases) {
    const std::string why = output_refusal(c.target, {path("survey.T31")});
    if (*c.refusal == 0)
      EXPECT_EQ(why, "") << c.target;
    else
      EXPECT_NE(why.find(c.refusal), std::string::npos) << c.target << ": " << why;
    // Refused outputs are never written, not even through a batch.
    OutputBatch batch({path("survey.T31")});
    EXPECT_EQ(batch.stage(c.target, "new") == "", *c.refusal == 0) << c.target;
  }
  EXPECT_EQ(bytes_of("survey.T31"), survey_bytes());
  EXPECT_EQ(bytes_of("other.T31"), survey_bytes());
  // Two outputs of one run on one file.
  EXPECT_NE(outputs_refusal({path("a.tif"), (dir_ / "sub" / ".." / "a.tif").string()}, {}).find("twice"),
            std::string::npos);
  EXPECT_EQ(outputs_refusal({path("a.tif"), path("a.png")}, {path("survey.T31")}), "");
}

TEST_F(OutputFile, ACompleteOutputTakesItsNameAndNothingElseStays) {
  const std::set<std::string> before = names();
  for (const char* name : {"old.tif", "new.tif", "picture-link.tif"}) {
    if (std::string(name) == "picture-link.tif") fs::create_symlink(path("old.tif"), path(name));
    const std::string bytes = std::string("grid for ") + name;
    EXPECT_EQ(write_output_file(path(name), {path("survey.T31")}, bytes), "");
    EXPECT_EQ(bytes_of(name), bytes);
  }
  // The link stays a link; the file it names got the bytes.
  EXPECT_TRUE(fs::is_symlink(path("picture-link.tif")));
  EXPECT_EQ(bytes_of("old.tif"), "grid for picture-link.tif");
  std::set<std::string> expected = before;
  expected.insert({"new.tif", "picture-link.tif"});
  EXPECT_EQ(names(), expected);
}

TEST_F(OutputFile, AFailedWriteLeavesTheTargetAsItWasAndNoTemporaryFile) {
  const std::set<std::string> before = names();
  // The writer fails after 70 kB (past stdio's buffer) or after a few bytes.
  const OutputWriter full_disk = [](const OutputSink& sink) {
    const std::string half(70000, 'x');
    return sink(half.data(), half.size()) && false;
  };
  const OutputWriter fails_late = [](const OutputSink& sink) { return sink("II*", 3) && sink("", 0) && false; };
  for (const OutputWriter& write : {full_disk, fails_late})
    for (const char* name : {"old.tif", "new.tif"}) {
      OutputBatch batch({path("survey.T31")});
      EXPECT_NE(batch.stage(path(name), write), "") << name;
      EXPECT_EQ(batch.commit(), "");
      EXPECT_EQ(names(), before) << name;
      EXPECT_EQ(bytes_of("old.tif"), "old picture");
    }
  // A folder that does not exist, and a target that is a folder.
  fs::create_directory(dir_ / "folder.tif");
  EXPECT_NE(write_output_file(path("no/such/x.tif"), {}, "x").find("cannot write"), std::string::npos);
  EXPECT_NE(write_output_file(path("folder.tif"), {}, "x").find("cannot write"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.tif"));
  EXPECT_TRUE(fs::is_empty(dir_ / "folder.tif"));
  fs::remove(dir_ / "folder.tif");
  EXPECT_EQ(names(), before);
}

TEST_F(OutputFile, ABatchNotCommittedLeavesNoneOfItsOutputs) {
  const std::set<std::string> before = names();
  {
    OutputBatch batch({});
    EXPECT_EQ(batch.stage(path("g.tif"), "tiff"), "");
    EXPECT_EQ(batch.stage(path("old.tif"), "png"), "");
    EXPECT_NE(batch.stage(path("g.tif"), "again").find("twice"), std::string::npos);
    EXPECT_EQ(bytes_of("old.tif"), "old picture");  // staged, not yet in place
  }
  EXPECT_EQ(names(), before);
  OutputBatch batch({});
  EXPECT_EQ(batch.stage(path("g.tif"), "tiff"), "");
  EXPECT_EQ(batch.stage(path("old.tif"), "png"), "");
  EXPECT_EQ(batch.commit(), "");
  EXPECT_EQ(bytes_of("g.tif"), "tiff");
  EXPECT_EQ(bytes_of("old.tif"), "png");
}

// A device is written straight: never replaced by a file, never read.
TEST_F(OutputFile, ADeviceIsWrittenInPlace) {
  if (!fs::is_character_file("/dev/null")) GTEST_SKIP() << "no /dev/null";
  fs::create_symlink("/dev/null", path("null-link"));
  for (const std::string& target : {std::string("/dev/null"), path("null-link")}) {
    OutputBatch batch({path("survey.T31")});
    EXPECT_EQ(batch.stage(target, "grid"), "") << target;
    EXPECT_EQ(batch.commit(), "");
    EXPECT_TRUE(fs::is_character_file(target)) << target;
  }
  EXPECT_TRUE(fs::is_symlink(path("null-link")));
}

TEST(WindowsDeviceName, DevicesInAnyCaseFolderOrExtensionAndNothingElse) {
  const struct {
    const char* path;
    bool device;
  } cases[] = {{"NUL", true},       {"nul", true},           {"C:\\out\\nul.tif", true},
               {"con", true},       {"PRN.txt", true},       {"aux", true},
               {"COM1", true},      {"lpt9.png", true},      {"\\\\.\\COM12", true},
               {"NUL .tif", true},  {"COM0", false},         {"COM10", false},
               {"null", false},     {"nul2.tif", false},     {"C:\\nul\\grid.tif", false},
               {"grid.nul", false}, {"console.html", false}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(names_windows_device(c.path), c.device) << c.path;
}

TEST_F(OutputFile, ACopyTakesTheFirstFreeName) {
  const std::string cut = path("survey.T31.cut");
  EXPECT_EQ(free_file_name(cut), cut);
  put("survey.T31.cut", "a");
  EXPECT_EQ(free_file_name(cut), cut + ".2");
  put("survey.T31.cut.2", "b");
  fs::create_symlink(path("gone"), cut + ".3");  // a dangling link is a taken name too
  EXPECT_EQ(free_file_name(cut), cut + ".4");
}

}  // namespace
}  // namespace quelor
