#include "survey/alarm.h"

#include <algorithm>

namespace quelor {

namespace {

void push(std::deque<double>& window, double value, int length) {
  window.push_back(value);
  while (static_cast<int>(window.size()) > length) window.pop_front();
}

std::string_view cue_sound(const AlarmConfig& c, int code) {
  if (c.audio == kAudioRinging) return "SOUND_RING";
  if (c.audio != kAudioVoice) return {};
  return c.two_coils ? side_voice(code) : std::string_view("RINGINSOUND");
}

}  // namespace

AlarmConfig alarm_config_from_settings(const AlarmSettings& s, int number_of_sensors) {
  AlarmConfig c;
  c.alarm_type = s.alarm_type;
  c.audio = s.audio_indicator;
  c.amplitude_level = s.amplitude_alarm_level;
  c.minimum_level = s.minimum_amplitude_level;
  c.maximum_level = s.maximum_amplitude_level;
  c.window = 2 * std::clamp(s.medium_anomaly_width, 0, 9) + 3;
  c.two_descending = s.descending_readings == 1;
  c.two_coils = number_of_sensors > 0;
  return c;
}

CoilValues monitored_coil_values(std::span<const double> channels, int monitored_channel, bool two_coils) {
  const std::size_t m = static_cast<std::size_t>(std::clamp(monitored_channel, 0, 2));
  CoilValues v;
  if (m < channels.size()) v.a1 = channels[m];
  if (two_coils && m + 3 < channels.size()) v.a2 = channels[m + 3];
  return v;
}

bool enhanced_trigger(const std::deque<double>& w, const AlarmConfig& c, double& peak) {
  if (static_cast<int>(w.size()) < c.window || w.size() < 3) return false;
  const double p = *std::max_element(w.begin(), w.end());
  if (p < c.minimum_level || p > c.maximum_level) return false;
  if (std::any_of(w.begin(), w.end(), [&](double v) { return v < p * c.peak_ratio; })) return false;
  if (!(p > w.front() && p > w.back())) return false;
  if (c.two_descending && !(w[w.size() - 2] < p)) return false;
  peak = p;
  return true;
}

AlarmOutcome alarm_step(AlarmState& s, const AlarmConfig& c, double a1, double a2) {
  AlarmOutcome o;
  o.a1 = a1;
  o.a2 = a2;
  if (c.alarm_type == kAlarmSimple) {
    o.f1 = a1 >= c.amplitude_level;
    o.f2 = c.two_coils && a2 >= c.amplitude_level;
  } else if (c.alarm_type == kAlarmEnhanced) {
    push(s.windows[0], a1, c.window);
    o.f1 = enhanced_trigger(s.windows[0], c, o.a1);
    if (c.two_coils) {
      push(s.windows[1], a2, c.window);
      o.f2 = enhanced_trigger(s.windows[1], c, o.a2);
    }
  }
  const bool enabled = c.alarm_type != kAlarmDisabled;
  if (c.two_coils) o.indication = side_indication(o.a1, o.a2, o.f1, o.f2, c.between_ratio, enabled);
  if (!enabled) return o;
  if (s.quiet >= 1) {
    if (++s.quiet > kQuietReadings / std::max(1, c.rate_divisor)) s.quiet = 0;
    return o;
  }
  if (o.f1 || o.f2) {
    o.sound = cue_sound(c, o.indication.code);
    s.quiet = 1;
  }
  return o;
}

}  // namespace quelor
