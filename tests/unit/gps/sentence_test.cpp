// Field extraction, checksum and sentence assembly.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gps/assembler.h"
#include "gps/checksum.h"
#include "gps/fields.h"
#include "gps/number_text.h"

namespace quelor {
namespace {

struct FieldCase {
  const char* text;
  int n;
  bool found;
  const char* field;
};

TEST(Fields, ExtractionRules) {
  const char* gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  const FieldCase cases[] = {
      {gga, 1, true, "$GPGGA"}, {gga, 2, true, "123519"}, {gga, 3, true, "4807.038"}, {gga, 8, true, "08"},
      {gga, 14, true, ""},      {gga, 15, true, "*47"},  // the last field keeps "*" and the checksum
      {gga, 16, false, ""},     {gga, 0, false, ""},      {"", 1, true, ""},          {"", 2, false, ""},
      {"abc", 1, true, "abc"},  {"a,", 2, true, ""},      {",,", 3, true, ""},        {",,", 4, false, ""},
  };
  for (const FieldCase& c : cases) {
    std::string_view out = "untouched";
    EXPECT_EQ(extract_field(c.text, c.n, ',', out), c.found) << c.text << " #" << c.n;
    if (c.found) {
      EXPECT_EQ(out, c.field) << c.text << " #" << c.n;
    }
  }
}

std::string with_checksum(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", nmea_checksum(body));
  return body + buf;
}

TEST(Checksum, XorBetweenDollarAndStar) {
  EXPECT_EQ(nmea_checksum("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47"), 0x47);
  EXPECT_EQ(nmea_checksum("$*00"), 0);
  EXPECT_EQ(nmea_checksum("$A"), 'A');
}

struct ChecksumCase {
  const char* sentence;
  ChecksumResult result;
};

TEST(Checksum, Verdicts) {
  const ChecksumCase cases[] = {
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", ChecksumResult::kOk},
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47junk", ChecksumResult::kOk},
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4f", ChecksumResult::kMismatch},
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48", ChecksumResult::kMismatch},
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", ChecksumResult::kMissing},
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*", ChecksumResult::kMissing},
      {"$*", ChecksumResult::kMissing},
      {"$*00", ChecksumResult::kOk},
      {"$*0x00", ChecksumResult::kOk},
      {"$A*41", ChecksumResult::kOk},
      {"$A*0041", ChecksumResult::kOk},
      {"$A*141", ChecksumResult::kMismatch},
      {"$A*FFFFFFFFFFFFFFFF41", ChecksumResult::kMismatch},
  };
  for (const ChecksumCase& c : cases) EXPECT_EQ(check_nmea_checksum(c.sentence), c.result) << c.sentence;
  EXPECT_TRUE(checksum_ok(with_checksum("$GPGLL,4916.45,N,12311.12,W,225444,A")));
}

TEST(NumberText, LenientLikeTheCLibrary) {
  EXPECT_EQ(leading_int("08"), 8);
  EXPECT_EQ(leading_int("-3x"), -3);
  EXPECT_EQ(leading_int("+4"), 4);
  EXPECT_EQ(leading_int("A"), 0);
  EXPECT_EQ(leading_int(""), 0);
  EXPECT_EQ(leading_int("99999999999999999999"), 2147483647);
  EXPECT_EQ(leading_int("-99999999999999999999"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(leading_double("36.5940"), 36.594);
  EXPECT_DOUBLE_EQ(leading_double("1.5*39"), 1.5);
  EXPECT_DOUBLE_EQ(leading_double("x"), 0.0);
  EXPECT_DOUBLE_EQ(leading_double(""), 0.0);
  unsigned v = 1;
  EXPECT_FALSE(leading_hex("", v));
  EXPECT_TRUE(leading_hex("7fz", v));
  EXPECT_EQ(v, 0x7Fu);
}

// Feeds text and collects the completed lines with their ticks.
struct Collected {
  std::vector<std::string> lines;
  std::vector<std::uint32_t> ticks;
};

Collected feed(SentenceAssembler& a, const std::string& bytes, std::uint32_t tick0 = 0, std::uint32_t step = 0) {
  Collected c;
  std::uint32_t tick = tick0;
  for (unsigned char b : bytes) {
    if (assemble_byte(a, b, tick)) {
      c.lines.emplace_back(assembled_line(a));
      c.ticks.push_back(a.line_tick);
    }
    tick += step;
  }
  return c;
}

TEST(Assembler, CrLfAndControlCharactersDropped) {
  SentenceAssembler a;
  const Collected c = feed(a, "$GPGGA, 1\t2\r\n\x7F$X\x01Y\n\n");
  ASSERT_EQ(c.lines.size(), 2u);
  EXPECT_EQ(c.lines[0], "$GPGGA,12");
  EXPECT_EQ(c.lines[1], "$XY");
}

TEST(Assembler, DollarRestartsAndStampsTheStart) {
  SentenceAssembler a;
  const Collected c = feed(a, "$GPG$GPGLL,1\n", 100, 10);
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0], "$GPGLL,1");
  EXPECT_EQ(c.ticks[0], 140u);  // the second "$" is the fifth byte
}

TEST(Assembler, LinesWithoutDollarAreCompleteToo) {
  SentenceAssembler a;
  const Collected c = feed(a, "hello world\n", 7, 1);
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0], "helloworld");
  EXPECT_EQ(c.ticks[0], 7u);
}

TEST(Assembler, MoreThan200CharactersStartOver) {
  SentenceAssembler a;
  std::string body(200, 'A');  // with "$": 201 characters collected
  Collected c = feed(a, "$" + body + "\n");
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0].size(), 201u);
  c = feed(a, "$" + body + "BCD\n");
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0], "BCD");  // the 202nd character starts over at position 0
  // Dropped characters do not count.
  c = feed(a, "$" + std::string(199, 'A') + "\r\r\r\rZ\n");
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_EQ(c.lines[0].size(), 201u);
}

TEST(Assembler, LongStreamNeverOverflows) {
  SentenceAssembler a;
  const Collected c = feed(a, std::string(100000, 'x') + "\n");
  ASSERT_EQ(c.lines.size(), 1u);
  EXPECT_LE(c.lines[0].size(), kSentenceWrapLength + 1);
}

// The assembly rules one after another, without the fast path for plain bytes.
struct ModelAssembler {
  std::string line;
  std::uint32_t tick = 0;
  bool feed(std::uint8_t byte, std::uint32_t now, std::string& done, std::uint32_t& done_tick) {
    if (byte == '$') {
      line = "$";
      tick = now;
      return false;
    }
    if (byte == '\n') {
      if (line.empty()) return false;
      done = line;
      done_tick = tick;
      line.clear();
      return true;
    }
    if (line.size() > kSentenceWrapLength) line.clear();
    if (byte < '$' || byte == 0x7F) return false;
    if (line.empty()) tick = now;
    line += static_cast<char>(byte);
    return false;
  }
};

TEST(Assembler, RandomStreamsGiveTheLinesOfTheRules) {
  std::mt19937 rng(11);
  const std::uint8_t specials[] = {'$', '\n', '\r', ' ', 0x7F, 0x00, '#', '%', 0xFF, '*'};
  SentenceAssembler a;
  ModelAssembler model;
  int lines = 0;
  for (std::uint32_t i = 0; i < 400000; ++i) {
    // Runs of plain characters long enough to wrap, broken by the bytes with rules of their own.
    const std::uint8_t byte = rng() % 40 ? static_cast<std::uint8_t>('A' + rng() % 26) : specials[rng() % 10];
    std::string want;
    std::uint32_t want_tick = 0;
    const bool model_done = model.feed(byte, i, want, want_tick);
    ASSERT_EQ(assemble_byte(a, byte, i), model_done) << i;
    if (!model_done) continue;
    ++lines;
    ASSERT_EQ(assembled_line(a), want) << i;
    ASSERT_EQ(a.line_tick, want_tick) << i;
  }
  EXPECT_GT(lines, 800);
}

}  // namespace
}  // namespace quelor
