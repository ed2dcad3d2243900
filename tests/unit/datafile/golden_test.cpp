// Byte-exact survey files of every variant, built through the writer with
// fixed clocks. QUELOR_UPDATE_GOLDEN=1 rewrites them (then read them by eye).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "datafile/file_check.h"
#include "datafile/record_layout.h"
#include "survey_fixture.h"

namespace quelor {
namespace {

using testing_support::build_sample_survey;
using testing_support::kEveryVariant;

std::string golden_path(const Variant& v) {
  return std::string(QUELOR_SOURCE_DIR) + "/tests/golden/datafile/" + std::string(product_names(v).program_name) +
         ".dat";
}

class Golden : public ::testing::TestWithParam<Variant> {};

TEST_P(Golden, SurveyMatchesGoldenFileByteForByte) {
  const Variant v = GetParam();
  const std::string bytes = build_sample_survey(v);
  const std::string path = golden_path(v);
  if (std::getenv("QUELOR_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path;
  std::ostringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(bytes, golden.str()) << path;
}

TEST_P(Golden, EveryRecordIsLBytesAndTheFilePassesTheCheck) {
  const Variant v = GetParam();
  const std::string bytes = build_sample_survey(v);
  const std::size_t length = static_cast<std::size_t>(record_length(v));
  ASSERT_EQ(bytes.size() % length, 0u);
  for (std::size_t at = 0; at < bytes.size(); at += length) EXPECT_EQ(bytes[at + length - 1], '\n') << at;
  const FileCheckReport report = check_data_file(bytes);
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << "record " << e.record << ": " << e.message;
  EXPECT_EQ(report.record_length, static_cast<int>(length));
  EXPECT_EQ(report.headers, 1);
  EXPECT_EQ(report.lines, 2);
  EXPECT_EQ(report.gps_positions, 2);
  EXPECT_EQ(report.records, static_cast<long>(bytes.size() / length));
}

// Specific columns of specific records, against the record tables.
TEST_P(Golden, ColumnsOfTheDataPart) {
  const Variant v = GetParam();
  const std::string bytes = build_sample_survey(v);
  const std::size_t length = static_cast<std::size_t>(record_length(v));
  std::vector<std::string> records;
  for (std::size_t at = 0; at < bytes.size(); at += length) records.push_back(bytes.substr(at, length));
  EXPECT_EQ(records[1].substr(0, 11), "H250307_000");
  EXPECT_EQ(records[2].substr(16, 5), "70011");
  const std::size_t tick_at = length - 11;
  for (const std::string& r : records) {
    if (r[0] == '*' || r[0] == 'X' || r[0] == 'C' || r[0] == '!') {
      if (r[0] != '*') {
        EXPECT_EQ(r[tick_at - 1], ' ') << r;
      }
      EXPECT_NE(r[length - 2], ' ') << r;
      EXPECT_EQ(r.substr(tick_at, 3), "   ") << r;  // ticks of seven digits
    }
    if (r[0] == 'X' && r.substr(1, 8) == "$STARTED") {
      EXPECT_EQ(r.substr(9, 3), "   ");
    }
  }
  const std::string first_piece = records[records.size() - 1];
  EXPECT_EQ(first_piece.substr(1, 10), "PAUSED BMP");
}

INSTANTIATE_TEST_SUITE_P(EveryVariant, Golden, ::testing::ValuesIn(kEveryVariant),
                         [](const ::testing::TestParamInfo<Variant>& instance) {
                           std::string name(product_names(instance.param).program_name);
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
}  // namespace quelor
