#include <gtest/gtest.h>

#include "fakes.h"
#include "serial/em38_length.h"
#include "serial/instrument_command.h"
#include "serial/line_settings.h"
#include "serial/port_messages.h"
#include "serial/records_per_reading.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using test::FakeClock;
using test::ScriptedPort;

TEST(PortNames, ColonFormBelowTenBackslashFormFromTen) {
  EXPECT_EQ(port_device_name(0), L"COM1:");
  EXPECT_EQ(port_device_name(8), L"COM9:");
  EXPECT_EQ(port_device_name(9), L"\\\\.\\COM10");
  EXPECT_EQ(port_device_name(255), L"\\\\.\\COM256");
}

TEST(LineSettings, BaudTables) {
  const std::uint32_t gps[] = {4800, 9600, 19200, 38400, 57600, 115200};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(gps_baud(i), gps[i]);
    EXPECT_EQ(tilt_baud(i), gps[i]);
  }
  EXPECT_EQ(gps_baud(6), 4800u);
  EXPECT_EQ(gps_baud(-1), 4800u);
  EXPECT_FALSE(tilt_baud(6).has_value());
  const std::uint32_t inst[] = {9600, 19200, 38400, 57600, 115200};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(instrument_baud(i), inst[i]);
  EXPECT_FALSE(instrument_baud(5).has_value());
  EXPECT_FALSE(instrument_line_settings(kEm31Mk2, 5).baud.has_value());
}

TEST(LineSettings, InstrumentBaudIndexByType) {
  for (InstrumentType type : {kGrad601, kEm61Lx2, kEm61Mk2, kEm31Mk2, kEm38, kEm34_3, kCs21})
    EXPECT_EQ(instrument_baud_index(type), 0) << type;
  EXPECT_EQ(instrument_baud_index(kEm38Mk2), 1);
  EXPECT_EQ(instrument_baud_index(kEm38_4), 1);
  EXPECT_EQ(instrument_baud(instrument_baud_index(kEm38_4)), 19200u);
}

TEST(LineSettings, GpsFromSettings) {
  Settings s;
  s.gps_baud_rate = 6;
  s.gps_parity = 2;
  s.gps_data_bits = 0;
  s.gps_stop_bits = 1;
  LineSettings l = gps_line_settings(s);
  EXPECT_EQ(l.baud, 4800u);
  EXPECT_EQ(l.parity, Parity::kOdd);
  EXPECT_TRUE(l.parity_check);
  EXPECT_EQ(l.data_bits, 7);
  EXPECT_EQ(l.stop_bits, 2);
  EXPECT_EQ(l.in_queue, 4096u);
  EXPECT_EQ(l.out_queue, 4096u);
  EXPECT_EQ(l.read_interval_timeout, 50u);
  EXPECT_EQ(l.read_total_multiplier, 0u);
  EXPECT_EQ(l.read_total_constant, 50u);
  EXPECT_EQ(l.write_total_multiplier, 10u);
  EXPECT_EQ(l.write_total_constant, 50u);
  EXPECT_EQ(l.binary, true);
  EXPECT_EQ(l.dsr_sensitivity, false);
  EXPECT_EQ(l.tx_continue_on_xoff, true);
  EXPECT_FALSE(l.xon_xoff);
  EXPECT_EQ(l.dtr_enable, true);
  EXPECT_EQ(l.rts_enable, false);
  s.gps_parity = 0;
  s.gps_data_bits = 3;
  s.gps_stop_bits = 7;
  l = gps_line_settings(s);
  EXPECT_EQ(l.parity, Parity::kNone);
  EXPECT_FALSE(l.parity_check);
  EXPECT_EQ(l.data_bits, 8);
  EXPECT_EQ(l.stop_bits, 1);
  s.gps_parity = 1;
  EXPECT_EQ(gps_line_settings(s).parity, Parity::kEven);
}

TEST(LineSettings, InstrumentAndTilt) {
  for (InstrumentType type : {kGrad601, kEm61Lx2, kEm61Mk2, kEm31Mk2, kEm38Mk2}) {
    const LineSettings l = instrument_line_settings(type, instrument_baud_index(type));
    EXPECT_EQ(l.read_total_multiplier, type < 0 ? 10u : 0u);
    EXPECT_EQ(l.read_interval_timeout, 0u);
    EXPECT_EQ(l.read_total_constant, 10u);
    EXPECT_EQ(l.write_total_multiplier, 10u);
    EXPECT_EQ(l.write_total_constant, 10u);
    EXPECT_FALSE(l.in_queue.has_value());
    EXPECT_EQ(l.data_bits, 8);
    EXPECT_EQ(l.parity, Parity::kNone);
    EXPECT_EQ(l.binary, true);
    EXPECT_FALSE(l.dsr_sensitivity.has_value());
    EXPECT_EQ(l.rts_enable, true);
    EXPECT_EQ(l.dtr_enable, true);
    EXPECT_FALSE(l.xon_xoff);
  }
  const LineSettings t = tilt_line_settings(2);
  EXPECT_EQ(t.baud, 19200u);
  EXPECT_EQ(t.read_interval_timeout, 10u);
  EXPECT_EQ(t.read_total_constant, 10u);
  EXPECT_TRUE(t.xon_xoff);
  EXPECT_FALSE(t.binary.has_value());
  EXPECT_FALSE(t.dtr_enable.has_value());
  EXPECT_FALSE(t.rts_enable.has_value());
}

TEST(PortMessages, ErrorTextsByCodeAndDevice) {
  struct Case {
    std::uint32_t code;
    PortDevice device;
    const char* text;
  };
  const Case cases[] = {
      {2, PortDevice::kGnss, "Port COM5 does not exists"},
      {5, PortDevice::kInstrument, "COM5 is already open by another process, or insufficient permission is provided"},
      {32, PortDevice::kTilt, "COM5 is in use by other process"},
      {121, PortDevice::kGnss,
       "COM5 - A timeout occurred while waiting for a response from the GNSS/RTS (disconnected or powered off, "
       "port open but the device not streaming, incorrect settings: baud rate, parity, etc., faulty cabling)."},
      {121, PortDevice::kInstrument,
       "COM5 - A timeout occurred while waiting for a response from the instrument (disconnected or powered off, "
       "port open but the device not streaming, or faulty cabling)."},
      {121, PortDevice::kTilt,
       "COM5 - A timeout occurred while waiting for a response from the Tiltmeter (disconnected or powered off, "
       "port open but the device not streaming, incorrect settings: baud rate, parity, etc., faulty cabling)."},
      {87, PortDevice::kGnss, "Port COM5 cannot be open - Error #87. For a full list, see Windows System Error Codes."},
  };
  for (const Case& c : cases) {
    const PortMessage m = port_error_message(c.code, 4, c.device);
    EXPECT_EQ(m.title, "Serial Port");
    ASSERT_EQ(m.lines.size(), 1u);
    EXPECT_EQ(m.lines[0], c.text);
  }
  EXPECT_EQ(port_error_message(2, 11, PortDevice::kGnss).lines[0], "Port COM12 does not exists");
  const PortMessage tilt = tilt_open_error_message(6);
  EXPECT_EQ(tilt.title, "Serial Port Issue");
  EXPECT_EQ(tilt.lines[0], "Cannot open Tilt port COM7");
}

int answer_of(ScriptedPort& port, FakeClock& clock, int& answer, int reopen = 0, const ReopenInstrumentPort& r = {}) {
  return send_instrument_command(port, clock, 'H', 'X', reopen, r, answer);
}

TEST(InstrumentCommand, AnswersTable) {
  struct Case {
    const char* reply;
    int result;
    int answer;
  };
  const Case cases[] = {
      {"OK", 1, 1},  {"OV", 1, 0},  {"O\x13zK", 1, 1}, {"K", 0, -7}, {"V", 0, -7},
      {"KOK", 1, 1}, {"OOV", 1, 0}, {"xxOx\rV", 1, 0}, {"", 0, -7},  {"O", 0, -7},
  };
  for (const Case& c : cases) {
    FakeClock clock(5000);
    ScriptedPort port(clock);
    port.answer_each_command(30, c.reply);
    int answer = -7;
    EXPECT_EQ(answer_of(port, clock, answer), c.result) << c.reply;
    EXPECT_EQ(answer, c.answer) << c.reply;
  }
}

TEST(InstrumentCommand, ThreeOneSecondWindowsThenGivesUp) {
  FakeClock clock(0xFFFFF000u);  // across the tick wrap
  ScriptedPort port(clock);
  int answer = 5;
  EXPECT_EQ(answer_of(port, clock, answer), 0);
  EXPECT_EQ(answer, 5);
  EXPECT_EQ(port.written, "HXHXHX");
  ASSERT_EQ(port.write_times.size(), 6u);
  EXPECT_EQ(port.write_times[1] - port.write_times[0], 40u);
  EXPECT_GE(port.write_times[2] - port.write_times[1], 1000u);
  EXPECT_LT(port.write_times[2] - port.write_times[1], 1020u);
  EXPECT_EQ(port.purges, 1);
}

TEST(InstrumentCommand, AnswerInTheThirdWindow) {
  FakeClock clock(0);
  ScriptedPort port(clock);
  port.answer_each_command(900, "OK", 3);
  int answer = 0;
  EXPECT_EQ(answer_of(port, clock, answer), 1);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(port.written, "HXHXHX");
}

TEST(InstrumentCommand, ReopenStepUsesTheReopenedPort) {
  FakeClock clock(0);
  ScriptedPort old_port(clock);
  ScriptedPort new_port(clock);
  new_port.answer_each_command(5, "OV");
  int closes = 0;
  std::uint32_t opened_at = 0;
  ReopenInstrumentPort r{[&] { ++closes; },
                         [&]() -> SerialPort* {
                           opened_at = clock.now_ms();
                           return &new_port;
                         }};
  int answer = 1;
  EXPECT_EQ(answer_of(old_port, clock, answer, 1, r), 1);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(opened_at, 70u);
  EXPECT_EQ(new_port.write_times.front(), 140u);
  EXPECT_TRUE(old_port.written.empty());
  // A port that cannot be reopened: no answer, nothing written.
  ReopenInstrumentPort fails{[] {}, []() -> SerialPort* { return nullptr; }};
  EXPECT_EQ(answer_of(old_port, clock, answer, 1, fails), 0);
  EXPECT_TRUE(old_port.written.empty());
}

TEST(InstrumentCommand, BrokenPortEndsEachWindow) {
  FakeClock clock(0);
  ScriptedPort port(clock);
  port.break_port();
  int answer = 3;
  EXPECT_EQ(answer_of(port, clock, answer), 0);
  EXPECT_EQ(answer, 3);
  EXPECT_LT(clock.now_ms(), 1000u);
}

TEST(TiltRate, CommandBytes) {
  EXPECT_EQ(tilt_rate_command(0), "[1D1\r");
  EXPECT_EQ(tilt_rate_command(1), "[1D2\r");
  EXPECT_EQ(tilt_rate_command(2), "[1D5\r");
  EXPECT_EQ(tilt_rate_command(3), "[1D10\r");
  EXPECT_EQ(tilt_rate_command(4), "[1D20\r");
  EXPECT_EQ(tilt_rate_command(4).size(), 6u);
  EXPECT_EQ(tilt_rate_command(5), "");
  EXPECT_EQ(tilt_rate_command(-1), "");
}

TEST(TiltRate, ConfirmationWithinFortyBytes) {
  struct Case {
    std::string reply;
    int result;
  };
  const Case cases[] = {
      {">New Output Data Rate 10Hz\r\n", 1},
      {"xx>New Output Data Rate\n", 1},
      {"abc\n>New Output Data Rate\r\n", 0},                // stops at the first line feed
      {std::string(20, '.') + ">New Output Data Rate", 0},  // beyond 40 bytes
      {"New Output Data Rate\r\n", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    FakeClock clock(100);
    ScriptedPort port(clock);
    port.arrive(0, "9.1,-0.5,22.0,0.2\r\n");  // a sentence's tail that came before the command
    port.arrive(101, c.reply);
    EXPECT_EQ(set_tilt_output_rate(port, 3), c.result) << c.reply;
    EXPECT_EQ(port.written, "[1D10\r");
  }
  FakeClock clock(0);
  ScriptedPort port(clock);
  EXPECT_EQ(set_tilt_output_rate(port, 9), 0);
  EXPECT_TRUE(port.written.empty());
}

TEST(Em38Length, DetectionTable) {
  struct Case {
    std::string stream;
    int length;  // 0: fails
  };
  const Case cases[] = {
      {"T\x23"
       "01234\r",
       7},
      {"xx\rT\x23"
       "0123400500\r",
       12},
      {"T\x23"
       "0123456\r",
       0},
      {"abc", 0},
      {"", 0},
      {"12\r34T\x20"
       "00000\rT",
       7},
  };
  for (const Case& c : cases) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.stream.data());
    const std::optional<int> got = em38_length_of(data, c.stream.size());
    EXPECT_EQ(got.value_or(0), c.length) << c.stream;
    FakeClock clock(0);
    ScriptedPort port(clock);
    port.arrive(20, c.stream);
    EXPECT_EQ(detect_em38_record_length(port, clock).value_or(0), c.length) << c.stream;
  }
}

TEST(Em38Length, CaptureSkipsAStatusByteThatReadsT) {
  // A capture joined after the "T" of a record whose status byte is "T".
  const std::string stream =
      "T0123\rT\x23"
      "01234\rT\x23"
      "01234\r";
  const auto* data = reinterpret_cast<const std::uint8_t*>(stream.data());
  EXPECT_EQ(em38_length_of(data, stream.size()).value_or(0), 7);
  // At the start of a survey the first "T" decides: the start fails.
  FakeClock clock(0);
  ScriptedPort port(clock);
  port.arrive(20, stream);
  EXPECT_FALSE(detect_em38_record_length(port, clock).has_value());
  const std::string none =
      "T0123\rT\x23"
      "012345\r";
  EXPECT_FALSE(em38_length_of(reinterpret_cast<const std::uint8_t*>(none.data()), none.size()).has_value());
}

TEST(Em38Length, TimeWindows) {
  {  // the "T" after 2000 ms is too late
    FakeClock clock(0);
    ScriptedPort port(clock);
    port.arrive(2100,
                "T\x23"
                "01234\r");
    EXPECT_FALSE(detect_em38_record_length(port, clock).has_value());
  }
  {  // the carriage return more than 1000 ms after the "T" is too late
    FakeClock clock(0);
    ScriptedPort port(clock);
    port.arrive(1500,
                "T\x23"
                "0123");
    port.arrive(2600, "4\r");
    EXPECT_FALSE(detect_em38_record_length(port, clock).has_value());
  }
  {  // a "T" late in its window still gets its full second
    FakeClock clock(0);
    ScriptedPort port(clock);
    port.arrive(1900,
                "T\x23"
                "0123");
    port.arrive(2700, "4\r");
    EXPECT_EQ(detect_em38_record_length(port, clock).value_or(0), 7);
  }
}

TEST(RecordsPerReading, FromIntervalAndPeriod) {
  EXPECT_EQ(records_per_reading(0.2, 95.23809523809524), 2);
  EXPECT_EQ(records_per_reading(1.0, 95.23809523809524), 11);  // 10.5 rounds up
  EXPECT_EQ(records_per_reading(0.01, 91), 1);
  EXPECT_EQ(records_per_reading(0.5, 47), 11);
  EXPECT_EQ(records_per_reading(1.0, 72), 14);
  EXPECT_EQ(records_per_reading(-3, 72), 1);
  EXPECT_EQ(records_per_reading(1, 0), 1);
  EXPECT_EQ(record_period_ms(kEm38, 7), 72.0);
  EXPECT_EQ(record_period_ms(kEm38, 12), 91.0);
  EXPECT_FALSE(record_period_ms(kEm38, 9).has_value());
  EXPECT_EQ(record_period_ms(kEm34_3, 12, 120.0), 120.0);
  EXPECT_EQ(record_period_ms(kEm38Mk2), 47.0);
  EXPECT_EQ(record_period_ms(kGrad601), 91.0);
  EXPECT_EQ(instrument_records_per_reading(kEm31Mk2, 0.5, 0), 5);
  EXPECT_EQ(instrument_records_per_reading(kCs21, 5.0, 3), 1);
  EXPECT_EQ(instrument_records_per_reading(kEm38_4, 5.0, 3), 4);
  EXPECT_EQ(instrument_records_per_reading(kEm61Mk2, 5.0, 3), 1);
}

// The EM34-3 streams about 10.5 records a second: its update rate decides
// how many make one reading, as for the EM31-MK2.
TEST(RecordsPerReading, Em34FollowsItsUpdateRate) {
  const struct {
    double interval_s;
    int records;
  } rows[] = {{0.1, 1}, {0.2, 2}, {0.5, 5}, {1.0, 11}, {2.0, 21}};
  for (const auto& r : rows) {
    EXPECT_EQ(instrument_records_per_reading(kEm34_3, r.interval_s, 0), r.records) << r.interval_s;
    EXPECT_EQ(instrument_records_per_reading(kEm34_3, r.interval_s, 0),
              instrument_records_per_reading(kEm31Mk2, r.interval_s, 0));
  }
}

TEST(RecordsPerReading, Em38_4RateTable) {
  const int records[] = {1, 2, 3, 4, 5, 10, 20, 50, 100};
  const double rates[] = {10.0, 5.0, 3.3, 2.5, 2.0, 1.0, 0.5, 0.2, 0.1};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(em38_4_records_per_reading(i), records[i]);
    EXPECT_EQ(em38_4_rate(i), rates[i]);
  }
  EXPECT_EQ(em38_4_records_per_reading(9), 1);
}

}  // namespace
}  // namespace quelor
