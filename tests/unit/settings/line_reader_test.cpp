#include "settings/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace quelor {
namespace {

std::vector<std::string> all_lines(std::string_view text) {
  LineReader reader{text};
  std::vector<std::string> lines;
  while (auto line = next_line(reader)) lines.emplace_back(*line);
  return lines;
}

TEST(LineReader, DropsCrBeforeLf) {
  EXPECT_EQ(all_lines("Ver2.30\r\nC:\\\r\n1\r\n"), (std::vector<std::string>{"Ver2.30", "C:\\", "1"}));
}

TEST(LineReader, BareLfKeepsLastCharacter) {
  EXPECT_EQ(all_lines("10\n20\r\n"), (std::vector<std::string>{"10", "20"}));
}

TEST(LineReader, EmptyLinesAndFragments) {
  EXPECT_EQ(all_lines("\r\n\n"), (std::vector<std::string>{"", ""}));
  // a last fragment without LF is not a line
  EXPECT_EQ(all_lines("1\r\n50"), (std::vector<std::string>{"1"}));
  EXPECT_TRUE(all_lines("").empty());
}

TEST(LineReader, CutAtNul) {
  const char bytes[] =
      "12\0"
      "34\r\n5\r\n";
  const std::string text(bytes, sizeof bytes - 1);
  EXPECT_EQ(all_lines(text), (std::vector<std::string>{"12", "5"}));
}

TEST(LineReader, FuzzedBytesStayInside) {
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int k = 0; k < length; ++k) text += "ab\r\n\0"[random() % 5];
    LineReader reader{text};
    std::size_t total = 0;
    int lines = 0;
    while (auto line = next_line(reader)) {
      total += line->size();
      EXPECT_LE(reader.position, text.size());
      EXPECT_EQ(line->find('\n'), std::string_view::npos);
      ++lines;
    }
    EXPECT_LE(total + static_cast<std::size_t>(lines), text.size());
    EXPECT_EQ(lines, static_cast<int>(std::count(text.begin(), text.end(), '\n')));
  }
}

}  // namespace
}  // namespace quelor
