// The instrument and tilt reader threads on the COM13/COM14 line: bytes
// written on COM14 are framed by the reader on COM13 and announced to a
// test window.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "app/readers/instrument_reader.h"
#include "app/readers/reader_sound.h"
#include "app/readers/serial_ports.h"
#include "port_fixture.h"
#include "serial/reading_messages.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using test::FarEnd;
using test::pump_until;
using test::window_log;

std::string em31_record(char tag) { return std::string("T") + tag + "0123405678"; }

std::string nmea_checksum(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  return hex;
}

std::atomic<int> g_repaints{0};
std::atomic<int> g_blanks{0};
std::mutex g_comment_mutex;
std::vector<std::string> g_comments;

class Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    test::reset_reader_shared();
    test::catch_messages();
    g_repaints = 0;
    g_blanks = 0;
    std::lock_guard lock(g_comment_mutex);
    g_comments.clear();
  }
  void TearDown() override {
    stop_reader(reader_shared().instrument_thread, reader_shared().instrument_reader_state);
    stop_reader(reader_shared().tilt_thread, reader_shared().tilt_reader_state);
    test::reset_reader_shared();
    set_port_message_sink(nullptr);
  }
  // Closing the port is the stop order; the reader leaves within a time-out.
  static void stop_reader(std::atomic<HANDLE>& thread_slot, std::atomic<int>& state) {
    close_instrument_port();
    close_tilt_port();
    HANDLE thread = thread_slot.exchange(nullptr);
    if (thread == nullptr) return;
    EXPECT_TRUE(wait_thread_end(thread, 2000));
    CloseHandle(thread);
    EXPECT_EQ(state.load(), kReaderFinished);
  }
  int count(UINT message) { return window_log().count[message]; }
};

TEST_F(Reader, Em31StreamJoinedMidRecordPostsEachRecord) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm31Mk2, 0), true), 1);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm31Mk2;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  ASSERT_TRUE(pump_until([] { return reader_shared().instrument_reader_state.load() == kReaderRunning; }, 2000));
  const DWORD before = GetTickCount();
  const std::uint32_t records = reader_shared().framed_records.load();
  EXPECT_FALSE(wait_for_record(records, 100));  // nothing sent yet
  remote.write("405678\r" + em31_record('A') + "\r" + em31_record('B') + "\r" + em31_record('C') + "\r");
  EXPECT_TRUE(wait_for_record(records, 1000));
  ASSERT_TRUE(pump_until([&] { return count(WM_EM31_READING) == 3; }, 3000)) << count(WM_EM31_READING);
  pump_until([] { return false; }, 100);  // nothing more arrives
  EXPECT_EQ(count(WM_EM31_READING), 3);
  ASSERT_EQ(window_log().records.size(), 3u);  // each record once, in order
  EXPECT_EQ(window_log().records[0], em31_record('A'));
  EXPECT_EQ(window_log().records[1], em31_record('B'));
  EXPECT_EQ(window_log().records[2], em31_record('C'));
  EXPECT_FALSE(take_instrument_record());
  EXPECT_GE(reader_shared().last_record_tick.load() - before, 0u);
  EXPECT_LT(GetTickCount() - reader_shared().last_record_tick.load(), 3000u);
  EXPECT_LT(GetTickCount() - reader_shared().arrival_tick.load(), 3000u);
  EXPECT_EQ(reader_shared().record_length.load(), 12);
}

TEST_F(Reader, DecimationCountsBadLinesTowardTheFactor) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm34_3, 0), true), 1);
  reader_shared().survey.records_per_reading.store(3);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm34_3;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  Sleep(50);
  // good, bad, good (3rd: posted), good, good, good (3rd: posted)
  remote.write(em31_record('A') + "\rX12345678901\r" + em31_record('B') + "\r" + em31_record('C') + "\r" +
               em31_record('D') + "\r" + em31_record('E') + "\r");
  ASSERT_TRUE(pump_until([&] { return count(WM_EM34_READING) == 2; }, 3000)) << count(WM_EM34_READING);
  pump_until([] { return false; }, 150);
  EXPECT_EQ(count(WM_EM34_READING), 2);
  EXPECT_EQ(window_log().records.back(), em31_record('E'));
}

TEST_F(Reader, ClosingThePortEndsTheReader) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm38Mk2, 1), true), 1);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm38Mk2;
  HANDLE thread = start_instrument_reader(setup, false);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(pump_until([] { return reader_shared().instrument_reader_state.load() == kReaderRunning; }, 2000));
  const DWORD start = GetTickCount();
  close_instrument_port();
  EXPECT_TRUE(wait_thread_end(thread, 1000));
  EXPECT_LT(GetTickCount() - start, 500u);
  EXPECT_EQ(reader_shared().instrument_reader_state.load(), kReaderFinished);
}

std::string em61_record(char letter) {
  std::string r(1, letter);
  for (int i = 0; i < 12; ++i) r.push_back(static_cast<char>(0x10 + i));
  return r + "\x7F\x7F";
}

TEST_F(Reader, Em61Lx2SendsAndRepaintsAfterTheDisplayWasCleared) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm61Lx2, 0), true), 1);
  reader_shared().display_cleared.store(true);
  reader_shared().hooks.repaint_status_area.store([] { ++g_repaints; });
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm61Lx2;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  Sleep(50);
  remote.write("\x01\x7F" + em61_record('J') + em61_record('T'));  // J: not an LX2 letter
  ASSERT_TRUE(pump_until([&] { return count(WM_LX2_READING) == 1; }, 3000));
  pump_until([] { return false; }, 100);
  EXPECT_EQ(count(WM_LX2_READING), 1);
  const std::string expected = em61_record('T').substr(0, 14);
  EXPECT_EQ(window_log().records.back(), expected);
  EXPECT_EQ(g_repaints.load(), 1);
  EXPECT_FALSE(reader_shared().display_cleared.load());
}

TEST_F(Reader, Em61WakesTheInstrumentWhenTheConnectionWasLost) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().connection_lost.store(true);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm61Mk2;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  std::string heard;
  const DWORD start = GetTickCount();
  while (heard.find("HX") == std::string::npos && GetTickCount() - start < 3000) heard += remote.read_for(50);
  ASSERT_NE(heard.find("HX"), std::string::npos) << heard;
  remote.write("OK");
  ASSERT_TRUE(pump_until([] { return !reader_shared().connection_lost.load(); }, 4000));
  EXPECT_EQ(reader_shared().instrument_answer.load(), 1);
  remote.write(em61_record('M'));
  ASSERT_TRUE(pump_until([&] { return count(WM_EM61_READING) == 1; }, 3000));
  EXPECT_EQ(window_log().records.back(), em61_record('M').substr(0, 14));
}

TEST_F(Reader, Em38_4MarkerBitAndNoLineActiveOnAPty) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm38_4, 1), true), 1);
  reader_shared().survey.status_port.store(ports.line_a);  // GetCommModemStatus fails on a pty
  reader_shared().survey.marker.store(true);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm38_4;
  setup.port_number = ports.line_a;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  Sleep(50);
  std::string record = "T";
  record.push_back('\x01');
  for (int i = 0; i < 24; ++i) record.push_back(static_cast<char>('a' + i));
  const DWORD tick_before = reader_shared().last_record_tick.load();
  remote.write(record + "\xFF\xFF");
  ASSERT_TRUE(pump_until([&] { return count(WM_EM38_4_READING) == 1; }, 3000));
  const std::string got = window_log().records.back();
  ASSERT_EQ(got.size(), 26u);
  EXPECT_EQ(got[1], 0x01 + 8);
  EXPECT_EQ(got.substr(2), record.substr(2));
  EXPECT_EQ(reader_shared().last_record_tick.load(), tick_before);  // monitored on the arrival tick
}

TEST_F(Reader, TiltSentencesGoToTheWindowAndBadLinesToTheDataFile) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_tilt_port_at(ports.line_a - 1, tilt_line_settings(5)), 1);
  reader_shared().hooks.write_tilt_comment.store([](std::string_view line) {
    std::lock_guard lock(g_comment_mutex);
    g_comments.emplace_back(line);
  });
  ASSERT_NE(start_tilt_reader(), nullptr);
  Sleep(50);
  const std::string body = "PTLT,1.25,-0.50";
  const std::string good = "$" + body + "*" + nmea_checksum(body);
  const std::string bad = "$" + body + "*00";
  remote.write(bad + "\r\n");  // not logging: dropped
  remote.write(good + "\r\n");
  ASSERT_TRUE(pump_until([&] { return count(WM_TILT_READING) == 1; }, 3000));
  EXPECT_EQ(window_log().records.back(), good);
  reader_shared().survey.logging.store(true);
  remote.write(bad + "\r\nPTLT no dollar\r\n");
  ASSERT_TRUE(pump_until(
      [] {
        std::lock_guard lock(g_comment_mutex);
        return g_comments.size() == 2;
      },
      3000));
  pump_until([] { return false; }, 100);
  EXPECT_EQ(count(WM_TILT_READING), 1);
  std::lock_guard lock(g_comment_mutex);
  ASSERT_EQ(g_comments.size(), 2u);
  EXPECT_EQ(g_comments[0], bad);
  EXPECT_EQ(g_comments[1], "PTLT no dollar");
  EXPECT_EQ(tilt_sentence().text(), "PTLT no dollar");
}

TEST_F(Reader, TiltFieldsBlankedAfterTwoSecondsWithoutASentence) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_tilt_port_at(ports.quiet - 1, tilt_line_settings(5)), 1);
  reader_shared().hooks.blank_tilt_fields.store([] { ++g_blanks; });
  ASSERT_NE(start_tilt_reader(), nullptr);
  Sleep(1500);
  EXPECT_EQ(g_blanks.load(), 0);
  ASSERT_TRUE(pump_until([] { return g_blanks.load() == 1; }, 2000));
  Sleep(300);
  EXPECT_EQ(g_blanks.load(), 1);  // once per silence
}

TEST(ReaderTraits, StampsAndExtrasByInstrument) {
  EXPECT_TRUE(reader_traits(kEm31Mk2, {}).stamps_last_record);
  EXPECT_FALSE(reader_traits(kEm38_4, {}).stamps_last_record);
  EXPECT_TRUE(reader_traits(kEm38_4, {}).stamps_arrival);
  EXPECT_TRUE(reader_traits(kEm38_4, {}).reads_modem_status);
  EXPECT_TRUE(reader_traits(kEm61Lx2, {}).repaints_after_blank);
  EXPECT_TRUE(reader_traits(kGrad601, {}).repaints_after_blank);
  EXPECT_TRUE(reader_traits(kCs21, {}).repaints_after_blank);
  EXPECT_FALSE(reader_traits(kEm61Mk2, {}).repaints_after_blank);
  ReaderOptions polled;
  polled.polled = true;
  EXPECT_TRUE(reader_traits(kEm61Mk2, polled).polled);
  EXPECT_FALSE(reader_traits(kEm61Mk2, polled).stamps_last_record);
  ReaderOptions second;
  second.second_mode = true;
  EXPECT_TRUE(reader_traits(kEm61Mk2, second).stamps_last_record);
  EXPECT_FALSE(reader_traits(kEm61Mk2, second).wakes_on_connection_lost);
  EXPECT_TRUE(reader_traits(kEm61Mk2, {}).wakes_on_connection_lost);
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

TEST_F(Reader, PolledEm61ReadsOneRecordPerRequest) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().survey.polling_timeout_ms.store(200);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm61Mk2;
  setup.options.polled = true;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  ASSERT_NE(reader_shared().poll_event.load(), nullptr);
  Sleep(50);
  const DWORD tick_before = reader_shared().last_record_tick.load();
  Sleep(20);
  ASSERT_EQ(request_polled_reading(), 1);
  EXPECT_EQ(request_polled_reading(), 0);                           // not idle until the record came
  EXPECT_NE(reader_shared().last_record_tick.load(), tick_before);  // stamped by the request
  std::string heard;
  const DWORD start = GetTickCount();
  while (heard.find('A') == std::string::npos && GetTickCount() - start < 2000) heard += remote.read_for(20);
  ASSERT_NE(heard.find('A'), std::string::npos);
  remote.write(em61_record('P'));
  ASSERT_TRUE(pump_until([&] { return count(WM_EM61_READING) == 1; }, 3000));
  EXPECT_TRUE(reader_shared().polled_idle.load());
  EXPECT_EQ(WaitForSingleObject(reader_shared().poll_event.load(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(request_polled_reading(), 1);
}

// A poll that gets no answer is given up after the poll time-out, and the
// next one does not restart the connection wait: a silent instrument breaks.
TEST_F(Reader, PolledEm61GivesAnUnansweredPollUp) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().survey.polling_timeout_ms.store(100);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm61Mk2;
  setup.options.polled = true;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  Sleep(50);
  reader_shared().last_record_tick.store(0);
  ASSERT_EQ(request_polled_reading(), 1);
  const DWORD stamped = reader_shared().last_record_tick.load();
  EXPECT_NE(stamped, 0u);  // the first poll: the previous one counts as answered
  ASSERT_TRUE(pump_until([] { return reader_shared().polled_idle.load(); }, 1000));
  EXPECT_FALSE(reader_shared().poll_answered.load());
  Sleep(20);
  ASSERT_EQ(request_polled_reading(), 1);
  EXPECT_EQ(reader_shared().last_record_tick.load(), stamped);
  remote.write(em61_record('P'));
  ASSERT_TRUE(pump_until([&] { return count(WM_EM61_READING) == 1; }, 3000));
  EXPECT_TRUE(reader_shared().poll_answered.load());
}

// A held reader reads nothing; at the release it reads what the port got
// meanwhile, counts those readings and delivers none of them.
TEST_F(Reader, HeldReaderDeliversNothingAndCountsWhatItDiscards) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kEm31Mk2, 0), true), 1);
  InstrumentReaderSetup setup;
  setup.instrument_type = kEm31Mk2;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  ASSERT_TRUE(pump_until([] { return reader_shared().instrument_reader_state.load() == kReaderRunning; }, 2000));
  Sleep(50);  // past the reader's purge of the port at its start
  remote.write(em31_record('A') + "\r");
  ASSERT_TRUE(pump_until([&] { return count(WM_EM31_READING) == 1; }, 3000));
  ASSERT_TRUE(hold_reader(ReaderRole::kTimed));
  EXPECT_TRUE(reader_shared().instrument_hold.held.load());
  remote.write(em31_record('B') + "\r" + em31_record('C') + "\r" + em31_record('D') + "\r");
  pump_until([] { return false; }, 300);
  EXPECT_EQ(count(WM_EM31_READING), 1);
  release_reader(ReaderRole::kTimed, true);
  ASSERT_TRUE(pump_until([] { return reader_shared().discarded_readings.load() == 3; }, 2000))
      << reader_shared().discarded_readings.load();
  EXPECT_FALSE(reader_shared().instrument_hold.held.load());
  remote.write(em31_record('E') + "\r");
  ASSERT_TRUE(pump_until([&] { return count(WM_EM31_READING) == 2; }, 3000));
  EXPECT_EQ(window_log().records.back(), em31_record('E'));
}

TEST_F(Reader, Grad601LinesAreSentWithoutTheirLineEnd) {
  QUELOR_NEED_PORTS(ports);
  FarEnd remote(ports.line_b);
  ASSERT_TRUE(remote.ok());
  ASSERT_EQ(open_instrument_port_at(ports.line_a - 1, instrument_line_settings(kGrad601, 0), true), 1);
  reader_shared().display_cleared.store(true);
  reader_shared().hooks.repaint_status_area.store([] { ++g_repaints; });
  InstrumentReaderSetup setup;
  setup.instrument_type = kGrad601;
  ASSERT_NE(start_instrument_reader(setup, false), nullptr);
  Sleep(50);
  remote.write("12,3\r\n$PXYZ,1.0,2.0\r\n$PBAR,12.5,-3.25\r\n");
  ASSERT_TRUE(pump_until([&] { return count(WM_GRAD_READING) == 1; }, 3000));
  pump_until([] { return false; }, 100);
  EXPECT_EQ(count(WM_GRAD_READING), 1);
  EXPECT_EQ(window_log().records.back(), "$PBAR,12.5,-3.25");
  EXPECT_EQ(g_repaints.load(), 1);
  EXPECT_LT(GetTickCount() - reader_shared().last_record_tick.load(), 3000u);
}

TEST(ReaderSound, MissingWaveResourceIsNotPlayed) { EXPECT_FALSE(play_wave_resource(L"SOUND_RESULT_NOT_THERE")); }

}  // namespace
}  // namespace quelor
