#include "app/logging/target_cue_win.h"

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/sound/sound_player.h"
#include "survey/alarm.h"

namespace quelor {

namespace {

struct TargetCue {
  AlarmState state;
  SideIndication shown;
};

TargetCue& target_cue() {
  static TargetCue cue;
  return cue;
}

bool two_coil_lx2() {
  return g_variant.instrument_type == kEm61Lx2 && logging_session().decode.two_sensors;
}

}  // namespace

void reset_target_cue() { target_cue() = {}; }

void run_target_cue(const InstrumentOutcome& o) {
  if (g_variant.instrument_type != kEm61Lx2 || o.channel_count == 0) return;
  const bool two = logging_session().decode.two_sensors;
  const AlarmConfig config = alarm_config_from_settings(g_settings.alarm, two ? 1 : 0);
  const CoilValues v = monitored_coil_values(
      std::span<const double>(o.channels.data(), static_cast<std::size_t>(o.channel_count)),
      g_settings.alarm.monitored_channel, two);
  TargetCue& cue = target_cue();
  const AlarmOutcome a = alarm_step(cue.state, config, v.a1, v.a2);
  // Fields left "unchanged" keep what the last reading showed.
  for (std::size_t i = 0; i < 3; ++i)
    if (a.indication.fields[i] != CueField::kUnchanged) cue.shown.fields[i] = a.indication.fields[i];
  cue.shown.code = a.indication.code;
  if (!a.sound.empty()) play_sound_named(a.sound);
}

void draw_side_indicator(HDC dc, const RECT& client) {
  if (!two_coil_lx2() || g_settings.alarm.alarm_type == kAlarmDisabled) return;
  const TargetCue& cue = target_cue();
  const int width = (client.right - client.left - 20) / 3;
  // A thin strip along the bottom edge keeps the last value row readable.
  constexpr int height = 10;
  const int top = client.bottom - height - 2;
  for (int i = 0; i < 3; ++i) {
    RECT field{client.left + 5 + i * (width + 5), top, client.left + 5 + i * (width + 5) + width, top + height};
    const bool red = cue.shown.fields[static_cast<std::size_t>(i)] == CueField::kRed;
    HBRUSH brush = CreateSolidBrush(red ? RGB(230, 40, 40) : RGB(255, 255, 255));
    FillRect(dc, &field, brush);
    DeleteObject(brush);
    FrameRect(dc, &field, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

}  // namespace quelor
