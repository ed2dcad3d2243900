#include "datafile/create_data_file.h"

#include <gtest/gtest.h>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "test_support.h"

namespace quelor {
namespace {

using namespace testing_support;

struct Harness {
  explicit Harness(Variant v) : variant(v), writer(sink, v), time(march_7_2025()) {
    settings.data_folder = L"C:\\Data";
  }
  CreateDataFileContext context() {
    HeaderFields h = header_fields_from_settings(settings, variant.instrument_type);
    LineBlockFields line;
    line.line_name = settings.survey_line;
    return CreateDataFileContext{variant, settings, fs, chooser, messages, sink, writer, time, clock, h, line, [this] {
                                   ++saves;
                                   saved_while_closed = !sink.is_open();
                                 }};
  }
  Variant variant;
  Settings settings;
  MemoryFileSystem fs;
  ScriptedChooser chooser;
  RecordingMessageBox messages;
  MemorySink sink;
  DataFileWriter writer;
  FixedLocalTime time;
  FixedClock clock;
  int saves = 0;
  bool saved_while_closed = false;
};

TEST(CreateDataFile, NewFileGetsHeaderLineBlockAndTimeMarkOnDisk) {
  Harness h({kEm31Mk2, 1});
  h.fs.files[L"C:\\Data\\250307_000.H31"] = "";
  h.fs.files[L"C:\\Data\\250307_001.H31"] = "";
  h.chooser.answers.push_back(L"C:\\Field\\250307_002");
  auto c = h.context();
  const CreateDataFileResult r = create_data_file(c);
  ASSERT_EQ(r.outcome, CreateOutcome::kNewFile);
  ASSERT_EQ(h.chooser.requests.size(), 1u);
  const SaveDialogRequest& q = h.chooser.requests[0];
  EXPECT_EQ(q.title, "Create Data File");
  EXPECT_EQ(q.proposed_name, L"250307_002");
  EXPECT_EQ(q.default_extension, "H31");
  EXPECT_EQ(q.file_type.label, "Qyn31 Files (*.H31)");
  EXPECT_EQ(q.initial_folder, L"C:\\Data");
  EXPECT_EQ(r.path, L"C:\\Field\\250307_002.H31");
  EXPECT_EQ(r.name, "250307_002");
  EXPECT_EQ(h.settings.data_folder, L"C:\\Field\\");
  EXPECT_EQ(h.saves, 1);
  EXPECT_TRUE(h.saved_while_closed);
  const std::string bytes = h.sink.file(r.path);
  EXPECT_EQ(bytes.size(), 24u * 8);
  EXPECT_EQ(bytes.substr(24, 11), "H250307_002");
  EXPECT_EQ(bytes[7 * 24], '*');
  // Flushed, closed and reopened at the end: everything is durable.
  EXPECT_EQ(h.sink.flushes, 1);
  EXPECT_EQ(h.sink.closes, 1);
  EXPECT_EQ(h.sink.reopens, 1);
  EXPECT_TRUE(h.sink.is_open());
  EXPECT_EQ(h.sink.durable(r.path), bytes);
  EXPECT_EQ(check_data_file(bytes).error_count, 0);
  EXPECT_TRUE(h.messages.shown.empty());
}

TEST(CreateDataFile, NavigationLineInsistsOnANewName) {
  Harness h({kEm38, 1});
  h.fs.files[L"C:\\Data\\old.H38"] = "keep";
  h.sink.file(L"C:\\Data\\old.H38") = "keep";
  h.chooser.answers = {L"C:\\Data\\old.H38", std::nullopt};
  auto c = h.context();
  const CreateDataFileResult r = create_data_file(c);
  EXPECT_EQ(r.outcome, CreateOutcome::kCancelled);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].title, "WARNING");
  EXPECT_EQ(h.messages.shown[0].text, "The file already exisits. Please enter another name");
  EXPECT_EQ(h.chooser.requests.size(), 2u);
  EXPECT_EQ(h.sink.file(L"C:\\Data\\old.H38"), "keep");
  EXPECT_FALSE(h.sink.is_open());
}

TEST(CreateDataFile, OwnFileIsHandedToAppending) {
  Harness h({kEm61Mk2, 0});
  const std::wstring path = L"C:\\Data\\mine.T61";
  h.fs.files[path] = "";
  h.sink.file(path) = "ZLKMK2  W228GPS0000  1    \n";
  h.chooser.answers = {path};
  auto c = h.context();
  EXPECT_EQ(create_data_file(c).outcome, CreateOutcome::kOwnFile);
  EXPECT_EQ(h.sink.file(path).size(), 27u);
  char first;
  ASSERT_EQ(h.sink.read(&first, 1), 1u);
  EXPECT_EQ(first, 'Z');  // positioned at the start again
}

TEST(CreateDataFile, ShortFileCountsAsOwn) {
  Harness h({kEm31Mk2, 0});
  const std::wstring path = L"C:\\Data\\tiny.T31";
  h.fs.files[path] = "";
  h.sink.file(path) = "ZL";
  h.chooser.answers = {path};
  auto c = h.context();
  EXPECT_EQ(create_data_file(c).outcome, CreateOutcome::kOwnFile);
}

TEST(CreateDataFile, ForeignFileGetsHeaderAtItsEndAndNotice) {
  Harness h({kEm38Mk2, 0});
  const std::wstring path = L"C:\\Data\\foreign.TM8";
  h.fs.files[path] = "";
  h.sink.file(path) = "SOMEBODY ELSE'S DATA\n";
  h.chooser.answers = {path};
  auto c = h.context();
  EXPECT_EQ(create_data_file(c).outcome, CreateOutcome::kForeignFile);
  const std::string bytes = h.sink.file(path);
  EXPECT_EQ(bytes.substr(0, 21), "SOMEBODY ELSE'S DATA\n");
  EXPECT_EQ(bytes.substr(21, 9), "ZLK38MK2W");
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].title, "INFORMATION");
  EXPECT_EQ(h.messages.shown[0].text, "File not from Zelko38MK2 program");
}

// The antenna is the sensor of a GPS-only survey: its header records no
// offsets, while the settings keep the instrument's for the next survey.
TEST(CreateDataFile, GpsOnlySurveyHeaderWithoutOffsetsAndUsesGxy) {
  Harness h({kEm31Mk2, 0});
  h.settings.instrument_state = 0;
  h.settings.gps_x_offset = -0.3;
  h.chooser.answers = {L"C:\\Data\\gps"};
  auto c = h.context();
  const CreateDataFileResult r = create_data_file(c);
  EXPECT_EQ(r.path, L"C:\\Data\\gps.GXY");
  EXPECT_EQ(h.chooser.requests[0].file_type.label, "ZLKGXY Files (*.GXY)");
  EXPECT_EQ(h.sink.file(r.path).substr(2 * 27, 15), "G  0.000  0.000");
  EXPECT_EQ(h.settings.gps_x_offset, -0.3);
}

TEST(CreateDataFile, FailingOpenLeavesNoFile) {
  Harness h({kEm31Mk2, 0});
  h.sink.fail_open = true;
  h.chooser.answers = {L"C:\\Data\\x.T31"};
  auto c = h.context();
  EXPECT_EQ(create_data_file(c).outcome, CreateOutcome::kOpenFailed);
  EXPECT_EQ(h.saves, 0);
}

TEST(ContinueDataFile, PassedCheckWritesContinuationAndScans) {
  Harness h({kEm31Mk2, 0});
  const std::wstring path = L"C:\\Data\\mine.T31";
  // A first survey of this program in the file.
  {
    Harness first({kEm31Mk2, 0});
    first.chooser.answers = {path};
    auto c = first.context();
    c.header.reference_zone = 32;
    ASSERT_EQ(create_data_file(c).outcome, CreateOutcome::kNewFile);
    first.writer.write_swath_group(0, {10, 20, 11, 21});
    first.writer.write_swath_group(1, {12, 22, 13, 23});
    first.writer.write_swath_group(0, {14, -5, 15, 25});
    h.sink.file(path) = first.sink.file(path);
  }
  h.fs.files[path] = "";
  h.chooser.answers = {path};
  auto c = h.context();
  ASSERT_EQ(create_data_file(c).outcome, CreateOutcome::kOwnFile);
  AppendSituation situation;
  situation.have_valid_fix = true;
  situation.current_zone = 32;
  const ContinueResult r = continue_data_file(c, situation, MapFrame{12, 20, 10, 500, 500});
  ASSERT_TRUE(r.ok) << (r.check.message ? r.check.message->text : "");
  ASSERT_TRUE(r.scan.has_value());
  EXPECT_EQ(r.scan->positions, 3);
  EXPECT_EQ(r.scan->extent.min_northing, -5);
  EXPECT_EQ(r.scan->extent.max_easting, 15);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].text, "Total Number of GPS Positions:       3\r\n");
  const std::string bytes = h.sink.file(path);
  const FileCheckReport report = check_data_file(bytes);
  EXPECT_EQ(report.error_count, 0);
  EXPECT_EQ(report.headers, 2);
  EXPECT_EQ(report.by_tag.at('z'), 1);
  EXPECT_EQ(h.sink.durable(path), bytes);
  EXPECT_TRUE(h.sink.is_open());
}

// A kill while a record was written leaves its first bytes; a power loss may
// leave zero bytes at the new end. Either is cut and the continuation starts
// on a record boundary: the file passes the check, the old records intact.
TEST(ContinueDataFile, AfterACrashThePartialRecordIsCut) {
  const std::wstring path = L"C:\\Data\\mine.T31";
  std::string survey;
  {
    Harness first({kEm31Mk2, 0});
    first.chooser.answers = {path};
    auto c = first.context();
    c.header.reference_zone = 32;
    ASSERT_EQ(create_data_file(c).outcome, CreateOutcome::kNewFile);
    first.writer.write_reading(
        {"T\x70"
         "01234-0050",
         4000});
    survey = first.sink.file(path);
  }
  const std::string reading =
      "T\x70"
      "01234-0051       4250\n";
  const std::string tails[] = {reading.substr(0, 9), std::string(27 * 2, '\0'), std::string(27 + 5, '\0'), ""};
  for (const std::string& tail : tails) {
    Harness h({kEm31Mk2, 0});
    h.sink.file(path) = survey + tail;
    h.fs.files[path] = "";
    h.chooser.answers = {path};
    auto c = h.context();
    ASSERT_EQ(create_data_file(c).outcome, CreateOutcome::kOwnFile);
    AppendSituation situation;
    situation.have_valid_fix = true;
    situation.current_zone = 32;
    ASSERT_TRUE(continue_data_file(c, situation, MapFrame{0, 0, 10, 500, 500}).ok) << tail.size();
    const std::string bytes = h.sink.file(path);
    const FileCheckReport report = check_data_file(bytes);
    EXPECT_EQ(report.error_count, 0) << tail.size() << ": " << (report.errors.empty() ? "" : report.errors[0].message);
    EXPECT_EQ(report.headers, 2);
    EXPECT_EQ(bytes.substr(0, survey.size()), survey);
    EXPECT_EQ(bytes[survey.size()], 'z') << "the continuation header follows the last whole record";
  }
}

TEST(ContinueDataFile, RefusedFileIsClosedUntouched) {
  Harness h({kEm31Mk2, 0});
  const std::wstring path = L"C:\\Data\\mine.T31";
  h.fs.files[path] = "";
  const std::string old = "ZLK31   W230GPS00000 0    \nH                         \n";
  h.sink.file(path) = old;
  h.chooser.answers = {path};
  auto c = h.context();
  ASSERT_EQ(create_data_file(c).outcome, CreateOutcome::kOwnFile);
  const ContinueResult r = continue_data_file(c, {}, MapFrame{});
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(h.sink.is_open());
  EXPECT_EQ(h.sink.file(path), old);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_NE(h.messages.shown[0].text.find("State in the file: DISABLED"), std::string::npos);
}

}  // namespace
}  // namespace quelor
