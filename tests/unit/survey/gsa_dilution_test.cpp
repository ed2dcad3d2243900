// The dilution cell of the status panel from GSA sentences.

#include <gtest/gtest.h>

#include <string>

#include "survey/gsa_dilution.h"

namespace quelor {
namespace {

struct Case {
  const char* sentence;
  const char* text;
};

class GsaDilutionCases : public ::testing::TestWithParam<Case> {};

TEST_P(GsaDilutionCases, TextOfField16) {
  EXPECT_EQ(gsa_dilution_text(GetParam().sentence), GetParam().text) << GetParam().sentence;
}

INSTANTIATE_TEST_SUITE_P(Sentences, GsaDilutionCases,
                         ::testing::Values(Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39", "2.5 "},
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,12.75,1.3,2.1*39\r\n", "12.8"},
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,1.0", "1.0 "},
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,", "N/A"},              // 15 fields
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,,1.3,2.1*39", "N/A"},  // empty
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,x.y,1.3,2.1", "N/A"},  // not a number
                                           Case{"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5x,1.3", "N/A"},  // trailing junk
                                           Case{"", "N/A"}));

TEST(GsaDilution, ChecksumEndsTheField) {
  const auto v = gsa_dilution("$GNGSA,A,3,,,,,,,,,,,,,3.25*1A");
  ASSERT_TRUE(v);
  EXPECT_DOUBLE_EQ(*v, 3.25);
}

TEST(GsaDilution, GarbageNeverThrowsOrReadsPastTheEnd) {
  std::string s;
  unsigned seed = 12345;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const char alphabet[] = ",,,,0123456789.*-eE$GPSA\r\n";
    s.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
    if (s.size() > 120) s.clear();
    const std::string text = gsa_dilution_text(s);
    EXPECT_FALSE(text.empty());
    if (gsa_dilution(s)) {
      EXPECT_NE(text, "N/A");
    }
  }
}

}  // namespace
}  // namespace quelor
