// The EM61-LX2 alarm in the program: readings of a target left of the
// track light the left field of the numbers window and ask for "LEFTSOUND"
// once; the quiet counter keeps the next readings silent.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/logging/target_cue_win.h"
#include "app/sound/sound_player.h"
#include "survey/side_cue.h"

namespace quelor {
namespace {

InstrumentOutcome lx2_reading(double left_early, double right_early) {
  InstrumentOutcome o;
  o.channel_count = 6;
  o.channels = {left_early, 10, left_early - 3.1, right_early, 10, right_early - 3.1};
  return o;
}

COLORREF field_colour(int field) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 100);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT client{0, 0, 300, 100};
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  const double values[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(draw_side_indicator(dc, client, true, values, true));
  const CueBox box = side_indicator_layout(300, 100, g_line_height, 7).fields[static_cast<std::size_t>(field)];
  const COLORREF c = GetPixel(dc, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST(TargetCue, LeftTargetLightsTheLeftFieldAndSpeaksOnce) {
  const Variant saved_variant = g_variant;
  const Settings saved_settings = g_settings;
  g_variant = {kEm61Lx2, kRealTimeMap};
  g_settings.alarm.alarm_type = 1;  // simple
  g_settings.alarm.audio_indicator = 1;
  g_settings.alarm.monitored_channel = 0;
  g_settings.alarm.amplitude_alarm_level = 100.0;
  logging_session().decode.two_sensors = true;
  reset_target_cue();
  reset_sound_counts();

  for (int i = 0; i < 5; ++i) run_target_cue(lx2_reading(20, 15));
  EXPECT_EQ(field_colour(0), RGB(255, 255, 255));
  for (int i = 0; i < 4; ++i) run_target_cue(lx2_reading(300, 20));  // over the target, left coil
  EXPECT_EQ(sound_play_count(Sound::kLeft), 1);
  EXPECT_EQ(sound_play_count(Sound::kRight), 0);
  EXPECT_EQ(field_colour(0), RGB(230, 40, 40));
  EXPECT_EQ(field_colour(1), RGB(255, 255, 255));
  EXPECT_EQ(field_colour(2), RGB(255, 255, 255));

  // The other instruments have no alarm.
  g_variant = {kEm61Mk2, kRealTimeMap};
  run_target_cue(lx2_reading(300, 20));
  EXPECT_EQ(sound_play_count(Sound::kLeft), 1);

  stop_sound();
  reset_target_cue();
  g_variant = saved_variant;
  g_settings = saved_settings;
  logging_session().decode.two_sensors = false;
}

}  // namespace
}  // namespace quelor
