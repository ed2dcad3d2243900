// The instrument command and the tilt output-rate command against the
// responder on the far end of COM12.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/readers/serial_ports.h"
#include "port_fixture.h"
#include "variant/variant.h"

namespace quelor {
namespace {

class Exchange : public ::testing::Test {
 protected:
  void SetUp() override {
    test::reset_reader_shared();
    test::catch_messages();
  }
  void TearDown() override {
    test::reset_reader_shared();
    set_port_message_sink(nullptr);
  }
};

TEST_F(Exchange, OkAnswerAfterNoise) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_instrument_port_at(ports.responder - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().instrument_answer.store(-5);
  EXPECT_EQ(instrument_command('H', 'X', 0), 1);
  EXPECT_EQ(reader_shared().instrument_answer.load(), 1);
}

TEST_F(Exchange, OvAnswerWithNoiseBetween) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_instrument_port_at(ports.responder - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().instrument_answer.store(-5);
  EXPECT_EQ(instrument_command('H', 'W', 0), 1);
  EXPECT_EQ(reader_shared().instrument_answer.load(), 0);
}

TEST_F(Exchange, LoneKIsNoAnswerAfterThreeWindows) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_instrument_port_at(ports.responder - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  reader_shared().instrument_answer.store(-5);
  const DWORD start = GetTickCount();
  EXPECT_EQ(instrument_command('K', 'K', 0), 0);
  const DWORD spent = GetTickCount() - start;
  EXPECT_EQ(reader_shared().instrument_answer.load(), -5);
  EXPECT_GE(spent, 2900u);
  EXPECT_LT(spent, 6000u);
}

TEST_F(Exchange, ReopenFlagReopensTheConfiguredPort) {
  QUELOR_NEED_PORTS(ports);
  const int saved = g_settings.instrument_port;
  // Open on the quiet line: only the reopen on the configured port can answer.
  ASSERT_EQ(open_instrument_port_at(ports.quiet - 1, instrument_line_settings(kEm61Mk2, 0), true), 1);
  g_settings.instrument_port = ports.responder - 1;
  EXPECT_EQ(instrument_command('H', 'X', 1), 1);
  EXPECT_EQ(reader_shared().instrument_answer.load(), 1);
  HANDLE after = reader_shared().instrument_port.load();
  EXPECT_TRUE(port_handle_valid(after));
  g_settings.instrument_port = saved;
}

TEST_F(Exchange, ReopenOfAMissingPortFailsWithItsMessage) {
  QUELOR_NEED_PORTS(ports);
  const int saved = g_settings.instrument_port;
  g_settings.instrument_port = ports.missing - 1;
  EXPECT_EQ(instrument_command('H', 'X', 1), 0);
  EXPECT_EQ(test::caught_messages().size(), 1u);
  g_settings.instrument_port = saved;
}

TEST_F(Exchange, TiltRateConfirmed) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_tilt_port_at(ports.responder - 1, tilt_line_settings(5)), 1);
  EXPECT_NE(tilt_output_rate(3), 0);
  EXPECT_NE(tilt_output_rate(4), 0);
}

TEST_F(Exchange, TiltRateWithoutAnswerIsNotConfirmed) {
  QUELOR_NEED_PORTS(ports);
  ASSERT_EQ(open_tilt_port_at(ports.quiet - 1, tilt_line_settings(5)), 1);
  EXPECT_EQ(tilt_output_rate(2), 0);
  EXPECT_EQ(tilt_output_rate(9), 0);  // no command for this index
}

}  // namespace
}  // namespace quelor
