#pragma once
// The child windows and buttons of the logging window, their layout in the
// portrait and landscape shapes, the button set of each state and the
// channel selectors.

#include <windows.h>

#include <array>

#include "display/trace_layout.h"

namespace quelor {

// One profile window of the profile area: the window, where its scale's
// maximum and minimum are written (strips above and below it, or a column at
// its left beside its top and bottom rows), and the bar gauges beside it
// (empty when it has none).
struct ProfileArea {
  RECT curve{};
  RECT scale_top{};
  RECT scale_bottom{};
  RECT bar{};
};

inline constexpr int kMaxProfileAreas = 2;

// The EM61-LX2 alarm boxes sit 70 pixels left of the numbers window.
inline constexpr int kAlarmColumnWidth = 76;

// Rectangles of the layout, in logging-window coordinates.
struct LoggingLayout {
  RECT map{};
  RECT speed{};
  RECT speed_row{};     // the text line above the speed bar: "Speed:" and the bar's maximum
  RECT profile_area{};  // every profile window with its strips and bars
  std::array<ProfileArea, kMaxProfileAreas> profiles{};  // stacked, top first
  int profile_count = 1;
  bool labels_beside = false;  // the scale labels in a column left of the profiles
  RECT numbers{};
  RECT buttons{};                   // the column of the four buttons
  RECT status{};                    // the painted status area
  bool status_two_columns = false;  // the survey and GPS blocks side by side
  RECT map_buttons{};               // the row of the map buttons beside the speed bar; empty without the map
  bool map_shown = false;
};

struct LayoutInput {
  int client_width = 0;
  int client_height = 0;
  int line_height = 16;
  bool portrait = false;
  bool map_view = true;  // GPS in use and the map shown
  int numbers_lines = 4;
  int profile_count = 1;  // profile windows stacked in the profile area (1 or 2)
  bool bars = false;      // bar gauges beside each profile window
  int side_width = 24;    // kept free left of the numbers: channel selectors, alarm boxes
  // What the status area holds, in pixels (status_blocks_height): the survey
  // block, the GPS block (0 without GPS) and the pause hint under them. In
  // landscape with the map the profiles leave the status area that much
  // above the map buttons' row.
  int survey_block = 0;
  int gps_block = 0;
  int hint_block = 0;
};

// A status area at least this wide holds the survey and GPS blocks side by side.
inline constexpr int kTwoStatusColumnsWidth = 301;

// The height the status blocks and the pause hint take in the status area,
// one block under the other or side by side.
int status_blocks_height(const LayoutInput& input, bool two_columns);

LoggingLayout compute_logging_layout(const LayoutInput& input);

// WM_CREATE: every child window and button; false when one cannot be made.
bool create_logging_children(HWND window);

// Places the children by the current screen shape and view.
void lay_out_logging_window(HWND window);

// The profile windows of the running instrument and its set-up.
ProfilePlan current_profile_plan();
HWND profile_window_handle(ProfileWindow window);

// The layout last applied.
const LoggingLayout& current_logging_layout();

// Shows the button set of the survey state (or the PAUSE button while
// logging) with its first button as the default push button.
void show_button_set(int state);

// Shows the map buttons of the view (the pans and Enter Review, in review
// the pans, zoom, fit and Exit Review) in their row, the others hidden.
void show_map_buttons();

// Shows or hides the channel selectors with the current channel marked.
void show_channel_selectors(bool show);

// The labelled colour bar over the map, shown in review with a colour view.
void show_colour_bar();

// Enables or disables the channel selectors (a procedure running).
void enable_channel_selectors(bool enable);

// Enables the buttons that need a first GPS position (File, Map Size, Menu).
void enable_position_buttons(bool enable);

}  // namespace quelor
