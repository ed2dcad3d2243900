// Line settings written into the DCB and the time-outs, without a port.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "platform/win32/serial_line_setup.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {
namespace {

// A DCB as a port might report it, every flag set the "other" way.
DCB odd_port_state() {
  DCB dcb;
  std::memset(&dcb, 0, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = 2400;
  dcb.fBinary = FALSE;
  dcb.fOutxCtsFlow = TRUE;
  dcb.fOutxDsrFlow = TRUE;
  dcb.fDsrSensitivity = TRUE;
  dcb.fTXContinueOnXoff = FALSE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  dcb.ByteSize = 5;
  dcb.Parity = MARKPARITY;
  dcb.fParity = TRUE;
  dcb.StopBits = ONE5STOPBITS;
  return dcb;
}

struct GpsCase {
  int baud_index;
  int parity;
  int data_bits;
  int stop_bits;
  DWORD baud;
  BYTE parity_code;
  BOOL parity_check;
  BYTE byte_size;
  BYTE stop_code;
};

class GpsDcb : public ::testing::TestWithParam<GpsCase> {};

TEST_P(GpsDcb, FieldsFollowTheSettings) {
  const GpsCase c = GetParam();
  Settings s;
  s.gps_baud_rate = c.baud_index;
  s.gps_parity = c.parity;
  s.gps_data_bits = c.data_bits;
  s.gps_stop_bits = c.stop_bits;
  DCB dcb = odd_port_state();
  apply_line_settings(dcb, gps_line_settings(s));
  EXPECT_EQ(dcb.BaudRate, c.baud);
  EXPECT_EQ(dcb.Parity, c.parity_code);
  EXPECT_EQ(dcb.fParity, static_cast<DWORD>(c.parity_check));
  EXPECT_EQ(dcb.ByteSize, c.byte_size);
  EXPECT_EQ(dcb.StopBits, c.stop_code);
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
  EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
  EXPECT_EQ(dcb.fDsrSensitivity, 0u);
  EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
}

INSTANTIATE_TEST_SUITE_P(Table, GpsDcb,
                         ::testing::Values(GpsCase{0, 0, 0, 0, 4800, NOPARITY, FALSE, 7, ONESTOPBIT},
                                           GpsCase{1, 1, 1, 1, 9600, EVENPARITY, TRUE, 8, TWOSTOPBITS},
                                           GpsCase{5, 2, 1, 0, 115200, ODDPARITY, TRUE, 8, ONESTOPBIT},
                                           GpsCase{6, 0, 3, 7, 4800, NOPARITY, FALSE, 8, ONESTOPBIT},
                                           GpsCase{-1, 0, 1, 1, 4800, NOPARITY, FALSE, 8, TWOSTOPBITS}));

TEST(InstrumentDcb, EnablesDtrAndRtsAndKeepsWhatTheTableLeaves) {
  DCB dcb = odd_port_state();
  apply_line_settings(dcb, instrument_line_settings(kEm31Mk2, 0));
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.fParity, 0u);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
  EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
  EXPECT_EQ(dcb.fOutX, 0u);
  EXPECT_EQ(dcb.fInX, 0u);
  EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
  EXPECT_EQ(dcb.fDsrSensitivity, 1u);    // as the port had it
  EXPECT_EQ(dcb.fTXContinueOnXoff, 0u);  // as the port had it
}

TEST(InstrumentDcb, BaudByIndexAndUnknownIndexKeepsTheRate) {
  const DWORD expected[] = {9600, 19200, 38400, 57600, 115200, 2400, 2400};
  const int indexes[] = {0, 1, 2, 3, 4, 5, -1};
  for (int i = 0; i < 7; ++i) {
    DCB dcb = odd_port_state();
    apply_line_settings(dcb, instrument_line_settings(kEm38Mk2, indexes[i]));
    EXPECT_EQ(dcb.BaudRate, expected[i]) << "index " << indexes[i];
  }
}

TEST(TiltDcb, XonXoffOnAndLinesAsThePortHadThem) {
  DCB dcb = odd_port_state();
  apply_line_settings(dcb, tilt_line_settings(3));
  EXPECT_EQ(dcb.BaudRate, 38400u);
  EXPECT_EQ(dcb.fOutX, 1u);
  EXPECT_EQ(dcb.fInX, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
  EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
  EXPECT_EQ(dcb.fBinary, 0u);  // as the port had it
  EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_HANDSHAKE));
  EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
  DCB keep = odd_port_state();
  apply_line_settings(keep, tilt_line_settings(6));
  EXPECT_EQ(keep.BaudRate, 2400u);
}

TEST(CommTimeouts, PerDevice) {
  const COMMTIMEOUTS gps = comm_timeouts(gps_line_settings(Settings{}));
  EXPECT_EQ(gps.ReadIntervalTimeout, 50u);
  EXPECT_EQ(gps.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(gps.ReadTotalTimeoutConstant, 50u);
  EXPECT_EQ(gps.WriteTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(gps.WriteTotalTimeoutConstant, 50u);
  const COMMTIMEOUTS em61 = comm_timeouts(instrument_line_settings(kEm61Mk2, 0));
  EXPECT_EQ(em61.ReadIntervalTimeout, 0u);
  EXPECT_EQ(em61.ReadTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(em61.ReadTotalTimeoutConstant, 10u);
  const COMMTIMEOUTS em31 = comm_timeouts(instrument_line_settings(kEm31Mk2, 0));
  EXPECT_EQ(em31.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(em31.WriteTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(em31.WriteTotalTimeoutConstant, 10u);
  const COMMTIMEOUTS tilt = comm_timeouts(tilt_line_settings(0));
  EXPECT_EQ(tilt.ReadIntervalTimeout, 10u);
  EXPECT_EQ(tilt.ReadTotalTimeoutConstant, 10u);
}

}  // namespace
}  // namespace quelor
