#include "app/logging/target_cue_win.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/sound/sound_player.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "survey/alarm.h"
#include "survey/side_cue.h"
#include "variant/instrument.h"

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
  return has_trait(g_variant.instrument_type, Trait::kAlarmSetup) && logging_session().decode.two_sensors;
}

}  // namespace

void reset_target_cue() { target_cue() = {}; }

void run_target_cue(const InstrumentOutcome& o) {
  if (!has_trait(g_variant.instrument_type, Trait::kAlarmSetup) || o.channel_count == 0) return;
  const bool two = logging_session().decode.two_sensors;
  const AlarmConfig config = alarm_config_from_settings(g_settings.alarm, two ? 1 : 0);
  const CoilValues v =
      monitored_coil_values(std::span<const double>(o.channels.data(), static_cast<std::size_t>(o.channel_count)),
                            g_settings.alarm.monitored_channel, two);
  TargetCue& cue = target_cue();
  const AlarmOutcome a = alarm_step(cue.state, config, v.a1, v.a2);
  // Fields left "unchanged" keep what the last reading showed.
  for (std::size_t i = 0; i < 3; ++i)
    if (a.indication.fields[i] != CueField::kUnchanged) cue.shown.fields[i] = a.indication.fields[i];
  cue.shown.code = a.indication.code;
  if (!a.sound.empty()) play_sound_named(a.sound);
}

bool draw_side_indicator(HDC dc, const RECT& client, bool have_reading, std::span<const double> channels, bool marker) {
  if (!two_coil_lx2()) return false;
  const std::vector<std::string> rows =
      have_reading ? side_indicator_rows(channels, marker) : std::vector<std::string>{};
  const SideIndicatorLayout l =
      side_indicator_layout(client.right - client.left, client.bottom - client.top, g_line_height,
                            static_cast<int>(side_indicator_rows(channels, true).size()));
  SelectedObject font(dc, l.small_font ? g_fonts[kTextFont] : nullptr);
  int y = client.top + l.first_row_y;
  for (const std::string& row : rows) {
    const std::wstring text(row.begin(), row.end());
    ExtTextOutW(dc, client.left + 5, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    y += l.row_step;
  }
  if (g_settings.alarm.alarm_type == kAlarmDisabled) return true;
  const TargetCue& cue = target_cue();
  for (std::size_t i = 0; i < 3; ++i) {
    const CueBox& b = l.fields[i];
    RECT field{client.left + b.left, client.top + b.top, client.left + b.right, client.top + b.bottom};
    const bool red = cue.shown.fields[i] == CueField::kRed;
    const UniqueBrush brush(CreateSolidBrush(red ? RGB(230, 40, 40) : RGB(255, 255, 255)));
    FillRect(dc, &field, brush.get());
    FrameRect(dc, &field, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  return true;
}

}  // namespace quelor
