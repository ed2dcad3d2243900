#include "shell/message_table.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace quelor {
namespace {

// A fake window: records which handler saw which call.
struct FakeWindow {
  std::vector<std::string> calls;
};

struct Call {
  FakeWindow* window;
  std::uint32_t message;
  long w, l;
};

using Handler = long (*)(FakeWindow*, std::uint32_t, long, long);

long first_handler(FakeWindow* w, std::uint32_t m, long wp, long lp) {
  w->calls.push_back("first " + std::to_string(m) + " " + std::to_string(wp) + " " + std::to_string(lp));
  return 100 + wp;
}
long second_handler(FakeWindow* w, std::uint32_t m, long, long) {
  w->calls.push_back("second " + std::to_string(m));
  return 200;
}
long shared_handler(FakeWindow* w, std::uint32_t m, long, long) {
  w->calls.push_back("shared " + std::to_string(m));
  return 300;
}

constexpr std::uint32_t kCreate = 0x01, kPaint = 0x0F, kCommand = 0x111, kKeyDown = 0x100, kDeadChar = 0x103,
                        kUnknown = 0x7777;

constexpr std::array<MessageRow<Handler>, 6> kTable{{
    {kCreate, first_handler},
    {kPaint, second_handler},
    {kCommand, shared_handler},
    {kDeadChar, shared_handler},
    {kKeyDown, shared_handler},
    {kPaint, first_handler},  // shadowed by the earlier WM_PAINT row
}};

long fallback(FakeWindow* w, std::uint32_t m, long wp, long lp) {
  w->calls.push_back("fallback " + std::to_string(m) + " " + std::to_string(wp) + " " + std::to_string(lp));
  return -1;
}

long run(FakeWindow& window, std::uint32_t message, long wp, long lp) {
  return dispatch_message(std::span<const MessageRow<Handler>>(kTable), fallback, &window, message, wp, lp);
}

TEST(MessageTable, MatchingRowGetsAllArgumentsAndItsResultIsReturned) {
  FakeWindow w;
  EXPECT_EQ(run(w, kCreate, 7, 9), 107);
  ASSERT_EQ(w.calls.size(), 1u);
  EXPECT_EQ(w.calls[0], "first 1 7 9");
}

TEST(MessageTable, FirstMatchingRowWins) {
  FakeWindow w;
  EXPECT_EQ(run(w, kPaint, 0, 0), 200);
  EXPECT_EQ(w.calls, std::vector<std::string>{"second 15"});
}

TEST(MessageTable, NoRowCallsFallbackUnchanged) {
  FakeWindow w;
  EXPECT_EQ(run(w, kUnknown, 123456, -42), -1);
  EXPECT_EQ(w.calls, std::vector<std::string>{"fallback 30583 123456 -42"});
}

TEST(MessageTable, SeveralMessagesShareOneHandler) {
  FakeWindow w;
  for (std::uint32_t m : {kCommand, kDeadChar, kKeyDown}) EXPECT_EQ(run(w, m, 0, 0), 300);
  EXPECT_EQ(w.calls, (std::vector<std::string>{"shared 273", "shared 259", "shared 256"}));
}

TEST(MessageTable, EmptyTableAlwaysFallsBack) {
  FakeWindow w;
  std::span<const MessageRow<Handler>> empty;
  EXPECT_EQ(dispatch_message(empty, fallback, &w, kCreate, 1, 2), -1);
  EXPECT_EQ(w.calls, std::vector<std::string>{"fallback 1 1 2"});
}

TEST(MessageTable, FindRowReturnsTheFirstRow) {
  std::span<const MessageRow<Handler>> table(kTable);
  const MessageRow<Handler>* row = find_message_row(table, kPaint);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row, &kTable[1]);
  EXPECT_EQ(find_message_row(table, kUnknown), nullptr);
}

TEST(MessageTable, WorksWithCapturingFallback) {
  FakeWindow w;
  int fallback_calls = 0;
  auto counting = [&](FakeWindow*, std::uint32_t, long, long) -> long { return ++fallback_calls; };
  std::span<const MessageRow<Handler>> table(kTable);
  EXPECT_EQ(dispatch_message(table, counting, &w, kUnknown, 0, 0), 1);
  EXPECT_EQ(dispatch_message(table, counting, &w, kCreate, 0, 0), 100);
  EXPECT_EQ(fallback_calls, 1);
}

}  // namespace
}  // namespace quelor
