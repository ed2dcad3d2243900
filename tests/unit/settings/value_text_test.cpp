#include "settings/value_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace quelor {
namespace {

struct IntCase {
  const char* text;
  int expected;
};

TEST(ValueText, ParseIntFollowsAtoi) {
  const IntCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"-7", -7},
      {"+9", 9},
      {"  12", 12},
      {"\t-3x", -3},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"+-1", 0},
      {"1.9", 1},
      {"- 5", 0},
      {"0x1F", 0},
      {"007", 7},
      {"16711680", 16711680},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", 2147483647},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const IntCase& c : cases) EXPECT_EQ(parse_int(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ValueText, ParseLongAndColourAre32Bit) {
  EXPECT_EQ(parse_long("40"), 40);
  EXPECT_EQ(parse_long("4294967296"), 2147483647);
  EXPECT_EQ(parse_colour("16711680"), 0xFF0000u);
  EXPECT_EQ(parse_colour("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(parse_colour("junk"), 0u);
}

struct DoubleCase {
  const char* text;
  double expected;
};

TEST(ValueText, ParseDoubleFollowsAtof) {
  const DoubleCase cases[] = {
      {"0.200000", 0.2}, {"-0.300000", -0.3}, {"500.000000", 500.0}, {" 1.5e2", 150.0},
      {"+2.5", 2.5},     {"3.25junk", 3.25},  {"junk", 0.0},         {"", 0.0},
      {".5", 0.5},       {"-.5", -0.5},       {"1.", 1.0},           {"--1", 0.0},
      {"1e", 1.0},       {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(parse_double(c.text), c.expected) << '"' << c.text << '"';
  EXPECT_TRUE(std::isnan(parse_double("nan")));
}

TEST(ValueText, FormatsLikePrintf) {
  const double values[] = {0.0,   0.2,       -0.3,   500.0, -25.0, 1.65, 310.0, 1e-7, 123456789.123456,
                           -20.0, 0.0000005, 2.5e15, -0.0};
  for (double value : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f", value);
    EXPECT_EQ(format_double(value), expected) << value;
  }
  EXPECT_EQ(format_int(-12), "-12");
  EXPECT_EQ(format_long(40), "40");
  EXPECT_EQ(format_colour(0xFF0000), "16711680");
  EXPECT_EQ(format_colour(0xFFFFFFFF), "-1");  // "%ld" of a 32-bit long
}

TEST(ValueText, FormattedNumbersReadBack) {
  std::mt19937 random(61);
  std::uniform_real_distribution<double> real(-1e6, 1e6);
  std::uniform_int_distribution<int> whole(-2147483647 - 1, 2147483647);
  for (int i = 0; i < 2000; ++i) {
    const int n = whole(random);
    EXPECT_EQ(parse_int(format_int(n)), n);
    EXPECT_EQ(parse_colour(format_colour(static_cast<ColorRef>(n))), static_cast<ColorRef>(n));
    const double x = real(random);
    EXPECT_NEAR(parse_double(format_double(x)), x, 5e-7);
  }
}

// Outside bytes: whatever a damaged file holds, parsing matches the C library
// and never reads past the text.
TEST(ValueText, FuzzedTextMatchesCLibrary) {
  std::mt19937 random(2024);
  const std::string alphabet = "0123456789+-.eE xa\t";
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    const long long expected_int = std::strtoll(text.c_str(), nullptr, 10);
    if (expected_int > -2147483648LL && expected_int < 2147483647LL) {
      EXPECT_EQ(parse_int(text), static_cast<int>(expected_int)) << '"' << text << '"';
    }
    if (text.find('x') == std::string::npos) {  // atof also reads hexadecimal
      const double expected = std::strtod(text.c_str(), nullptr);
      EXPECT_EQ(parse_double(text), expected) << '"' << text << '"';
    }
  }
}

TEST(ValueText, WideTextDropsHighByte) {
  EXPECT_EQ(narrow_text(L"C:\\Data"), "C:\\Data");
  EXPECT_EQ(narrow_text(std::wstring(1, wchar_t(0x0141))), std::string(1, '\x41'));
  EXPECT_EQ(widen_text("C:\\Gr\xE9"), std::wstring(L"C:\\Gr") + wchar_t(0xE9));
  EXPECT_EQ(narrow_text(widen_text("Caf\xE9")), "Caf\xE9");
}

}  // namespace
}  // namespace quelor
