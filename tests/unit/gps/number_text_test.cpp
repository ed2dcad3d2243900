// The in-place readers and writers of the GPS path against the C library
// and the scanning field extraction they replace: equal results, bit for bit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "gps/fields.h"
#include "gps/number_text.h"

namespace quelor {
namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(NumberText, LeadingDoubleReadsAsStrtodDoes) {
  const char* forms[] = {"",
                         "-",
                         "+",
                         ".",
                         "0",
                         "-0",
                         "-0.0",
                         "4807.038",
                         "0.9",
                         "545.4",
                         "1.",
                         ".5",
                         "+.5",
                         " 12.5",
                         "12.5e3",
                         "12.5e",
                         "0x1A",
                         "inf",
                         "nan",
                         "1.2.3",
                         "12abc",
                         "1,2",
                         "0000123.4500",
                         "123456789012345",
                         "1234567890123456",
                         "0.000000000000001",
                         "99999999999999.9",
                         "-5334764.456*4B"};
  for (const char* f : forms) EXPECT_TRUE(same_bits(leading_double(f), std::strtod(f, nullptr))) << '"' << f << '"';
  std::mt19937 rng(3);
  const char alphabet[] = "0123456789012345678901234567890123456789..--+eEx* ,N";
  for (int i = 0; i < 200000; ++i) {
    std::string s(rng() % 22, ' ');
    for (char& c : s) c = alphabet[rng() % (sizeof alphabet - 1)];
    ASSERT_TRUE(same_bits(leading_double(s), std::strtod(s.c_str(), nullptr))) << '"' << s << '"';
  }
}

TEST(NumberText, FixedPointTextWritesAsPrintfOrLeavesItToPrintf) {
  struct Case {
    double value;
    int width, decimals;
    bool written;
  };
  const Case cases[] = {{0.9, 3, 1, true},
                        {0.94, 3, 1, true},
                        {0.95, 3, 1, true},
                        {9.96, 3, 1, true},
                        {-0.04, 3, 1, true},
                        {-0.0, 3, 1, true},
                        {1e-30, 3, 1, true},
                        {123.6, 3, 0, true},
                        {10.0, 3, 0, true},
                        {3.75, 8, 3, true},
                        {-1234.5678, 8, 3, true},
                        {0.25, 3, 1, false},
                        {0.5, 3, 0, false},
                        {2.5, 3, 0, false},
                        {0.0625, 8, 3, false},
                        {4.9e-324, 8, 3, true},
                        {-2.2250738585072014e-308, 3, 1, true},
                        {4503599627370497.0, 3, 0, true},
                        {9007199254740991.0, 8, 3, true},
                        {9007199254740992.0, 3, 0, false},
                        {NAN, 3, 1, false},
                        {INFINITY, 3, 0, false}};
  for (const Case& c : cases) {
    char got[64], want[64];
    std::size_t n = 0;
    ASSERT_EQ(fixed_point_text(c.value, c.width, c.decimals, got, n), c.written) << c.value;
    if (!c.written) continue;
    std::snprintf(want, sizeof want, "%*.*f", c.width, c.decimals, c.value);
    EXPECT_STREQ(got, want) << c.value;
    EXPECT_EQ(n, std::strlen(want));
  }
  std::mt19937_64 rng(5);
  int written = 0;
  for (int i = 0; i < 300000; ++i) {
    const double magnitude = std::ldexp(1.0, static_cast<int>(rng() % 120) - 70);
    const double v = (static_cast<double>(rng() % 2000001) / 1000000.0 - 1.0) * magnitude;
    const double value = i % 3 ? v : std::round(v * 1000.0) / 1000.0;  // many values near the printed digits
    const int decimals = static_cast<int>(rng() % 4), width = static_cast<int>(rng() % 9);
    char got[64], want[64];
    std::size_t n = 0;
    if (!fixed_point_text(value, width, decimals, got, n)) continue;
    ++written;
    std::snprintf(want, sizeof want, "%*.*f", width, decimals, value);
    ASSERT_STREQ(got, want) << value << " %" << width << '.' << decimals << 'f';
  }
  EXPECT_GT(written, 250000);
}

TEST(NumberText, IndexedFieldsAreTheScannedFields) {
  std::mt19937 rng(7);
  FieldIndex index;
  for (int i = 0; i < 20000; ++i) {
    // Up to twice as many separators as the index holds.
    std::string s(rng() % 160, 'a');
    for (char& c : s) c = rng() % 3 == 0 ? ',' : static_cast<char>('0' + rng() % 10);
    index_fields(index, s, ',', rng() % 2 ? FieldIndex::kCapacity : rng() % 12);
    for (int n = -1; n <= 110; ++n) {
      std::string_view want, got;
      const bool found = extract_field(s, n, ',', want);
      ASSERT_EQ(indexed_field(index, n, got), found) << s << " field " << n;
      if (found) {
        ASSERT_EQ(got, want) << s << " field " << n;
      }
    }
  }
}

TEST(NumberText, DecimalFieldTextIsPrintfOfTheFieldsValue) {
  std::mt19937 rng(11);
  const char alphabet[] = "0000123456789..-+ e*";
  int written = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string field;
    const std::size_t length = rng() % 18;
    for (std::size_t k = 0; k < length; ++k)
      field += rng() % 4 ? static_cast<char>('0' + rng() % 10) : alphabet[rng() % (sizeof alphabet - 1)];
    const int decimals = static_cast<int>(rng() % 4), width = static_cast<int>(rng() % 9);
    char got[64], want[64];
    std::size_t n = 0;
    if (!decimal_field_text(field, width, decimals, got, n)) continue;
    ++written;
    std::snprintf(want, sizeof want, "%*.*f", width, decimals, std::strtod(field.c_str(), nullptr));
    ASSERT_STREQ(got, want) << '"' << field << "\" %" << width << '.' << decimals << 'f';
    ASSERT_EQ(n, std::strlen(want));
  }
  EXPECT_GT(written, 20000);
  char out[64];
  std::size_t n = 0;
  for (const char* refused : {"", "-", ".", "1.25e1", "1.2.3", " 1", "1234567890123.4"})
    EXPECT_FALSE(decimal_field_text(refused, 3, 3, out, n)) << refused;
}

}  // namespace
}  // namespace quelor
