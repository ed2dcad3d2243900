#include "survey/survey_state.h"

#include <array>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<std::string_view, 3> kModeSuffixes{"(Auto)", "(Wheel)", "(Manual)"};
constexpr std::array<std::string_view, 4> kPauseKeyHints{"press any key to pause", "press <ENTER> to pause",
                                                         "<Space Bar> to pause", "press key <P> pause"};

struct StateName {
  int state;
  std::string_view name;
};
constexpr std::array<StateName, 3> kStateNames{
    {{kStateMonitoring, "Monitoring"}, {kStateStandBy, "Stand By"}, {kStateLogging, "Logging"}}};

constexpr ButtonSet kMonitoringEm61{{"&File", "N&ull", "E&xit", "&Menu"}, 4, false};
constexpr ButtonSet kMonitoringOther{{"&File", "Map &Size", "E&xit", "&Menu"}, 4, false};
constexpr ButtonSet kStandBy{{"&Go", "&QLine", "E&xit", "&Menu"}, 4, false};
constexpr ButtonSet kPause{{"P A U S E", "", "", ""}, 1, true};

}  // namespace

std::string_view survey_mode_suffix(int survey_mode) {
  if (survey_mode < 0 || survey_mode >= static_cast<int>(kModeSuffixes.size())) return kModeSuffixes[0];
  return kModeSuffixes[static_cast<std::size_t>(survey_mode)];
}

std::string state_label(int state, int survey_mode) {
  for (const StateName& s : kStateNames)
    if (s.state == state) return std::string(s.name) + " " + std::string(survey_mode_suffix(survey_mode));
  return {};
}

std::string file_label(std::string_view data_file_name) { return "File: " + std::string(data_file_name); }

std::string_view pause_key_hint(int pause_key) {
  if (pause_key < 0 || pause_key >= static_cast<int>(kPauseKeyHints.size())) return kPauseKeyHints[0];
  return kPauseKeyHints[static_cast<std::size_t>(pause_key)];
}

std::vector<std::string> pause_hint(int state, int pause_key, InstrumentType instrument_type, int survey_mode) {
  if (state != kStateLogging) return {};
  std::vector<std::string> lines{"Tap/Click PAUSE button or", std::string(pause_key_hint(pause_key))};
  if (has_trait(instrument_type, Trait::kStationReadings) && survey_mode == kModeManual)
    lines.emplace_back("Push switch RECORD");
  return lines;
}

ButtonSet button_set(int state, InstrumentType instrument_type) {
  switch (state) {
    case kStateMonitoring: return is_em61(instrument_type) ? kMonitoringEm61 : kMonitoringOther;
    case kStateStandBy: return kStandBy;
    case kStateLogging: return kPause;
    default: return {};
  }
}

}  // namespace quelor
