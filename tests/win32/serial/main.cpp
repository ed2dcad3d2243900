// GoogleTest entry of the serial-port tests (run under Wine by
// tests/e2e/serial_ports.sh on pseudo-terminal pairs).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
