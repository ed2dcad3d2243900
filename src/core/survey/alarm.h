#pragma once
// The EM61-LX2 anomaly alarm, run on every reading of the monitored
// channel: the simple alarm (a coil at or above the amplitude level) or the
// enhanced alarm (a peak inside a moving window of N = 2i + 3 values, within
// the level band, no value of the window below the peak ratio of it, and with
// two descending readings the one before the newest below the peak too).
// After a cue the quiet counter keeps every further cue silent for
// trunc(20 / r) readings (r = 1); the indicator still shows each code.

#include <deque>
#include <span>
#include <string_view>

#include "settings/settings.h"
#include "survey/side_cue.h"

namespace quelor {

enum AlarmType : int { kAlarmDisabled = 0, kAlarmSimple = 1, kAlarmEnhanced = 2 };
enum AlarmAudio : int { kAudioNone = 0, kAudioVoice = 1, kAudioRinging = 2 };

inline constexpr double kDefaultBetweenRatio = 0.5;
inline constexpr double kDefaultPeakRatio = 0.2;
inline constexpr int kQuietReadings = 20;

struct AlarmConfig {
  int alarm_type = kAlarmDisabled;
  int audio = kAudioVoice;
  double amplitude_level = 100.0;
  double minimum_level = 50.0;
  double maximum_level = 1000.0;
  int window = 3;               // N = 2i + 3
  bool two_descending = false;  // "2 Samples"
  double between_ratio = kDefaultBetweenRatio;
  double peak_ratio = kDefaultPeakRatio;
  int rate_divisor = 1;
  bool two_coils = true;
};

AlarmConfig alarm_config_from_settings(const AlarmSettings& s, int number_of_sensors);

struct AlarmState {
  std::deque<double> windows[2];
  int quiet = 0;  // 0 idle, >= 1 readings since the last cue
};

struct AlarmOutcome {
  bool f1 = false, f2 = false;
  double a1 = 0.0, a2 = 0.0;  // the values of the side code (the peaks on an enhanced trigger)
  SideIndication indication;  // two coils only
  std::string_view sound;     // empty: no sound
};

// One reading: the monitored channel's value of the left (a1) and right
// (a2) coil; a one-coil instrument passes its value as a1.
AlarmOutcome alarm_step(AlarmState& state, const AlarmConfig& config, double a1, double a2);

// The monitored channel's values of the two coils from the EM61-LX2
// reading's channels: early, late and filtered of the left coil, then of the
// right one (a one-coil instrument gives a2 = 0).
struct CoilValues {
  double a1 = 0.0, a2 = 0.0;
};
CoilValues monitored_coil_values(std::span<const double> channels, int monitored_channel, bool two_coils);

// The enhanced test of one coil's full window: the peak when it triggers.
bool enhanced_trigger(const std::deque<double>& window, const AlarmConfig& config, double& peak);

}  // namespace quelor
