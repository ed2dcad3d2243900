// Opening the three ports on pseudo-terminals: line settings read back, the
// failure messages, the GPS close, the read time-out.
#include <gtest/gtest.h>

#include "app/readers/serial_ports.h"
#include "port_fixture.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using test::catch_messages;
using test::caught_messages;

// Eight data bits: under Wine a pseudo-terminal refuses a second
// SetCommState with seven data bits (error 87), which a real port accepts.
Settings pty_gps_settings() {
  Settings s;
  s.gps_data_bits = 1;
  return s;
}

class PortOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    test::reset_reader_shared();
    catch_messages();
  }
  void TearDown() override {
    test::reset_reader_shared();
    set_port_message_sink(nullptr);
  }
};

DCB read_state(HANDLE h) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  EXPECT_TRUE(GetCommState(h, &dcb));
  return dcb;
}

COMMTIMEOUTS read_timeouts(HANDLE h) {
  COMMTIMEOUTS t{};
  EXPECT_TRUE(GetCommTimeouts(h, &t));
  return t;
}

TEST_F(PortOpen, GpsPortHasItsLineSettingsAndTimeouts) {
  QUELOR_NEED_PORTS(ports);
  Settings s;
  s.gps_baud_rate = 2;
  s.gps_parity = 2;
  s.gps_data_bits = 1;
  s.gps_stop_bits = 1;
  ASSERT_EQ(open_gps_port_at(ports.quiet - 1, gps_line_settings(s)), 1);
  EXPECT_TRUE(caught_messages().empty());
  HANDLE h = reader_shared().gps_port.load();
  ASSERT_TRUE(port_handle_valid(h));
  const DCB dcb = read_state(h);
  // A pseudo-terminal keeps 8 data bits and reports no usable parity under
  // Wine: those fields are checked on the DCB itself (line_setup_test).
  EXPECT_EQ(dcb.BaudRate, 19200u);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  const COMMTIMEOUTS t = read_timeouts(h);
  EXPECT_EQ(t.ReadIntervalTimeout, 50u);
  EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 50u);
  EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(t.WriteTotalTimeoutConstant, 50u);
  EXPECT_EQ(close_gps_port(), 1);
  EXPECT_FALSE(port_handle_valid(reader_shared().gps_port.load()));
  EXPECT_EQ(reader_shared().gps_port_closing.load(), 0);
}

TEST_F(PortOpen, GpsUnknownBaudIndexOpensAt4800WithOneStopBit) {
  QUELOR_NEED_PORTS(ports);
  Settings s;
  s.gps_baud_rate = 6;  // outside the table: 4800
  s.gps_parity = 1;
  s.gps_data_bits = 1;
  s.gps_stop_bits = 0;
  ASSERT_EQ(open_gps_port_at(ports.quiet - 1, gps_line_settings(s)), 1);
  const DCB dcb = read_state(reader_shared().gps_port.load());
  EXPECT_EQ(dcb.BaudRate, 4800u);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
}

TEST_F(PortOpen, InstrumentPortTimeoutsByInstrumentFamily) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_instrument_port_at(ports.quiet - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  HANDLE h = reader_shared().instrument_port.load();
  const DCB dcb = read_state(h);
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  COMMTIMEOUTS t = read_timeouts(h);
  EXPECT_EQ(t.ReadIntervalTimeout, 0u);
  EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 10u);
  close_instrument_port();
  EXPECT_FALSE(port_handle_valid(reader_shared().instrument_port.load()));

  ASSERT_EQ(open_instrument_port_at(ports.quiet - 1, instrument_line_settings(kEm38Mk2, 1), true), 1);
  h = reader_shared().instrument_port.load();
  EXPECT_EQ(read_state(h).BaudRate, 19200u);
  t = read_timeouts(h);
  EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(t.WriteTotalTimeoutConstant, 10u);
}

TEST_F(PortOpen, TiltPortHasXonXoffAndShortTimeouts) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_tilt_port_at(ports.quiet - 1, tilt_line_settings(5)), 1);
  HANDLE h = reader_shared().tilt_port.load();
  const DCB dcb = read_state(h);
  EXPECT_EQ(dcb.BaudRate, 115200u);
  EXPECT_EQ(dcb.fOutX, 1u);
  EXPECT_EQ(dcb.fInX, 1u);
  const COMMTIMEOUTS t = read_timeouts(h);
  EXPECT_EQ(t.ReadIntervalTimeout, 10u);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 10u);
}

TEST_F(PortOpen, MissingGpsPortIsReportedWithItsNumber) {
  QUELOR_NEED_PORTS(ports);
  EXPECT_EQ(open_gps_port_at(ports.missing - 1, gps_line_settings(pty_gps_settings())), 0);
  EXPECT_FALSE(port_handle_valid(reader_shared().gps_port.load()));
  ASSERT_EQ(caught_messages().size(), 1u);
  const PortMessage& m = caught_messages()[0];
  EXPECT_EQ(m.title, "Serial Port");
  ASSERT_EQ(m.lines.size(), 1u);
  const std::string number = std::to_string(ports.missing);
  // Wine and Windows report a missing device as error 2 (or 3 on some drivers).
  const bool known = m.lines[0] == "Port COM" + number + " does not exists" ||
                     m.lines[0].find("Port COM" + number + " cannot be open - Error #") == 0;
  EXPECT_TRUE(known) << m.lines[0];
}

TEST_F(PortOpen, MissingInstrumentPortReportsOnlyWhenAsked) {
  QUELOR_NEED_PORTS(ports);
  EXPECT_EQ(open_instrument_port_at(ports.missing - 1, instrument_line_settings(kEm31Mk2, 0), false), 0);
  EXPECT_TRUE(caught_messages().empty());
  EXPECT_EQ(open_instrument_port_at(ports.missing - 1, instrument_line_settings(kEm31Mk2, 0), true), 0);
  ASSERT_EQ(caught_messages().size(), 1u);
  EXPECT_EQ(caught_messages()[0].title, "Serial Port");
}

TEST_F(PortOpen, MissingTiltPortHasItsOwnMessage) {
  QUELOR_NEED_PORTS(ports);
  EXPECT_EQ(open_tilt_port_at(ports.missing - 1, tilt_line_settings(0)), 0);
  ASSERT_EQ(caught_messages().size(), 1u);
  EXPECT_EQ(caught_messages()[0].title, "Serial Port Issue");
  ASSERT_EQ(caught_messages()[0].lines.size(), 1u);
  EXPECT_EQ(caught_messages()[0].lines[0], "Cannot open Tilt port COM" + std::to_string(ports.missing));
}

TEST_F(PortOpen, GpsReadReturnsEmptyAfterItsTimeout) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_gps_port_at(ports.quiet - 1, gps_line_settings(pty_gps_settings())), 1);
  std::uint8_t byte = 0;
  const DWORD start = GetTickCount();
  EXPECT_EQ(gps_serial().read(&byte, 1), 0);
  const DWORD spent = GetTickCount() - start;
  EXPECT_GE(spent, 30u);
  EXPECT_LT(spent, 500u);
}

TEST_F(PortOpen, ClosedPortReadsAsBroken) {
  std::uint8_t byte = 0;
  EXPECT_EQ(instrument_serial().read(&byte, 1), -1);
  EXPECT_EQ(instrument_serial().write(&byte, 1), -1);
  EXPECT_EQ(close_gps_port(), 1);  // nothing to close
}

TEST_F(PortOpen, ReopeningKeepsOneHandle) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_tilt_port_at(ports.quiet - 1, tilt_line_settings(0)), 1);
  HANDLE first = reader_shared().tilt_port.load();
  ASSERT_EQ(open_tilt_port_at(ports.quiet - 1, tilt_line_settings(0)), 1);
  HANDLE second = reader_shared().tilt_port.load();
  EXPECT_NE(first, second);
  // The first handle was closed when the second took its place.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  EXPECT_FALSE(GetCommState(first, &dcb));
}

}  // namespace
}  // namespace quelor
