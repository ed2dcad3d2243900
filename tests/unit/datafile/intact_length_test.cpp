#include "datafile/intact_length.h"

#include <gtest/gtest.h>

#include <string>

namespace quelor {
namespace {

TEST(IntactLength, WholeRecordsWithoutTrailingZeros) {
  const std::string a = "ZLK31   W230GPS00000 1    \n";  // 27 bytes
  const std::string r = "Tp01234-0050       3602310\n";
  std::string tilt = "~+00250-00325   3602345";
  tilt += std::string(3, '\0') + "\n";
  const std::string zeros(27, '\0');
  struct Case {
    std::string file;
    std::size_t intact;
  };
  const Case cases[] = {
      {"", 0},
      {"no line feed", 12},
      {a + r, 54},
      {a + r + r.substr(0, 10), 54},
      {a + r + zeros + zeros, 54},
      {a + r + zeros + zeros.substr(0, 4), 54},
      {a + tilt, 54},       // zero bytes inside a tilt record are its own
      {a + zeros + r, 81},  // only trailing zero records go
      {zeros.substr(0, 26) + "\n" + zeros, 27},
  };
  for (const Case& c : cases) EXPECT_EQ(intact_length(c.file), c.intact) << c.file.size();
}

}  // namespace
}  // namespace quelor
