#include "survey/status_cells.h"

#include <algorithm>

namespace quelor {

namespace {

constexpr int kTopRowY = 2;
constexpr int kStateInset = 1;
constexpr int kActivityGap = 15;
constexpr int kGpsRows = 5;
constexpr int kGpsBlockMargin = 10;

constexpr std::array<CellTemplate, kStatusCellCount> kTemplates{{
    {kCellState, "Monitoring (Manual)"},
    {kCellActivity, "Active: Cond Horizontal"},
    {kCellMarker, "MARKER"},
    {kCellMapSize, "Map Size: 99999 meters"},
    {kCellPushSwitch, "Push switch RECORD"},
    {kCellCalibration, "Calib/Offset: ON"},
    {kCellEm38_4Value, "T1:999999.99 "},
    {kCellStationCount, "# of Stns:888999"},
    {kCellLongitudeLabel, "Lon: -188 88 88.88888"},
    {kCellLongitudeValue, "W-888 88 88.888888"},
    {kCellGridValue, "-88888888.88 USft"},
    {kCellHeightLabel, "Z:"},
    {kCellHeightValue, "33"},
    {kCellPositionsLabel, "Positions:"},
    {kCellPositionsValue, "88888"},
    {kCellSlam, "SLAM Conf.: 88"},
    {kCellDilution, "GDOP: N/A"},
    {kCellSpeed, "Speed: 88.56 ft/s"},
    {kCellTime, "Tot Time:  00:00:00"},
    {kCellTilt, "R:-888.888 P:-888.888 Y:-888.888"},
    {kCellTiltMeter, "Tilt Meter: Disabled"},
    {kCellVoltage, "88.8 V"},
}};

}  // namespace

const std::array<CellTemplate, kStatusCellCount>& cell_templates() { return kTemplates; }

int gps_row_spacing(const StatusLayoutInput& in) {
  if (!in.portrait) return in.line_height;
  const int extra = (in.gps_block_height - kGpsRows * in.line_height - kGpsBlockMargin) / kGpsRows;
  return in.line_height + std::max(0, extra);
}

StatusLayout layout_status_cells(const StatusLayoutInput& in, const MeasureText& measure) {
  StatusLayout l;
  for (const CellTemplate& t : kTemplates) l.widths[static_cast<std::size_t>(t.cell)] = measure ? measure(t.text) : 0;
  const int bottom = kTopRowY + in.line_height;
  const int state_left = in.panel_left + kStateInset;
  l.state = {state_left, kTopRowY, state_left + l.widths[kCellState], bottom};
  const int activity_left = l.state.right + kActivityGap;
  l.activity = {activity_left, kTopRowY, activity_left + l.widths[kCellActivity], bottom};
  l.map_size = {in.panel_right - l.widths[kCellMapSize], kTopRowY, in.panel_right, bottom};
  const int spacing = gps_row_spacing(in);
  for (int i = 0; i < kGpsRows; ++i) l.gps_row_tops[static_cast<std::size_t>(i)] = in.gps_block_top + i * spacing;
  return l;
}

}  // namespace quelor
