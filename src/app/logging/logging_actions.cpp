#include "app/logging/logging_actions.h"

#include "app/logging/display_dialogs.h"
#include "app/logging/gps_mask_action.h"
#include "app/logging/line_actions.h"
#include "app/map/map_actions.h"
#include "app/background/background_actions.h"
#include "app/procedures/procedure_actions.h"

#include "survey/command_table.h"
#include "survey/logging_keys.h"

namespace quelor {

namespace {

constexpr LoggingActionRow kActions[] = {
    {kActionFile, file_action},
    {kActionGo, go_action},
    {kActionPause, pause_action},
    {kActionQuickLine, quick_line_action},
    {kActionExit, exit_action},
    {kActionMenu, menu_action},
    {kCmdHideMenu, hide_menu_action},
    {kCmdFirstChannel, channel_selector_action},
    {kCmdNewLine, new_line_action},
    {kCmdNewStation, new_station_action},
    {kCmdComment, comment_action},
    {kCmdAudioOptions, audio_options_action},
    {kCmdCoordinatesUnits, coordinates_units_action},
    {kCmdToggleView, toggle_view_action},
    {kCmdEnterBackground, enter_background_action},
    {kCmdRemoveBackground, remove_background_action},
    {kCmdAlarmSettings, alarm_settings_action},
    {kCmdNulling, nulling_action},
    {kCmdCalibration, calibration_action},
    {kCmdRemoveCalibration, remove_calibration_action},
    {kCmdDriftReminder, drift_reminder_action},
    {kCmdDriftControl, drift_control_action},
    {kCmdGpsWarningMask, gps_mask_action},
    {kCmdMapSize, map_size_action},
    {kCmdMapDisplayOptions, map_display_options_action},
    {kCmdMapLeft, map_view_action},
    {kCmdMapRight, map_view_action},
    {kCmdMapUp, map_view_action},
    {kCmdMapDown, map_view_action},
    {kCmdZoomIn, map_view_action},
    {kCmdZoomOut, map_view_action},
    {kCmdFitAll, map_view_action},
    {kCmdEnterReview, map_view_action},
    {kCmdExitReview, map_view_action},
    {kCmdScaleReadings, readings_scale_action},
    {kCmdScaleSpeedBar, speed_scale_action},
    {kCmdProfileOptions, profile_options_action},
};

}  // namespace

std::span<const LoggingActionRow> logging_action_table() { return kActions; }

LoggingActionFn find_logging_action(int action) {
  for (const LoggingActionRow& row : kActions)
    if (row.action == action) return row.run;
  return nullptr;
}

}  // namespace quelor
