#pragma once
// Sizing of the status cells of the logging window: every cell is as wide as
// a template string that holds its widest text, measured in the text font.

#include <array>
#include <functional>
#include <string_view>

namespace quelor {

enum StatusCell : int {
  kCellState,
  kCellActivity,
  kCellMarker,
  kCellMapSize,
  kCellPushSwitch,
  kCellCalibration,
  kCellEm38_4Value,
  kCellStationCount,
  kCellLongitudeLabel,
  kCellLongitudeValue,
  kCellGridValue,
  kCellHeightLabel,
  kCellHeightValue,
  kCellPositionsLabel,
  kCellPositionsValue,
  kCellSlam,
  kCellDilution,
  kCellSpeed,
  kCellTime,
  kCellTilt,
  kCellTiltMeter,
  kCellVoltage,
  kStatusCellCount
};

struct CellTemplate {
  StatusCell cell;
  std::string_view text;
};

// The template of every cell, in StatusCell order.
const std::array<CellTemplate, kStatusCellCount>& cell_templates();

struct CellRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  friend bool operator==(const CellRect&, const CellRect&) = default;
};

// Width in pixels of a text in the text font (GetTextExtentPointW).
using MeasureText = std::function<int(std::string_view)>;

struct StatusLayoutInput {
  int panel_left = 0;
  int panel_right = 0;  // the top row's right end (map-size cell right-aligned)
  int line_height = 16;
  bool portrait = false;
  int gps_block_top = 0;
  int gps_block_height = 0;  // H of the GPS block (portrait spacing)
};

struct StatusLayout {
  std::array<int, kStatusCellCount> widths{};
  CellRect state;                     // 1 pixel right of the panel's left edge, 2 pixels below the top
  CellRect activity;                  // 15 pixels after the state cell
  CellRect map_size;                  // right-aligned
  std::array<int, 5> gps_row_tops{};  // the GPS block's rows
};

// Row spacing of the GPS block: one line height; in portrait one line height
// plus (H - 5 x line height - 10) / 5 (never less than one line height).
int gps_row_spacing(const StatusLayoutInput& input);

StatusLayout layout_status_cells(const StatusLayoutInput& input, const MeasureText& measure);

}  // namespace quelor
