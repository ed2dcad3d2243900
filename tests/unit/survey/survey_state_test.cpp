#include "survey/survey_state.h"

#include <gtest/gtest.h>

#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {
namespace {

TEST(SurveyState, StateValues) {
  EXPECT_EQ(kStateClosed, -2);
  EXPECT_EQ(kStateMonitoring, 0);
  EXPECT_EQ(kStateStandBy, -1);
  EXPECT_EQ(kStateLogging, 1);
}

TEST(SurveyState, LabelsByStateAndMode) {
  struct Row {
    int state, mode;
    const char* label;
  };
  const Row rows[] = {
      {kStateMonitoring, 0, "Monitoring (Auto)"},   {kStateMonitoring, 1, "Monitoring (Wheel)"},
      {kStateMonitoring, 2, "Monitoring (Manual)"}, {kStateStandBy, 0, "Stand By (Auto)"},
      {kStateStandBy, 1, "Stand By (Wheel)"},       {kStateStandBy, 2, "Stand By (Manual)"},
      {kStateLogging, 0, "Logging (Auto)"},         {kStateLogging, 1, "Logging (Wheel)"},
      {kStateLogging, 2, "Logging (Manual)"},       {kStateClosed, 0, ""},
      {kStateLogging, 7, "Logging (Auto)"},         {kStateStandBy, -3, "Stand By (Auto)"},
  };
  for (const Row& r : rows) EXPECT_EQ(state_label(r.state, r.mode), r.label) << r.state << " " << r.mode;
}

TEST(SurveyState, FileLabel) {
  EXPECT_EQ(file_label("250307_002"), "File: 250307_002");
  EXPECT_EQ(file_label(""), "File: ");
}

TEST(SurveyState, PauseHintByPauseKey) {
  const char* expected[] = {"press any key to pause", "press <ENTER> to pause", "<Space Bar> to pause",
                            "press key <P> pause"};
  for (int key = 0; key < 4; ++key) {
    const auto lines = pause_hint(kStateLogging, key, kEm31Mk2, kModeAuto);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Tap/Click PAUSE button or");
    EXPECT_EQ(lines[1], expected[key]);
  }
  EXPECT_EQ(pause_key_hint(9), "press any key to pause");
}

TEST(SurveyState, PauseHintEm34ManualAndOtherStates) {
  const auto lines = pause_hint(kStateLogging, 1, kEm34_3, kModeManual);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "Push switch RECORD");
  EXPECT_EQ(pause_hint(kStateLogging, 1, kEm34_3, kModeAuto).size(), 2u);
  EXPECT_EQ(pause_hint(kStateLogging, 1, kEm31Mk2, kModeManual).size(), 2u);
  EXPECT_TRUE(pause_hint(kStateStandBy, 0, kEm31Mk2, kModeAuto).empty());
  EXPECT_TRUE(pause_hint(kStateMonitoring, 0, kEm31Mk2, kModeAuto).empty());
}

TEST(SurveyState, ButtonSets) {
  const ButtonSet em61 = button_set(kStateMonitoring, kEm61Mk2);
  EXPECT_EQ(em61.count, 4);
  EXPECT_EQ(em61.texts[0], "&File");
  EXPECT_EQ(em61.texts[1], "N&ull");
  EXPECT_EQ(em61.texts[2], "E&xit");
  EXPECT_EQ(em61.texts[3], "&Menu");
  EXPECT_EQ(button_set(kStateMonitoring, kEm61Lx2).texts[1], "N&ull");
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601}) {
    const ButtonSet b = button_set(kStateMonitoring, type);
    EXPECT_EQ(b.texts[0], "&File");
    EXPECT_EQ(b.texts[1], "Map &Size") << type;
    EXPECT_FALSE(b.pause);
  }
  for (InstrumentType type : {kEm31Mk2, kEm61Mk2}) {
    const ButtonSet s = button_set(kStateStandBy, type);
    EXPECT_EQ(s.texts[0], "&Go");
    EXPECT_EQ(s.texts[1], "&QLine");
    EXPECT_EQ(s.texts[2], "E&xit");
    EXPECT_EQ(s.texts[3], "&Menu");
  }
  const ButtonSet p = button_set(kStateLogging, kEm31Mk2);
  EXPECT_TRUE(p.pause);
  EXPECT_EQ(p.count, 1);
  EXPECT_EQ(p.texts[0], "P A U S E");
  EXPECT_EQ(button_set(kStateClosed, kEm31Mk2).count, 0);
}

TEST(SurveyRecordTimes, ElapsedText) {
  EXPECT_EQ(elapsed_text(0), "00:00:00");
  EXPECT_EQ(elapsed_text(59999), "00:00:59");
  EXPECT_EQ(elapsed_text(3723000), "01:02:03");
  EXPECT_EQ(elapsed_text(36000000u * 3), "30:00:00");
}

TEST(SurveyRecordTimes, ElapsedAddsTheRunningPeriodOnlyWhileLogging) {
  SurveyRecord r;
  r.earlier_logging_ms = 5000;
  r.start_tick = 0xFFFFFF00u;  // across the tick wrap
  r.state = kStateLogging;
  EXPECT_EQ(elapsed_logging_ms(r, 0x100u), 5000u + 0x200u);
  r.state = kStateStandBy;
  EXPECT_EQ(elapsed_logging_ms(r, 0x100u), 5000u);
}

}  // namespace
}  // namespace quelor
