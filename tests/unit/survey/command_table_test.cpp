#include "survey/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "survey/logging_keys.h"
#include "survey/popup_menus.h"
#include "survey/survey_state.h"
#include "variant/variant.h"

namespace quelor {
namespace {

constexpr const char* kNoInstrument = "Option avaiable only when Instrument is enabled";
constexpr const char* kNoGps = "Option avaiable only when GPS is enabled";
constexpr const char* kNoMap = "Option avaiable only when map is visible";

CommandSituation all_there(int state) {
  CommandSituation s;
  s.state = state;
  s.selector_count = 2;
  return s;
}

// The notice a code gives, "" when it runs.
std::string refusal(int code, CommandSituation s) {
  const CommandStep step = dispatch_command(code, s);
  if (!step.refusal) return "";
  EXPECT_EQ(step.refusal->title, "INFORMATION");
  EXPECT_EQ(step.action, kActionNone);
  return step.refusal->text;
}

TEST(CommandTable, EveryMenuItemOnceWithItsText) {
  std::set<int> ids, codes;
  for (const CommandRow& row : command_table()) {
    EXPECT_TRUE(codes.insert(row.code).second) << row.code;
    if (row.menu_id == 0) continue;
    EXPECT_TRUE(ids.insert(row.menu_id).second) << row.menu_id;
    EXPECT_EQ(command_of_menu_item(row.menu_id), row.code);
    EXPECT_STREQ(menu_item_text(row.menu_id, kEm31Mk2), row.menu_text);
  }
  EXPECT_EQ(ids.size(), 21u);
  EXPECT_EQ(*ids.begin(), 501);
  EXPECT_EQ(*ids.rbegin(), 521);
  EXPECT_STREQ(menu_item_text(516, kEm38Mk2), "Ca&libration");
  EXPECT_STREQ(menu_item_text(516, kEm61Lx2), "Ca&librate Filter");
  EXPECT_STREQ(menu_item_text(508, kEm38), "&Hide Menu");
  EXPECT_EQ(menu_item_text(522, kEm38), nullptr);
}

TEST(CommandDispatch, StateButtonsRunTheActionOfTheState) {
  struct Row {
    int code, state;
    InstrumentType type;
    int action;
  };
  const Row rows[] = {
      {0, kStateMonitoring, kEm31Mk2, kActionFile},  {0, kStateStandBy, kEm31Mk2, kActionGo},
      {0, kStateLogging, kEm31Mk2, kActionPause},    {0, kStateClosed, kEm31Mk2, kActionNone},
      {1, kStateMonitoring, kEm31Mk2, kCmdMapSize},  {1, kStateMonitoring, kEm61Mk2, kCmdNulling},
      {1, kStateMonitoring, kEm61Lx2, kCmdNulling},  {1, kStateStandBy, kEm61Lx2, kActionQuickLine},
      {1, kStateLogging, kEm38, kActionNone},        {2, kStateMonitoring, kEm38, kActionExit},
      {2, kStateLogging, kEm38, kActionExit},        {3, kStateStandBy, kGrad601, kActionMenu},
      {3, kStateClosed, kGrad601, kActionNone},      {101, kStateStandBy, kEm38, kCmdNewLine},
      {108, kStateMonitoring, kEm38, kCmdHideMenu},  {143, kStateStandBy, kEm38, kCmdFirstChannel},
      {144, kStateStandBy, kEm38, kActionNone},      {122, kStateStandBy, kEm38, kActionNone},
      {kCmdNone, kStateStandBy, kEm38, kActionNone},
  };
  for (const Row& r : rows) {
    CommandSituation s = all_there(r.state);
    s.instrument_type = r.type;
    EXPECT_EQ(dispatch_command(r.code, s).action, r.action) << r.code << " in " << r.state;
  }
}

// Pan, zoom, fit and review act only on a survey's map: a data file open
// (Stand By, Logging) and the map shown; otherwise nothing, and no notice.
TEST(CommandDispatch, MapViewCodesOnlyWithAFileAndTheMapShown) {
  for (int code = kCmdMapLeft; code <= kCmdExitReview; ++code)
    for (int state : {kStateClosed, kStateMonitoring, kStateStandBy, kStateLogging})
      for (bool shown : {false, true}) {
        CommandSituation s = all_there(state);
        s.map_shown = shown;
        const CommandStep step = dispatch_command(code, s);
        const bool runs = shown && (state == kStateStandBy || state == kStateLogging);
        EXPECT_EQ(step.action, runs ? code : kActionNone) << code << " state " << state << " shown " << shown;
        EXPECT_FALSE(step.refusal) << code;
      }
}

TEST(CommandDispatch, NeedsRefuseWithTheirNotice) {
  struct Row {
    int code, state;
    bool instrument, gps, map;
    const char* notice;
  };
  const Row rows[] = {
      {101, kStateStandBy, false, true, true, kNoInstrument},
      {102, kStateStandBy, false, true, true, kNoInstrument},
      {103, kStateStandBy, false, false, false, ""},
      {107, kStateMonitoring, false, true, true, kNoInstrument},
      {106, kStateMonitoring, true, false, true, kNoGps},
      {112, kStateMonitoring, true, false, true, kNoGps},
      {110, kStateMonitoring, true, true, false, kNoMap},
      {110, kStateMonitoring, true, false, false, kNoGps},
      {111, kStateMonitoring, true, true, false, kNoMap},
      {109, kStateMonitoring, false, false, true, kNoInstrument},
      {109, kStateMonitoring, true, false, true, kNoGps},
      {109, kStateMonitoring, true, true, false, ""},
      {130, kStateMonitoring, true, true, false, kNoMap},
      {142, kStateStandBy, true, false, true, kNoGps},
      {1, kStateStandBy, false, true, true, kNoInstrument},
      {1, kStateMonitoring, true, true, false, kNoMap},
      {0, kStateMonitoring, false, false, false, ""},
      {2, kStateLogging, false, false, false, ""},
      {126, kStateMonitoring, false, false, false, ""},
      {127, kStateMonitoring, false, false, false, ""},
  };
  for (const Row& r : rows) {
    CommandSituation s = all_there(r.state);
    s.instrument_used = r.instrument;
    s.gps_used = r.gps;
    s.map_shown = r.map;
    EXPECT_EQ(refusal(r.code, s), r.notice) << r.code;
  }
}

// The Stand By menu of an instrument is its Monitoring menu plus New Line,
// New Station, Comment and its procedures; every item is in the command
// table, once, and Hide Menu ends every menu.
TEST(PopupMenus, StandByAddsTheFileItemsAndTheProcedures) {
  struct Row {
    InstrumentType type;
    std::set<int> procedures;
  };
  const Row rows[] = {
      {kEm31Mk2, {}},
      {kEm38, {}},
      {kEm34_3, {}},
      {kGrad601, {}},
      {kEm61Lx2, {504, 516}},
      {kEm61Mk2, {504}},
      {kEm38Mk2, {516, 517, 520, 521}},
      {kEm38_4, {516, 517, 520, 521}},
      {kCs21, {516, 517, 520, 521}},
  };
  for (const Row& r : rows) {
    const auto monitoring = popup_menu_items(popup_menu_id(r.type, kStateMonitoring));
    const auto stand_by = popup_menu_items(popup_menu_id(r.type, kStateStandBy));
    ASSERT_FALSE(monitoring.empty()) << r.type;
    EXPECT_EQ(monitoring.back(), 508) << r.type;
    EXPECT_EQ(stand_by.back(), 508) << r.type;
    std::set<int> m(monitoring.begin(), monitoring.end()), s(stand_by.begin(), stand_by.end());
    EXPECT_EQ(m.size(), monitoring.size()) << r.type;
    EXPECT_EQ(s.size(), stand_by.size()) << r.type;
    std::set<int> added;
    for (int id : s) {
      EXPECT_NE(command_of_menu_item(id), kCmdNone) << id;
      if (!m.count(id)) added.insert(id);
    }
    for (int id : m) EXPECT_TRUE(s.count(id)) << r.type << " loses " << id;
    std::set<int> want = r.procedures;
    want.insert({501, 502, 503});
    EXPECT_EQ(added, want) << r.type;
    EXPECT_EQ(m.count(513), r.type == kEm61Lx2 ? 1u : 0u) << r.type;
  }
  EXPECT_TRUE(popup_menu_items(489).empty());
  // The CS-21 shares 490 with the EM38-4 without its procedures.
  for (int item : {516, 517, 520}) {
    EXPECT_FALSE(popup_item_offered(kCs21, item)) << item;
    EXPECT_TRUE(popup_item_offered(kEm38_4, item)) << item;
  }
  EXPECT_TRUE(popup_item_offered(kCs21, 521));
  EXPECT_TRUE(popup_menu_items(499).empty());
}

}  // namespace
}  // namespace quelor
