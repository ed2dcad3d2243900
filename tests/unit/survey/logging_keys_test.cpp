#include "survey/logging_keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "survey/survey_state.h"
#include "variant/variant.h"

namespace quelor {
namespace {

constexpr std::uint32_t kTab = 0x09, kEnter = 0x0D, kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
                        kDown = 0x28, kF2 = 0x71, kF3 = 0x72, kOemPlus = 0xBB, kOemMinus = 0xBD;

KeyContext in_state(int state) {
  KeyContext c;
  c.state = state;
  return c;
}

int code(const KeyContext& c, std::uint32_t key) {
  const KeyDecision d = decode_logging_key(c, key);
  return d.effect == KeyEffect::kCommand ? d.command : kCmdNone;
}

TEST(LoggingControls, ButtonsMapAndSelectors) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(command_of_control(460 + i, 2), i);
  for (int id = 470; id <= 478; ++id) EXPECT_EQ(command_of_control(id, 2), id - 357);
  // Selectors 480 ... 480 + count - 1, whatever the count (EM61-LX2 with two
  // sensors has six).
  for (int count : {0, 2, 3, 4, 6, 8}) {
    for (int k = 0; k < count; ++k) EXPECT_EQ(command_of_control(480 + k, count), 142 + k) << count;
    EXPECT_EQ(command_of_control(480 + count, count), kCmdNone) << count;
  }
  EXPECT_EQ(command_of_control(488, 12), kCmdNone);
  for (int id : {459, 464, 469, 479, 500, 522, 600}) EXPECT_EQ(command_of_control(id, 8), kCmdNone) << id;
}

TEST(LoggingControls, MenuItems) {
  const std::pair<int, int> rows[] = {{501, 101}, {502, 102}, {503, 103}, {504, 104}, {505, 105}, {506, 106},
                                      {507, 107}, {508, 108}, {509, 110}, {510, 111}, {511, 109}, {512, 112},
                                      {513, 132}, {514, 126}, {515, 127}, {516, 128}, {517, 129}, {518, 130},
                                      {519, 131}, {520, 141}, {521, 140}};
  for (auto [id, c] : rows) EXPECT_EQ(command_of_control(id, 2), c) << id;
}

TEST(LoggingControls, PopupMenus) {
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kGrad601}) {
    EXPECT_EQ(popup_menu_id(type, kStateMonitoring), 495);
    EXPECT_EQ(popup_menu_id(type, kStateStandBy), 496);
    EXPECT_EQ(popup_menu_id(type, kStateLogging), 496);
  }
  EXPECT_EQ(popup_menu_id(kEm61Lx2, kStateMonitoring), 491);
  EXPECT_EQ(popup_menu_id(kEm61Lx2, kStateStandBy), 492);
  EXPECT_EQ(popup_menu_id(kEm61Mk2, kStateMonitoring), 493);
  EXPECT_EQ(popup_menu_id(kEm61Mk2, kStateLogging), 494);
  EXPECT_EQ(popup_menu_id(kEm38Mk2, kStateMonitoring), 497);
  EXPECT_EQ(popup_menu_id(kEm38Mk2, kStateStandBy), 498);
  EXPECT_EQ(popup_menu_id(kEm38_4, kStateStandBy), 490);
  EXPECT_EQ(popup_menu_id(kCs21, kStateMonitoring), 497);
}

TEST(LoggingKeys, PauseKeyPausesWhileLogging) {
  KeyContext c = in_state(kStateLogging);
  for (std::uint32_t key : {std::uint32_t{'A'}, kEnter, kSpace, std::uint32_t{'7'}, kLeft})
    EXPECT_EQ(code(c, key), kCmdFileGoPause) << key;
  c.pause_key = 1;
  EXPECT_EQ(code(c, kEnter), kCmdFileGoPause);
  EXPECT_NE(code(c, kSpace), kCmdFileGoPause);
  c.pause_key = 2;
  EXPECT_EQ(code(c, kSpace), kCmdFileGoPause);
  EXPECT_EQ(decode_logging_key(c, kEnter).effect, KeyEffect::kPressFocusedButton);
  c.pause_key = 3;
  EXPECT_EQ(code(c, 'P'), kCmdFileGoPause);
  EXPECT_EQ(code(c, 'X'), kCmdExit);
}

TEST(LoggingKeys, PauseKeyInStandByDoesNotStartLogging) {
  KeyContext c = in_state(kStateStandBy);
  c.pause_key = 2;
  EXPECT_EQ(code(c, kSpace), kCmdNone);
  c.pause_key = 3;
  EXPECT_EQ(code(c, 'P'), kCmdMapUp);
  EXPECT_EQ(code(c, 'G'), kCmdFileGoPause);
  EXPECT_EQ(code(c, kF2), kCmdFileGoPause);
}

TEST(LoggingKeys, Lx2AnyKeySparesDigitsAndArrows) {
  KeyContext c = in_state(kStateLogging);
  c.instrument_type = kEm61Lx2;
  EXPECT_EQ(decode_logging_key(c, '5').effect, KeyEffect::kNone);
  EXPECT_EQ(code(c, kRight), kCmdNone);
  EXPECT_EQ(code(c, 'A'), kCmdFileGoPause);
  c.soft_marker_keys = true;
  EXPECT_EQ(decode_logging_key(c, '5').effect, KeyEffect::kSoftMarker);
  EXPECT_EQ(decode_logging_key(c, kDown).effect, KeyEffect::kSoftMarker);
  // The release of the same keys ends it; other keys and the option off do not.
  for (std::uint32_t key : {std::uint32_t{'0'}, std::uint32_t{'9'}, kLeft, kUp, kRight, kDown})
    EXPECT_TRUE(key_up_ends_soft_marker(true, key)) << key;
  for (std::uint32_t key : {std::uint32_t{'A'}, kSpace, kEnter, std::uint32_t{'/'}, std::uint32_t{':'}})
    EXPECT_FALSE(key_up_ends_soft_marker(true, key)) << key;
  EXPECT_FALSE(key_up_ends_soft_marker(false, '5'));
}

TEST(LoggingKeys, TabAndEnter) {
  const KeyContext c = in_state(kStateStandBy);
  EXPECT_EQ(decode_logging_key(c, kTab).effect, KeyEffect::kFocusNextButton);
  EXPECT_EQ(decode_logging_key(c, kEnter).effect, KeyEffect::kPressFocusedButton);
}

TEST(LoggingKeys, FileKeyOnlyInMonitoringOrReview) {
  KeyContext c = in_state(kStateMonitoring);
  EXPECT_EQ(code(c, 'F'), kCmdFileGoPause);
  c.state = kStateStandBy;
  EXPECT_EQ(code(c, 'F'), kCmdNone);
  c.review = true;
  EXPECT_EQ(code(c, 'F'), kCmdFitAll);
}

// With the popup menu open L and R reach Calibration and Remove Calibration
// only where the instrument's menu has them: the CS-21's has neither.
TEST(LoggingKeys, MenuLettersReachOnlyTheItemsOfTheInstrumentsMenu) {
  const struct {
    InstrumentType type;
    std::uint32_t key;
    int code;
  } rows[] = {{kEm38_4, 'L', kCmdCalibration},  {kEm38_4, 'R', kCmdRemoveCalibration},
              {kEm38Mk2, 'L', kCmdCalibration}, {kCs21, 'L', kCmdNone},
              {kCs21, 'R', kCmdNone},           {kCs21, 'D', kCmdAudioOptions}};
  for (const auto& r : rows) {
    KeyContext c = in_state(kStateStandBy);
    c.instrument_type = r.type;
    c.popup_menu = true;
    EXPECT_EQ(code(c, r.key), r.code) << r.type << " key " << r.key;
    c.popup_menu = false;  // without the menu: the map's pan keys
    EXPECT_EQ(code(c, r.key), r.key == 'L' ? kCmdMapLeft : r.key == 'R' ? kCmdMapRight : kCmdMapDown) << r.type;
  }
}

TEST(LoggingKeys, TableByStateReviewAndMenu) {
  struct Row {
    int state;
    bool review, menu;
    std::uint32_t key;
    int code;
  };
  const Row rows[] = {
      {kStateMonitoring, false, false, kLeft, 113},
      {kStateMonitoring, false, true, kLeft, kCmdNone},
      {kStateMonitoring, false, true, 'L', 128},
      {kStateMonitoring, true, true, 'L', 113},
      {kStateMonitoring, false, false, 'L', 113},
      {kStateMonitoring, false, false, kUp, 115},
      {kStateMonitoring, false, true, kUp, 115},
      {kStateStandBy, false, false, 'P', 115},
      {kStateMonitoring, false, false, kRight, 114},
      {kStateMonitoring, false, true, kRight, kCmdNone},
      {kStateMonitoring, false, true, 'R', 129},
      {kStateMonitoring, false, false, 'R', 114},
      {kStateMonitoring, false, false, kDown, 116},
      {kStateMonitoring, false, true, 'D', 126},
      {kStateMonitoring, true, false, 'D', 116},
      {kStateMonitoring, true, false, kOemPlus, 117},
      {kStateMonitoring, false, false, kOemPlus, kCmdNone},
      {kStateMonitoring, true, false, kOemMinus, 118},
      {kStateMonitoring, false, false, 'A', 105},
      {kStateMonitoring, true, false, 'A', kCmdNone},
      {kStateMonitoring, false, false, 'B', 106},
      {kStateStandBy, false, false, 'C', 103},
      {kStateMonitoring, false, false, 'C', kCmdNone},
      {kStateStandBy, true, false, 'C', kCmdNone},
      {kStateMonitoring, true, false, 'E', 121},
      {kStateStandBy, false, false, 'E', 101},
      {kStateMonitoring, false, false, 'E', kCmdNone},
      {kStateStandBy, true, false, 'G', kCmdNone},
      {kStateMonitoring, false, false, 'G', kCmdNone},
      {kStateMonitoring, false, false, 'I', 120},
      {kStateMonitoring, false, false, 'M', 3},
      {kStateMonitoring, false, false, kF3, 3},
      {kStateMonitoring, true, false, 'M', kCmdNone},
      {kStateStandBy, false, false, 'N', 102},
      {kStateMonitoring, false, false, 'N', kCmdNone},
      {kStateMonitoring, false, false, 'O', 107},
      {kStateStandBy, false, false, 'Q', 1},
      {kStateMonitoring, false, false, 'Q', kCmdNone},
      {kStateMonitoring, false, false, 'S', 110},
      {kStateMonitoring, false, false, 'T', 127},
      {kStateMonitoring, false, false, 'U', 104},
      {kStateMonitoring, false, false, 'V', 130},
      {kStateMonitoring, false, false, 'W', 112},
      {kStateMonitoring, true, false, 'X', 2},
      {kStateStandBy, false, false, 'X', 2},
      {kStateMonitoring, false, false, 'Y', 111},
      {kStateMonitoring, true, false, 'Y', kCmdNone},
      {kStateMonitoring, false, false, 'Z', kCmdNone},
  };
  for (const Row& r : rows) {
    KeyContext c = in_state(r.state);
    c.review = r.review;
    c.popup_menu = r.menu;
    EXPECT_EQ(code(c, r.key), r.code) << "state " << r.state << " review " << r.review << " menu " << r.menu << " key "
                                      << r.key;
  }
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

TEST(StateCommands, CodesZeroToThreeByState) {
  EXPECT_EQ(state_command(0, kStateMonitoring, kEm31Mk2), StateCommand::kFile);
  EXPECT_EQ(state_command(0, kStateStandBy, kEm31Mk2), StateCommand::kGo);
  EXPECT_EQ(state_command(0, kStateLogging, kEm31Mk2), StateCommand::kPause);
  EXPECT_EQ(state_command(0, kStateClosed, kEm31Mk2), StateCommand::kNone);
  EXPECT_EQ(state_command(1, kStateMonitoring, kEm31Mk2), StateCommand::kMapSize);
  EXPECT_EQ(state_command(1, kStateMonitoring, kEm61Mk2), StateCommand::kNulling);
  EXPECT_EQ(state_command(1, kStateMonitoring, kEm61Lx2), StateCommand::kNulling);
  EXPECT_EQ(state_command(1, kStateStandBy, kEm61Mk2), StateCommand::kQuickLine);
  EXPECT_EQ(state_command(1, kStateLogging, kEm31Mk2), StateCommand::kNone);
  for (int state : {kStateMonitoring, kStateStandBy, kStateLogging}) {
    EXPECT_EQ(state_command(2, state, kEm38), StateCommand::kExit);
    EXPECT_EQ(state_command(3, state, kEm38), StateCommand::kMenu);
  }
  EXPECT_EQ(state_command(101, kStateStandBy, kEm38), StateCommand::kNone);
}

// The whole key map outside the pause key: every virtual key in every state,
// with and without review and popup menu, against the rows of the key table
// (first matching row; a row that does not apply passes the key on).
TEST(LoggingKeys, WholeKeyMap) {
  constexpr int kNo = -100;  // the row does not apply
  struct Row {
    std::vector<std::uint32_t> keys;
    std::function<int(const KeyContext&)> code;
  };
  const auto sb = [](const KeyContext& c) { return c.state == kStateStandBy && !c.review; };
  const auto when = [](bool b, int code) { return b ? code : kNo; };
  const std::vector<Row> rows = {
      {{kLeft}, [&](const KeyContext& c) { return when(!c.popup_menu, 113); }},
      {{'L'}, [&](const KeyContext& c) { return c.popup_menu && !c.review ? 128 : 113; }},
      {{kUp, 'P'}, [&](const KeyContext&) { return 115; }},
      {{kRight}, [&](const KeyContext& c) { return when(!c.popup_menu, 114); }},
      {{'R'}, [&](const KeyContext& c) { return c.popup_menu && !c.review ? 129 : 114; }},
      {{kDown}, [&](const KeyContext& c) { return when(!c.popup_menu, 116); }},
      {{'D'}, [&](const KeyContext& c) { return c.popup_menu && !c.review ? 126 : 116; }},
      {{kOemPlus, 0x6B}, [&](const KeyContext& c) { return when(c.review, 117); }},
      {{kOemMinus, 0x6D}, [&](const KeyContext& c) { return when(c.review, 118); }},
      {{'A'}, [&](const KeyContext& c) { return when(!c.review, 105); }},
      {{'B'}, [&](const KeyContext& c) { return when(!c.review, 106); }},
      {{'C'}, [&](const KeyContext& c) { return when(sb(c), 103); }},
      {{'E'}, [&](const KeyContext& c) { return c.review ? 121 : when(c.state == kStateStandBy, 101); }},
      {{'F'}, [&](const KeyContext& c) { return c.review ? 119 : when(c.state == kStateMonitoring, 0); }},
      {{'G', kF2}, [&](const KeyContext& c) { return when(sb(c), 0); }},
      {{'I'}, [&](const KeyContext& c) { return when(!c.review, 120); }},
      {{'M', kF3}, [&](const KeyContext& c) { return when(!c.review, 3); }},
      {{'N'}, [&](const KeyContext& c) { return when(sb(c), 102); }},
      {{'O'}, [&](const KeyContext& c) { return when(!c.review, 107); }},
      {{'Q'}, [&](const KeyContext& c) { return when(sb(c), 1); }},
      {{'S'}, [&](const KeyContext& c) { return when(!c.review, 110); }},
      {{'T'}, [&](const KeyContext& c) { return when(!c.review, 127); }},
      {{'U'}, [&](const KeyContext& c) { return when(!c.review, 104); }},
      {{'V'}, [&](const KeyContext& c) { return when(!c.review, 130); }},
      {{'W'}, [&](const KeyContext& c) { return when(!c.review, 112); }},
      {{'X'}, [&](const KeyContext&) { return 2; }},
      {{'Y'}, [&](const KeyContext& c) { return when(!c.review, 111); }},
  };
  const auto expected = [&](const KeyContext& c, std::uint32_t key) {
    for (const Row& r : rows)
      for (std::uint32_t k : r.keys)
        if (k == key) {
          const int code = r.code(c);
          if (code != kNo) return code;
        }
    return static_cast<int>(kCmdNone);
  };
  int checked = 0;
  // Logging with the <P> pause key: the other keys follow the table too.
  for (int state : {kStateMonitoring, kStateStandBy, kStateLogging})
    for (bool review : {false, true})
      for (bool menu : {false, true})
        for (std::uint32_t key = 1; key < 256; ++key) {
          if (key == kTab || key == kEnter || (state == kStateLogging && key == 'P')) continue;
          KeyContext c = in_state(state);
          c.pause_key = 3;
          c.review = review;
          c.popup_menu = menu;
          const KeyDecision d = decode_logging_key(c, key);
          const int want = expected(c, key);
          EXPECT_EQ(d.effect, want == kCmdNone ? KeyEffect::kNone : KeyEffect::kCommand)
              << "state " << state << " review " << review << " menu " << menu << " key " << key;
          EXPECT_EQ(code(c, key), want) << "state " << state << " review " << review << " menu " << menu << " key "
                                        << key;
          ++checked;
        }
  EXPECT_EQ(checked, 3 * 2 * 2 * 253 - 4);
}

}  // namespace
}  // namespace quelor
