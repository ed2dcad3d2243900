// The logging window driven as the surveyor drives it, without ports: the
// session from a start plan, the data file made by the File command, then
// keys and reading messages; the data file must hold what the survey wrote.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>
#include <string>

#include "app/app_state.h"
#include "app/logging/display_windows.h"
#include "app/logging/logging_commands_win.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_menu.h"
#include "app/logging/logging_session.h"
#include "app/logging/status_panel.h"
#include "app/main_window.h"
#include "app/map/live_map_win.h"
#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "app/survey_start.h"
#include "datafile/file_check.h"
#include "display/numbers_rows.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "survey/command_table.h"
#include "survey/logging_keys.h"
#include "survey/popup_menus.h"
#include "setup_test_support.h"
#include "serial/reading_messages.h"
#include "test_files.h"

namespace quelor {
namespace {

std::wstring window_text(HWND w) {
  wchar_t buffer[64] = {};
  GetWindowTextW(w, buffer, 64);
  return buffer;
}

class LoggingWindowTest : public test::SetupWindowFixture {
 protected:
  void SetUp() override {
    SetupWindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_NE(g_log_window, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"quelor_logging_window_test";
    test::remove_tree(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"\\261208_000.H31";
  }

  void TearDown() override {
    // The File command saved the settings file: the one of the start comes back.
    if (file_made_) {
      Win32FileSystem fs;
      settings_file_operation(kSaveSettings, settings_on_disk_, g_variant, fs);
    }
    SetupWindowFixture::TearDown();
    logging_session().sink.close();
    logging_session().active = false;
    if (!folder_.empty()) test::remove_tree(folder_);
  }

  // Monitoring without ports: the instrument in use, no GPS.
  void start_monitoring() {
    Settings settings = g_settings;
    settings.gps_enabled = 0;
    const StartPlan plan = plan_survey_start({g_variant, settings});
    ASSERT_TRUE(plan.proceed);
    g_settings = settings;
    begin_logging_session(plan);
    present_logging_window(main_);
  }

  // F in Monitoring and OK on the proposed name: a new file in the test's
  // folder with its header and line block, Stand By. What the survey writes
  // afterwards follows the `header_size_` bytes the File command wrote.
  void open_file_by_command() {
    if (!file_made_) settings_on_disk_ = g_settings;
    g_settings.data_folder = folder_ + L"\\";
    {
      test::DialogPresser ok(L"Create Data File", IDOK);
      key('F');
      ASSERT_TRUE(ok.pressed());
    }
    file_made_ = true;
    LoggingSession& s = logging_session();
    ASSERT_EQ(s.survey.state, kStateStandBy);
    ASSERT_TRUE(s.sink.is_open());
    path_ = s.sink.path();
    // The file stays open in the program: its length through the program's
    // own positional reads, which leave the append position where it is.
    char chunk[4096];
    header_size_ = 0;
    while (const std::size_t n = s.sink.read_at(header_size_, chunk, sizeof chunk)) header_size_ += n;
    ASSERT_GT(header_size_, 0u);
  }

  void key(WPARAM k) { SendMessageW(g_log_window, WM_KEYDOWN, k, 0); }

  // A reader hands over an EM31-MK2 record and posts its message.
  void reading(const char* record) {
    RecordBytes r;
    assign_record(r, reinterpret_cast<const std::uint8_t*>(record), std::char_traits<char>::length(record));
    reader_shared().instrument_records.push(r, GetTickCount());
    SendMessageW(g_log_window, WM_EM31_READING, 0, 0);
  }

  // The records the survey wrote after the File command.
  std::string file_bytes() { return whole_file().substr(std::min(header_size_, whole_file().size())); }

  std::string whole_file() {
    HANDLE h = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(h);
    return out;
  }

  HWND button_460() const { return logging_session().children.buttons[0]; }

  std::wstring folder_, path_;
  std::size_t header_size_ = 0;
  bool file_made_ = false;
  Settings settings_on_disk_;
};

TEST_F(LoggingWindowTest, StartShowsMonitoringOverTheSetupWindow) {
  start_monitoring();
  EXPECT_TRUE(IsWindowVisible(g_log_window));
  EXPECT_EQ(g_setup_state, kLoggingShown);
  for (HWND b : g_setup_buttons) EXPECT_FALSE(IsWindowVisible(b));
  EXPECT_EQ(logging_session().survey.state, kStateMonitoring);
  EXPECT_EQ(window_text(button_460()), L"&File");
  EXPECT_TRUE(IsWindowEnabled(button_460()));  // no GPS: nothing to wait for
  EXPECT_FALSE(IsWindowVisible(logging_session().children.pause));
  const LoggingChildren& c = logging_session().children;
  EXPECT_EQ(GetDlgCtrlID(c.curves[0]), 600);
  EXPECT_EQ(GetDlgCtrlID(c.numbers), 650);
  EXPECT_EQ(GetDlgCtrlID(c.map), 652);
  EXPECT_EQ(GetDlgCtrlID(c.speed), 651);
  EXPECT_FALSE(IsWindowVisible(c.map));  // no GPS, no map
}

// Readings outside Logging are shown and never written: in Monitoring
// (no file yet) and in Stand By (a file open, not logging).
TEST_F(LoggingWindowTest, ReadingsOutsideLoggingAreShownButNotWritten) {
  start_monitoring();
  reading("T$-1004-1149");
  EXPECT_TRUE(logging_session().display.have_reading);
  EXPECT_EQ(logging_session().survey.readings_in_survey, 0);
  open_file_by_command();
  reading("T$-1012-1186");
  EXPECT_EQ(logging_session().survey.readings_in_survey, 0);
  logging_session().sink.close();
  EXPECT_EQ(file_bytes(), "");
}

TEST_F(LoggingWindowTest, GoReadPauseExitByKeysLeavesACompleteFile) {
  start_monitoring();
  open_file_by_command();
  EXPECT_EQ(window_text(button_460()), L"&Go");

  key('G');
  EXPECT_EQ(logging_session().survey.state, kStateLogging);
  EXPECT_TRUE(IsWindowVisible(logging_session().children.pause));
  EXPECT_TRUE(reader_shared().survey.logging.load());
  reading("T$-1004-1149");
  reading("T$-1012-1186");
  reading("T\"-9976-1043");
  EXPECT_EQ(logging_session().survey.readings_in_survey, 3);

  key('P');  // the pause key "any key": P pauses
  EXPECT_EQ(logging_session().survey.state, kStateStandBy);
  EXPECT_FALSE(reader_shared().survey.logging.load());
  EXPECT_EQ(window_text(button_460()), L"&Go");
  reading("T$-1030-1217");  // Stand By: not written
  EXPECT_EQ(logging_session().survey.readings_in_survey, 3);

  {
    test::DialogPresser no(L"Confirm Exit", 2);
    key('X');
    EXPECT_TRUE(no.pressed());
  }
  EXPECT_EQ(logging_session().survey.state, kStateStandBy);
  EXPECT_TRUE(IsWindowVisible(g_log_window));

  {
    test::DialogPresser yes(L"Confirm Exit", 1);
    key('X');
    EXPECT_TRUE(yes.pressed());
  }
  EXPECT_EQ(logging_session().survey.state, kStateClosed);
  EXPECT_FALSE(IsWindowVisible(g_log_window));
  EXPECT_EQ(g_setup_state, kSetupInFront);
  for (HWND b : g_setup_buttons) EXPECT_TRUE(IsWindowVisible(b));
  EXPECT_FALSE(logging_session().sink.is_open());

  const std::string bytes = file_bytes();
  const std::size_t length = 24;
  ASSERT_EQ(bytes.size() % length, 0u) << bytes;
  ASSERT_EQ(bytes.size(), 5 * length) << bytes;  // $STARTED, 3 readings, PAUSED
  EXPECT_EQ(bytes.substr(0, 9), "X$STARTED");
  EXPECT_EQ(bytes.substr(length, 12), "T$-1004-1149");
  EXPECT_EQ(bytes.substr(2 * length, 12), "T$-1012-1186");
  EXPECT_EQ(bytes.substr(3 * length, 12), "T\"-9976-1043");
  EXPECT_EQ(bytes.substr(4 * length, 7), "XPAUSED");
}

// A posting reader at 25 readings a second while the window thread is held
// for two seconds: each reading is written once, in order, with its own tick.
DWORD WINAPI posting_reader(LPVOID) {
  for (int i = 0; i < 60; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "T$-%04d-1149", 1000 + i);
    RecordBytes r;
    assign_record(r, reinterpret_cast<const std::uint8_t*>(text), 12);
    reader_shared().instrument_records.push(r, 500'000u + 40u * static_cast<unsigned>(i));
    PostMessageW(g_log_window, WM_EM31_READING, 0, 0);
    Sleep(40);
  }
  return 0;
}

TEST_F(LoggingWindowTest, ReadingsPostedWhileTheWindowThreadIsHeldAreWrittenOnceEach) {
  start_monitoring();
  open_file_by_command();
  key('G');
  HANDLE reader = CreateThread(nullptr, 0, posting_reader, nullptr, 0, nullptr);
  ASSERT_NE(reader, nullptr);
  Sleep(2000);  // a dialog or a redraw holds the window thread
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(reader, 0) == WAIT_TIMEOUT && GetTickCount() - start < 10000) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  CloseHandle(reader);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(logging_session().survey.readings_in_survey, 60);
  key('P');
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  const std::size_t length = 24;
  ASSERT_EQ(bytes.size(), 62 * length) << bytes;  // $STARTED, 60 readings, PAUSED
  for (int i = 0; i < 60; ++i) {
    char value[8], tick[16];
    std::snprintf(value, sizeof value, "-%04d", 1000 + i);
    std::snprintf(tick, sizeof tick, "%10u", 500'000u + 40u * static_cast<unsigned>(i));
    const std::string record = bytes.substr((1 + i) * length, length);
    EXPECT_EQ(record.substr(2, 5), value) << i;
    EXPECT_EQ(record.substr(length - 11, 10), tick) << i;
  }
}

// The last allowed position ends the survey only after the GPS-fix handler
// has returned to the reader that sent it: no box inside the handler.
TEST_F(LoggingWindowTest, PositionMaximumEndsTheSurveyAfterTheFixHandlerReturns) {
  start_monitoring();
  open_file_by_command();
  key('G');
  LoggingSession& s = logging_session();
  s.survey.gps_position_count = kMaxGpsPositions - 1;
  const char* gga = "$GPGGA,224014.39,4336.6002338,N,07935.9999601,W,2,10,0.9,172.9,M,-36.0,M,1.2,0031*7D";
  RecordBytes r;
  assign_record(r, reinterpret_cast<const std::uint8_t*>(gga), std::char_traits<char>::length(gga));
  reader_shared().gps_sentence.publish(r);
  {
    test::DialogPresser early(L"INFORMATION", 1);
    SendMessageW(g_log_window, WM_GPS_POSITION, 0, 0);
    EXPECT_FALSE(early.pressed());  // the handler returned without a box
  }
  EXPECT_EQ(s.survey.gps_position_count, kMaxGpsPositions);
  EXPECT_TRUE(s.sink.is_open());
  SendMessageW(g_log_window, WM_GPS_POSITION, 0, 0);  // a later fix counts no more
  EXPECT_EQ(s.survey.gps_position_count, kMaxGpsPositions);
  {
    test::DialogPresser ok(L"INFORMATION", 1);
    MSG msg;
    const DWORD start = GetTickCount();
    while (!ok.pressed() && GetTickCount() - start < 5000) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
    EXPECT_TRUE(ok.pressed());
  }
  EXPECT_FALSE(s.sink.is_open());
  EXPECT_EQ(s.survey.state, kStateMonitoring);
}

TEST_F(LoggingWindowTest, ExitInMonitoringAsksNothing) {
  start_monitoring();
  // As a running procedure leaves them: every button but Exit disabled.
  const LoggingChildren& c = logging_session().children;
  for (HWND b : {c.buttons[0], c.buttons[1], c.buttons[3], c.pause}) EnableWindow(b, FALSE);
  key('X');
  EXPECT_EQ(logging_session().survey.state, kStateClosed);
  EXPECT_FALSE(IsWindowVisible(g_log_window));
  EXPECT_EQ(GetFocus(), main_);
  for (HWND b : {c.buttons[0], c.buttons[1], c.buttons[3], c.pause}) EXPECT_TRUE(IsWindowEnabled(b));
  EXPECT_EQ(window_text(c.buttons[0]), L"&File");
}

TEST_F(LoggingWindowTest, ClosingTheProgramEndsARunningSurvey) {
  start_monitoring();
  open_file_by_command();
  key('G');
  reading("T$-1004-1149");
  DestroyWindow(main_);  // no question: the survey ends with the program
  EXPECT_EQ(logging_session().survey.state, kStateClosed);
  EXPECT_FALSE(logging_session().sink.is_open());
  const std::string bytes = file_bytes();
  EXPECT_EQ(bytes.size(), 2u * 24) << bytes;
}

TEST_F(LoggingWindowTest, TabMovesTheDefaultButtonAndEnterPressesIt) {
  start_monitoring();
  open_file_by_command();
  key(VK_TAB);
  key(VK_TAB);  // Go -> QLine -> Exit
  EXPECT_EQ(logging_session().focused_button, 2);
  EXPECT_EQ(GetWindowLongPtrW(logging_session().children.buttons[2], GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  {
    test::DialogPresser yes(L"Confirm Exit", 1);
    key(VK_RETURN);
    EXPECT_TRUE(yes.pressed());
  }
  EXPECT_EQ(logging_session().survey.state, kStateClosed);
}

// EM34-3 in Manual mode: two trigger presses, each averaged over two
// automatic samples, make a station of two readings, confirmed by the
// operator and written together.
TEST_F(LoggingWindowTest, Em34ManualStationGroupIsConfirmedAndWrittenTogether) {
  g_variant = {kEm34_3, kNavigation};  // restored by the fixture
  g_settings.survey_mode = kModeManual;
  g_settings.dipole_mode = 1;  // two readings per station
  g_settings.manual_reading_count = 2;
  start_monitoring();
  open_file_by_command();
  key('G');
  ASSERT_EQ(logging_session().survey.state, kStateLogging);
  reading("T\x50+0100+0010");  // trigger pressed (marker bit 0x40), V 10 m
  EXPECT_EQ(logging_session().display.reading_count_text, "Sample 0   of 2  ");
  reading("T\x10+0100+0010");
  reading("T\x10+0300+0030");  // the second sample: the average is held
  EXPECT_EQ(logging_session().display.reading_count_text, "Rdg: 1 of 2");
  reading("T\x50+0200+0000");  // second press
  reading("T\x10+0200+0000");
  {
    test::DialogPresser ok(L"Station Readings", 1);
    reading("T\x10+0401+0001");  // its last sample: the group is full
    EXPECT_TRUE(ok.pressed());
  }
  reading("T\x00+0200+0000");
  key('P');
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  const std::size_t length = 27;
  ASSERT_EQ(bytes.size(), 4 * length) << bytes;  // $STARTED, the station's two readings, PAUSED
  EXPECT_EQ(bytes.substr(length, 12), "T\x50+0200+0020");
  EXPECT_EQ(bytes.substr(2 * length, 12), "T\x50+0301+0001");
  EXPECT_EQ(bytes.substr(3 * length, 7), "XPAUSED");
}

// F in Monitoring: the save dialog proposes the name of the day in the data
// folder, Enter (OK) accepts it, the new file gets its header and line block
// and the survey is in Stand By; the file passes the data-file check.
// The EM34-3 block shows the coil and spacing of the last record; before
// the first one, the spacing the settings select.
TEST_F(LoggingWindowTest, Em34BlockShowsTheSpacingTheRecordsCarry) {
  g_variant = {kEm34_3, kNavigation};  // restored by the fixture
  g_settings.survey_mode = kModeAuto;
  g_settings.dipole_mode = 2;  // Vertical-40m
  start_monitoring();
  auto rows = [] { return current_status_texts().instrument_rows; };
  ASSERT_EQ(rows().size(), 3u);
  EXPECT_EQ(rows()[2], "Sep:    40 m");
  const struct {
    const char* record;
    const char* dipole;
    const char* spacing;
  } cases[] = {{"T\x08+0100+0000", "Dipole: Vertical", "Sep:    20 m"},
               {"T\x10+0100+0000", "Dipole: Vertical", "Sep:    10 m"},
               {"T\x38+0100+0000", "Dipole: Horiz.", "Sep:    40 m"}};
  for (const auto& c : cases) {
    reading(c.record);
    EXPECT_EQ(rows()[1], c.dipole) << c.record;
    EXPECT_EQ(rows()[2], c.spacing) << c.record;
  }
}

TEST_F(LoggingWindowTest, FileCreatesTheProposedFileAndStandsBy) {
  Win32FileSystem fs;
  Settings on_disk = g_settings;  // the settings file is rewritten: put it back afterwards
  start_monitoring();
  g_settings.data_folder = folder_ + L"\\";
  {
    test::DialogPresser ok(L"Create Data File", IDOK);
    key('F');
    EXPECT_TRUE(ok.pressed());
  }
  const LoggingSession& s = logging_session();
  EXPECT_EQ(s.survey.state, kStateStandBy);
  EXPECT_EQ(window_text(button_460()), L"&Go");
  ASSERT_TRUE(s.sink.is_open());
  const std::wstring created = s.sink.path();
  EXPECT_EQ(created.substr(0, folder_.size() + 1), folder_ + L"\\");
  const std::wstring name = created.substr(folder_.size() + 1);
  EXPECT_EQ(name.size(), std::wstring(L"261208_000.H31").size()) << name;
  EXPECT_EQ(name.substr(6), L"_000.H31") << name;
  key('G');
  reading("T$-1004-1149");
  key('P');
  {
    test::DialogPresser yes(L"Confirm Exit", 1);
    key('X');
  }
  path_ = created;
  const std::string bytes = file_bytes();
  const FileCheckReport report = check_data_file(bytes);
  EXPECT_EQ(report.record_length, 24);
  EXPECT_EQ(report.headers, 1);
  EXPECT_EQ(report.lines, 1);
  EXPECT_EQ(report.error_count, 0);
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << "record " << e.record << ": " << e.message;
  EXPECT_NE(bytes.find("T$-1004-1149"), std::string::npos);
  settings_file_operation(kSaveSettings, on_disk, g_variant, fs);
}

// EM34-3 in Manual mode saves its battery: a silent instrument stops the
// timer and asks; No ends the connection with "$CONN END" (no "PAUSED" after
// it) and Stand By; Go then reopens the port and the survey goes on.
TEST_F(LoggingWindowTest, Em34BatterySaveNoEndsTheConnectionInStandBy) {
  g_variant = {kEm34_3, kNavigation};
  g_settings.survey_mode = kModeManual;
  g_settings.instrument_port = 40;  // COM41: no such port, Go's reopening fails
  start_monitoring();
  open_file_by_command();
  key('G');
  ASSERT_EQ(logging_session().survey.state, kStateLogging);
  reader_shared().last_record_tick.store(GetTickCount() - 5000);
  {
    test::DialogPresser no(L"EM34-3 Battery Save Mode", 2);
    SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);
    EXPECT_TRUE(no.pressed());
  }
  EXPECT_EQ(logging_session().survey.state, kStateStandBy);
  EXPECT_EQ(window_text(button_460()), L"&Go");
  EXPECT_EQ(logging_session().survey.records_per_reading, 1);
  EXPECT_TRUE(logging_session().battery_saved);
  {
    // Go reopens the port; OK on whatever the failed port reports.
    static int answered = 0;
    answered = 0;
    const UINT_PTR presser = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
      if (HWND d = FindWindowW(L"#32770", nullptr)) {
        ++answered;
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, 1)));
      }
    });
    key('G');
    KillTimer(nullptr, presser);
  }
  EXPECT_EQ(logging_session().survey.state, kStateLogging);
  EXPECT_FALSE(logging_session().battery_saved);
  // The port could not be reopened: the monitor runs again and reports the break.
  reader_shared().last_record_tick.store(GetTickCount() - 5000);
  SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);
  EXPECT_TRUE(logging_session().survey.connection_lost);
  KillTimer(g_log_window, kConnectionTimer);
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  const std::size_t end = bytes.find("X$CONN END");
  ASSERT_NE(end, std::string::npos) << bytes;
  const std::size_t paused = bytes.find("XPAUSED");
  EXPECT_TRUE(paused == std::string::npos || paused < end) << bytes;
  EXPECT_NE(bytes.find("X1CONN BRK 1", end), std::string::npos) << bytes;  // after Go, not instead of the question
}

// Yes with an instrument that cannot be reached: the monitor keeps running
// and reports the break instead of asking again.
TEST_F(LoggingWindowTest, Em34PortNotReopenedKeepsReportingTheBreak) {
  g_variant = {kEm34_3, kNavigation};
  g_settings.survey_mode = kModeManual;
  g_settings.instrument_port = 40;  // COM41: no such port
  start_monitoring();
  open_file_by_command();
  key('G');
  ASSERT_EQ(logging_session().survey.state, kStateLogging);
  reader_shared().last_record_tick.store(GetTickCount() - 5000);
  {
    // Yes, then OK on whatever the failed port reports.
    static int answered = 0;
    answered = 0;
    const UINT_PTR presser = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
      if (HWND d = FindWindowW(L"#32770", nullptr)) {
        ++answered;
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, 1)));
      }
    });
    SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);
    KillTimer(nullptr, presser);
    EXPECT_GE(answered, 1);
  }
  ASSERT_FALSE(logging_session().instrument_port_open);
  reader_shared().last_record_tick.store(GetTickCount() - 5000);
  SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);  // no second question
  EXPECT_TRUE(logging_session().survey.connection_lost);
  EXPECT_EQ(logging_session().survey.state, kStateLogging);
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  EXPECT_NE(bytes.find("X1CONN BRK 1"), std::string::npos) << bytes;
  KillTimer(g_log_window, kConnectionTimer);
}

// A silent EM31-MK2 while logging: one break remark however long it lasts.
TEST_F(LoggingWindowTest, SilentInstrumentGivesOneBreakRemark) {
  start_monitoring();
  open_file_by_command();
  key('G');
  g_settings.disconnection_alarm = 1;
  reset_sound_counts();
  reader_shared().last_record_tick.store(GetTickCount() - 5000);
  for (int tick = 0; tick < 4; ++tick) SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);
  EXPECT_TRUE(logging_session().survey.connection_lost);
  EXPECT_EQ(sound_play_count(Sound::kRing), 4);  // the ring goes on while the break lasts
  reading("T$-1004-1149");
  reader_shared().last_record_tick.store(GetTickCount());
  SendMessageW(g_log_window, WM_TIMER, kConnectionTimer, 0);
  EXPECT_FALSE(logging_session().survey.connection_lost);
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  std::size_t breaks = 0;
  for (std::size_t at = bytes.find("X1CONN BRK 1"); at != std::string::npos; at = bytes.find("X1CONN BRK 1", at + 1))
    ++breaks;
  EXPECT_EQ(breaks, 1u) << bytes;
}

// Painting gives the keys back to the logging window, but never takes them
// from another window that holds them.
TEST_F(LoggingWindowTest, PaintGivesTheFocusBackUnlessAnotherWindowHoldsIt) {
  start_monitoring();
  SetFocus(main_);
  RedrawWindow(g_log_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(GetFocus(), g_log_window);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetFocus(other);
  RedrawWindow(g_log_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(GetFocus(), other);
  DestroyWindow(other);
}

// The notice over the first profile redraws its neighbour's frame and leaves
// the neighbour to repaint.
TEST_F(LoggingWindowTest, LostConnectionNoticeRedrawsTheNeighbouringProfile) {
  start_monitoring();
  HWND neighbour = logging_session().children.curves[1];
  ShowWindow(neighbour, SW_SHOW);
  UpdateWindow(neighbour);
  ValidateRect(neighbour, nullptr);
  SetFocus(main_);
  draw_lost_connection_notice(g_log_window);
  RECT pending{};
  EXPECT_TRUE(GetUpdateRect(neighbour, &pending, FALSE));
  EXPECT_EQ(GetFocus(), g_log_window);
  ShowWindow(neighbour, SW_HIDE);
}

TEST_F(LoggingWindowTest, CommandsThatNeedTheGpsSaySoWithoutIt) {
  start_monitoring();  // no GPS
  for (WPARAM k : {WPARAM('B'), WPARAM('W'), WPARAM('S')}) {
    test::DialogPresser ok(L"INFORMATION", 1);
    key(k);
    EXPECT_TRUE(ok.pressed()) << static_cast<char>(k);
  }
  EXPECT_EQ(logging_session().survey.state, kStateMonitoring);
}

// The selectors show in the real-time map line with GPS and the map view;
// the EM31-MK2 set to in-phase only hides the first, Toggle View all.
TEST_F(LoggingWindowTest, ChannelSelectorsFollowTheViewAndTheInphaseOnlyDisplay) {
  g_variant = {kEm31Mk2, kRealTimeMap};
  start_monitoring();
  LoggingSession& s = logging_session();
  s.gps_used = true;               // as after a start with GPS
  g_settings.colour_map_view = 1;  // the mapped channel, which the selectors mark
  lay_out_logging_window(g_log_window);
  ASSERT_EQ(s.children.selector_count, 2);
  const auto shown = [&](int i) { return IsWindowVisible(s.children.selectors[static_cast<std::size_t>(i)]) != 0; };
  for (int component : {0, 1}) {
    g_settings.component = component;
    show_channel_selectors(true);
    EXPECT_EQ(shown(0), component == 0) << component;
    EXPECT_TRUE(shown(1)) << component;
  }
  run_logging_command(g_log_window, kCmdToggleView);
  EXPECT_FALSE(current_logging_layout().map_shown);
  EXPECT_FALSE(shown(1));
  run_logging_command(g_log_window, kCmdToggleView);
  EXPECT_TRUE(current_logging_layout().map_shown);
  EXPECT_TRUE(shown(1));
}

// Works one dialog of a command by its controls, as a keyboard user would
// leave them, then presses OK (1) or Cancel (2).
struct DialogWork {
  const wchar_t* title;
  void (*fill)(HWND dialog);
  int button;
};

void run_with_dialog(int command, const DialogWork& work) {
  static const DialogWork* current = nullptr;
  static bool done = false;
  current = &work;
  done = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
    if (done) return;
    HWND d = FindWindowW(L"#32770", current->title);
    if (!d) return;
    done = true;
    current->fill(d);
    PostMessageW(d, WM_COMMAND, MAKEWPARAM(current->button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, current->button)));
  });
  run_logging_command(g_log_window, command);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(done) << "no dialog for command " << command;
}

TEST_F(LoggingWindowTest, OptionDialogsChangeTheSettings) {
  start_monitoring();
  g_settings.audio_ticks = 1;
  g_settings.disconnection_alarm = 1;
  g_settings.coordinates_display = 0;
  run_with_dialog(kCmdAudioOptions, {L"Audio Options",
                                     [](HWND d) {
                                       SendDlgItemMessageW(d, 2131, BM_CLICK, 0, 0);  // ticks off
                                     },
                                     1});
  EXPECT_EQ(g_settings.audio_ticks, 0);
  EXPECT_EQ(g_settings.disconnection_alarm, 1);
  run_with_dialog(kCmdCoordinatesUnits, {L"Coordinates Display Units",
                                         [](HWND d) {
                                           SendDlgItemMessageW(d, 2143, BM_CLICK, 0, 0);  // UTM feet
                                         },
                                         1});
  EXPECT_EQ(g_settings.coordinates_display, 2);
  run_with_dialog(kCmdCoordinatesUnits,
                  {L"Coordinates Display Units", [](HWND d) { SendDlgItemMessageW(d, 2141, BM_CLICK, 0, 0); },
                   2});  // Cancel keeps UTM feet
  EXPECT_EQ(g_settings.coordinates_display, 2);
}

// The numbers window as the layout sizes it: every row of a wide EM31-MK2
// reading, the vertical dipole's included, fits it in the one font chosen
// (Wine's substitute for the text font cut "Dipole: Vertical").
TEST_F(LoggingWindowTest, NumbersRowsFitTheNumbersWindow) {
  start_monitoring();
  const HWND numbers = logging_session().children.numbers;
  RECT client{};
  GetClientRect(numbers, &client);
  TRecordNumbers t;
  t.instrument_type = kEm31Mk2;
  t.have_reading = true;
  t.first_value = -999.99;
  t.second_value = -99.99;
  t.range = 1000;
  t.dipole = 'V';
  t.lines = 4;
  const std::vector<std::string> rows = t_record_numbers_rows(t);
  ASSERT_EQ(rows.back(), "Dipole: Vertical");
  HDC dc = GetDC(numbers);
  const HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
  EXPECT_TRUE(select_numbers_font(dc, rows, client));
  auto width = [dc](const wchar_t* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
  };
  // Label and value as the painter sets them: apart by 4 pixels, inside the
  // frame's 2 pixels on the right and the rows' left edge at 4.
  EXPECT_LE(width(L"Dipole:") + 4 + width(L"Vertical"), client.right - 6);
  EXPECT_LE(width(L"C:") + 4 + width(L"-999.99"), client.right - 6);
  SelectObject(dc, old);
  ReleaseDC(numbers, dc);
}

// New Station and Comment by their dialogs: the records in the file, and
// nothing for a cancelled comment.
TEST_F(LoggingWindowTest, StationAndCommentDialogsWriteTheirRecords) {
  start_monitoring();
  open_file_by_command();
  live_map_state().painter.has_position = true;  // a swath being painted
  run_with_dialog(kCmdNewStation, {L"New Station", [](HWND d) { SetDlgItemTextW(d, 2111, L"7.25"); }, 1});
  EXPECT_EQ(logging_session().survey.station, 7.25);
  EXPECT_FALSE(live_map_state().painter.has_position);  // the next fix starts a new one
  run_with_dialog(kCmdComment, {L"Comment", [](HWND d) { SetDlgItemTextW(d, 2121, L"not this one"); }, 2});
  run_with_dialog(kCmdComment, {L"Comment", [](HWND d) { SetDlgItemTextW(d, 2121, L"culvert 3 m left"); }, 1});
  logging_session().sink.close();
  const std::string bytes = file_bytes();
  ASSERT_EQ(bytes.size() % 24, 0u) << bytes;
  std::vector<std::string> tags;
  for (std::size_t at = 0; at < bytes.size(); at += 24) tags.push_back(bytes.substr(at, 12));
  ASSERT_EQ(tags.size(), 3u) << bytes;
  EXPECT_EQ(tags[0].substr(0, 12), "S       7.25");
  EXPECT_EQ(tags[1][0], '*');
  EXPECT_EQ(tags[2], "Cculvert 3 m");
}

// Every popup menu resource holds, as its one popup, the items of its menu
// in order with the texts of the command table.
TEST(LoggingMenu, ResourcesMatchTheCommandTable) {
  for (int id = kFirstPopupMenuId; id < kFirstPopupMenuId + kPopupMenuCount; ++id) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    ASSERT_NE(menu, nullptr) << id;
    ASSERT_EQ(GetMenuItemCount(menu), 1) << id;
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr) << id;
    const std::span<const int> items = popup_menu_items(id);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size())) << id;
    for (std::size_t k = 0; k < items.size(); ++k) {
      EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(k)), static_cast<UINT>(items[k])) << id << " item " << k;
      wchar_t text[64] = {};
      GetMenuStringW(popup, static_cast<UINT>(k), text, 64, MF_BYPOSITION);
      EXPECT_EQ(text, widen(menu_item_text(items[k], popup_menu_instrument(id)))) << id << " item " << k;
    }
    DestroyMenu(menu);
  }
}

}  // namespace
}  // namespace quelor
