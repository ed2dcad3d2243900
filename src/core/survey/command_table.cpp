#include "survey/command_table.h"

#include <array>

#include "survey/logging_commands.h"
#include "survey/logging_keys.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

using N = CommandNeed;

constexpr std::array<CommandRow, 36> kCommands{{
    {kCmdFileGoPause, 0, nullptr, N::kNothing},
    {kCmdMapSizeNullQLine, 0, nullptr, N::kNothing},
    {kCmdExit, 0, nullptr, N::kNothing},
    {kCmdMenu, 0, nullptr, N::kNothing},
    {kCmdNewLine, 501, "New Lin&e", N::kInstrument},
    {kCmdNewStation, 502, "&New Station", N::kInstrument},
    {kCmdComment, 503, "&Comment", N::kNothing},
    {kCmdNulling, 504, "N&ulling", N::kNothing},
    {kCmdScaleReadings, 505, "Sc&ale Readings", N::kNothing},
    {kCmdScaleSpeedBar, 506, "Scale Speed &Bar", N::kGps},
    {kCmdProfileOptions, 507, "Pr&ofile Display Options", N::kInstrument},
    {kCmdHideMenu, 508, "&Hide Menu", N::kNothing},
    {kCmdMapSize, 509, "Map &Size", N::kGpsAndMap},
    {kCmdMapDisplayOptions, 510, "Map Displa&y Options", N::kGpsAndMap},
    {kCmdToggleView, 511, "Toggle &View", N::kInstrumentAndGps},
    {kCmdGpsWarningMask, 512, "GPS &Warning Mask", N::kGps},
    {kCmdAlarmSettings, 513, "Alarm S&ettings", N::kNothing},
    {kCmdAudioOptions, 514, "Au&dio Options", N::kNothing},
    {kCmdCoordinatesUnits, 515, "Coordina&tes Display Units", N::kNothing},
    {kCmdCalibration, 516, "Ca&libration", N::kNothing},
    {kCmdRemoveCalibration, 517, "&Remove Calibration", N::kNothing},
    {kCmdEnterBackground, 518, "Enter Bac&kground Files", N::kMap},
    {kCmdRemoveBackground, 519, "Re&move Background Files", N::kNothing},
    {kCmdDriftControl, 520, "A&pply Drift Control", N::kNothing},
    {kCmdDriftReminder, 521, "Chan&ge Drift Reminder Time", N::kNothing},
    {kCmdMapLeft, 0, nullptr, N::kNothing},
    {kCmdMapRight, 0, nullptr, N::kNothing},
    {kCmdMapUp, 0, nullptr, N::kNothing},
    {kCmdMapDown, 0, nullptr, N::kNothing},
    {kCmdZoomIn, 0, nullptr, N::kNothing},
    {kCmdZoomOut, 0, nullptr, N::kNothing},
    {kCmdFitAll, 0, nullptr, N::kNothing},
    {kCmdEnterReview, 0, nullptr, N::kNothing},
    {kCmdExitReview, 0, nullptr, N::kNothing},
    {kCmdFirstChannel, 0, nullptr, N::kGps},
    {kCmdNone, 0, nullptr, N::kNothing},  // end
}};

bool needs_instrument(CommandNeed n) { return n == N::kInstrument || n == N::kInstrumentAndGps; }
bool needs_gps(CommandNeed n) { return n == N::kGps || n == N::kGpsAndMap || n == N::kInstrumentAndGps; }
bool needs_map(CommandNeed n) { return n == N::kMap || n == N::kGpsAndMap; }

// Pan, zoom, fit and review act on a survey's map: a data file open (Stand
// By or Logging) and the map shown; otherwise they do nothing, unannounced.
bool map_view_code(int code) { return code >= kCmdMapLeft && code <= kCmdExitReview; }
bool map_view_usable(const CommandSituation& s) {
  return s.map_shown && (s.state == kStateStandBy || s.state == kStateLogging);
}

// Codes 0-3: the action of the state and what it needs.
struct StateStep {
  int action;
  CommandNeed need;
};

StateStep state_step(int code, const CommandSituation& s) {
  switch (state_command(code, s.state, s.instrument_type)) {
    case StateCommand::kFile: return {kActionFile, N::kNothing};
    case StateCommand::kGo: return {kActionGo, N::kNothing};
    case StateCommand::kPause: return {kActionPause, N::kNothing};
    case StateCommand::kMapSize: return {kCmdMapSize, find_command(kCmdMapSize)->need};
    case StateCommand::kNulling: return {kCmdNulling, find_command(kCmdNulling)->need};
    case StateCommand::kQuickLine: return {kActionQuickLine, N::kInstrument};
    case StateCommand::kExit: return {kActionExit, N::kNothing};
    case StateCommand::kMenu: return {kActionMenu, N::kNothing};
    default: return {kActionNone, N::kNothing};
  }
}

}  // namespace

std::span<const CommandRow> command_table() { return std::span(kCommands).first(kCommands.size() - 1); }

const CommandRow* find_command(int code) {
  if (code > kCmdFirstChannel && code < kCmdFirstChannel + kMaxChannelCommands) code = kCmdFirstChannel;
  for (const CommandRow& row : command_table())
    if (row.code == code) return &row;
  return nullptr;
}

int command_of_menu_item(int menu_id) {
  if (menu_id == 0) return kCmdNone;
  for (const CommandRow& row : command_table())
    if (row.menu_id == menu_id) return row.code;
  return kCmdNone;
}

const char* menu_item_text(int menu_id, InstrumentType instrument_type) {
  if (menu_id == 516 && has_trait(instrument_type, Trait::kFilterFactors)) return "Ca&librate Filter";
  if (menu_id == 0) return nullptr;
  for (const CommandRow& row : command_table())
    if (row.menu_id == menu_id) return row.menu_text;
  return nullptr;
}

std::optional<OperatorMessage> unmet_need(CommandNeed need, const CommandSituation& s) {
  if (needs_instrument(need) && !s.instrument_used) return instrument_required();
  if (needs_gps(need) && !s.gps_used) return gps_required();
  if (needs_map(need) && !s.map_shown) return map_required();
  return std::nullopt;
}

CommandStep dispatch_command(int code, const CommandSituation& s) {
  CommandStep step;
  if (code >= kCmdFileGoPause && code <= kCmdMenu) {
    const StateStep st = state_step(code, s);
    if (st.action == kActionNone) return step;
    step.refusal = unmet_need(st.need, s);
    if (!step.refusal) step.action = st.action;
    return step;
  }
  if (code >= kCmdFirstChannel && code >= kCmdFirstChannel + s.selector_count) return step;
  if (map_view_code(code) && !map_view_usable(s)) return step;
  const CommandRow* row = find_command(code);
  if (!row) return step;
  step.refusal = unmet_need(row->need, s);
  if (!step.refusal) step.action = row->code;
  return step;
}

}  // namespace quelor
