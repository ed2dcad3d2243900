// The EM61-LX2 side code, the simple and enhanced alarms and the quiet
// counter on reading sequences.
#include <gtest/gtest.h>

#include <tuple>

#include <string>
#include <vector>

#include "survey/alarm.h"
#include "survey/side_cue.h"

namespace quelor {
namespace {

using F = CueField;

TEST(SideCue, Codes) {
  struct Case {
    double a1, a2;
    bool f1, f2, enabled;
    int code;
    std::array<CueField, 3> fields;
    const char* voice;
  } cases[] = {
      {10, 12, true, true, true, kSideBetween, {F::kWhite, F::kRed, F::kWhite}, "BETWEENSOUND"},
      {100, 5, true, false, true, kSideLeft, {F::kRed, F::kWhite, F::kWhite}, "LEFTSOUND"},
      {5, 100, false, true, true, kSideRight, {F::kWhite, F::kWhite, F::kRed}, "RIGHTSOUND"},
      {400, 120, true, true, true, kSideBoth, {F::kRed, F::kWhite, F::kRed}, "LEFTRIGHTSOUND"},
      // Equal values: D = 0.5 * 10 = 5 > dv = 0 -> between, whichever flag.
      {10, 10, true, false, true, kSideBetween, {F::kWhite, F::kRed, F::kWhite}, "BETWEENSOUND"},
      // D equal to dv is not between.
      {10, 20, true, true, true, kSideBoth, {F::kRed, F::kWhite, F::kRed}, "LEFTRIGHTSOUND"},
      {1, 1, false, false, true, kSideNothing, {F::kWhite, F::kWhite, F::kWhite}, ""},
      {1, 1, false, false, false, kSideNothing, {F::kUnchanged, F::kUnchanged, F::kUnchanged}, ""},
  };
  for (const Case& c : cases) {
    const SideIndication s = side_indication(c.a1, c.a2, c.f1, c.f2, 0.5, c.enabled);
    EXPECT_EQ(s.code, c.code) << c.a1 << "," << c.a2;
    EXPECT_EQ(s.fields, c.fields) << c.a1 << "," << c.a2;
    EXPECT_EQ(side_voice(s.code), c.voice);
  }
}

// Runs a sequence of (a1, a2) readings; the sounds per reading.
std::vector<std::string> run(const AlarmConfig& c, const std::vector<std::pair<double, double>>& readings,
                             std::vector<int>* codes = nullptr) {
  AlarmState state;
  std::vector<std::string> sounds;
  for (auto [a1, a2] : readings) {
    const AlarmOutcome o = alarm_step(state, c, a1, a2);
    sounds.emplace_back(o.sound);
    if (codes) codes->push_back(o.indication.code);
  }
  return sounds;
}

TEST(Alarm, SimpleAlarmAndQuietCounter) {
  AlarmConfig c;
  c.alarm_type = kAlarmSimple;
  c.amplitude_level = 100;
  std::vector<std::pair<double, double>> r(45, {10.0, 10.0});
  r[2] = {150, 5};     // cue: left
  r[12] = {5, 150};    // within 20 readings: shown, silent
  r[22] = {5, 150};    // the 20th reading after the cue: still silent
  r[23] = {400, 120};  // the 21st: both sides cue
  std::vector<int> codes;
  const std::vector<std::string> s = run(c, r, &codes);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char* expected = i == 2 ? "LEFTSOUND" : i == 23 ? "LEFTRIGHTSOUND" : "";
    EXPECT_EQ(s[i], expected) << i;
  }
  EXPECT_EQ(codes[12], kSideRight);
  EXPECT_EQ(codes[22], kSideRight);
  EXPECT_EQ(codes[3], kSideNothing);

  c.audio = kAudioNone;
  EXPECT_EQ(run(c, r), std::vector<std::string>(45, ""));
  c.audio = kAudioRinging;
  EXPECT_EQ(run(c, r)[2], "SOUND_RING");
  c.audio = kAudioVoice;
  c.two_coils = false;
  EXPECT_EQ(run(c, r)[2], "RINGINSOUND");
  c.alarm_type = kAlarmDisabled;
  EXPECT_EQ(run(c, r), std::vector<std::string>(45, ""));
}

TEST(Alarm, EnhancedWindow) {
  AlarmConfig c;
  c.alarm_type = kAlarmEnhanced;
  c.window = 5;
  c.minimum_level = 50;
  c.maximum_level = 1000;
  c.peak_ratio = 0.3;
  struct Case {
    const char* name;
    std::deque<double> window;
    bool two_descending;
    bool triggers;
  } cases[] = {
      {"peak in the middle", {60, 80, 200, 90, 70}, false, true},
      {"peak at the newest value", {60, 80, 90, 100, 200}, false, false},
      {"peak at the oldest value", {200, 80, 90, 100, 70}, false, false},
      {"peak below the band", {20, 30, 40, 35, 25}, false, false},
      {"peak above the band", {600, 800, 1200, 900, 700}, false, false},
      {"a value below the peak ratio", {60, 80, 200, 90, 50}, false, false},
      {"one descending reading", {60, 80, 90, 200, 70}, false, true},
      {"two descending readings wanted", {60, 80, 90, 200, 70}, true, false},
      {"two descending readings", {60, 80, 200, 90, 70}, true, true},
      {"window not yet full", {80, 200, 90, 70}, false, false},
  };
  for (const Case& k : cases) {
    c.two_descending = k.two_descending;
    double peak = 0;
    EXPECT_EQ(enhanced_trigger(k.window, c, peak), k.triggers) << k.name;
    if (k.triggers) {
      EXPECT_EQ(peak, 200) << k.name;
    }
  }
}

TEST(Alarm, EnhancedCueOncePerPeakAndSideOfPeaks) {
  AlarmConfig c;
  c.alarm_type = kAlarmEnhanced;
  c.window = 7;
  std::vector<std::pair<double, double>> r(40, {100.0, 100.0});
  // A left anomaly: the peak stays inside the window for N - 2 readings,
  // but only the first of them sounds.
  const double left[] = {120, 180, 300, 180, 120};
  for (int i = 0; i < 5; ++i) r[10 + i].first = left[i];
  std::vector<int> codes;
  const std::vector<std::string> s = run(c, r, &codes);
  int cues = 0, left_codes = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    cues += !s[i].empty();
    left_codes += codes[i] == kSideLeft;
    if (!s[i].empty()) {
      EXPECT_EQ(s[i], "LEFTSOUND");
    }
  }
  EXPECT_EQ(cues, 1);
  EXPECT_GE(left_codes, 2);
}

TEST(Alarm, ConfigFromSettings) {
  AlarmSettings a;
  a.alarm_type = 2;
  a.medium_anomaly_width = 9;
  a.descending_readings = 1;
  const AlarmConfig c = alarm_config_from_settings(a, 1);
  EXPECT_EQ(c.window, 21);
  EXPECT_TRUE(c.two_descending);
  EXPECT_TRUE(c.two_coils);
  EXPECT_FALSE(alarm_config_from_settings(a, 0).two_coils);
  const double channels[] = {1, 2, 3, 4, 5, 6};
  for (int m = 0; m < 3; ++m) {
    const CoilValues v = monitored_coil_values(channels, m, true);
    EXPECT_EQ(v.a1, m + 1);
    EXPECT_EQ(v.a2, m + 4);
    EXPECT_EQ(monitored_coil_values(std::span<const double>(channels, 3), m, false).a2, 0.0);
  }
}

TEST(SideIndicator, ValueRowsInTheirFormat) {
  const double values[6] = {12.345, -3.25, 1000.06, 0.0, -0.04, 98765.4};
  EXPECT_EQ(side_indicator_rows(values, false),
            (std::vector<std::string>{"LE:      12.3", "LL:      -3.2", "LF:    1000.1", "RE:       0.0",
                                      "RL:      -0.0", "RF:   98765.4"}));
  const std::vector<std::string> marked = side_indicator_rows(values, true);
  ASSERT_EQ(marked.size(), 7u);
  EXPECT_EQ(marked.back(), "MARKER");
}

// No field covers a row, and the seven rows (six values and MARKER) always fit.
TEST(SideIndicator, FieldsBelowEveryRow) {
  for (const auto& [width, height, line] : {std::tuple{110, 200, 22}, {110, 150, 22}, {200, 120, 18}, {90, 260, 24}}) {
    const SideIndicatorLayout l = side_indicator_layout(width, height, line, 7);
    const int text_height = l.small_font ? l.row_step : line;
    const int last_row_bottom = l.first_row_y + 6 * l.row_step + text_height;
    for (const CueBox& f : l.fields) {
      EXPECT_GE(f.top, last_row_bottom) << width << "x" << height;
      EXPECT_EQ(f.bottom - f.top, kCueFieldHeight);
      EXPECT_LE(f.bottom, height);
      EXPECT_GE(f.left, 0);
      EXPECT_LE(f.right, width);
    }
    EXPECT_LT(l.fields[0].right, l.fields[1].left);
    EXPECT_LT(l.fields[1].right, l.fields[2].left);
    EXPECT_EQ(l.small_font, 7 * line > height - kCueFieldHeight - 4 - 5) << width << "x" << height;
  }
}

}  // namespace
}  // namespace quelor
