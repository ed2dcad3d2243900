#include "app/logging/logging_layout.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/logging/status_panel.h"
#include "map/colour_bar.h"
#include "platform/win32/device_context.h"
#include "survey/channel_selectors.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kMargin = 20;
constexpr int kNumbersWidth = 110;
constexpr int kButtonGap = 2;
constexpr int kSelectorSize = 14;

LoggingLayout g_layout;

HINSTANCE instance_of(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

HWND make_child(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style, int id,
                RECT r = {0, 0, 10, 10}) {
  return CreateWindowExW(0, class_name, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_of(parent), nullptr);
}

RECT rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

void place(HWND window, const RECT& r, bool show = true) {
  if (!window) return;
  MoveWindow(window, r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top), TRUE);
  ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

HFONT button_font() { return g_fonts[kButtonFont]; }

bool create_display_windows(HWND window, LoggingChildren& c) {
  for (HWND& curve : c.curves) curve = make_child(window, L"CurveWnd", L"", 0, kCurveWindowId);
  c.decay = make_child(window, L"DecayWnd", L"", 0, kDecayWindowId);
  c.bar_q = make_child(window, L"BarQWnd", L"", 0, kBarQWindowId);
  c.bar_i = make_child(window, L"BarIWnd", L"", 0, kBarIWindowId);
  c.numbers = make_child(window, L"NumbersWnd", L"", 0, kNumbersWindowId);
  c.map = make_child(window, L"MapWnd", L"", WS_CLIPSIBLINGS, kMapWindowId);  // the colour bar may lie over it
  const bool wide_bar = has_trait(g_variant.instrument_type, Trait::kWideColourBar);
  c.colour_bar = make_child(window, L"ColorBarWnd", L"", 0, kColourBarWindowId,
                            wide_bar ? rect(30, 25, 244, 296) : rect(40, 25, 142, 296));
  c.speed = make_child(window, L"SpeedWnd", L"", 0, kSpeedWindowId);
  for (HWND curve : c.curves)
    if (!curve) return false;
  return c.decay && c.bar_q && c.bar_i && c.numbers && c.map && c.colour_bar && c.speed;
}

void create_buttons(HWND window, LoggingChildren& c) {
  const ButtonSet set = button_set(kStateMonitoring, g_variant.instrument_type);
  for (int i = 0; i < kLoggingButtonCount; ++i) {
    const std::wstring text = widen(set.texts[static_cast<std::size_t>(i)]);
    const DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    c.buttons[static_cast<std::size_t>(i)] =
        make_child(window, L"BUTTON", text.c_str(), style, kFirstLoggingButtonId + i);
  }
  c.pause = make_child(window, L"BUTTON", L"P A U S E", BS_DEFPUSHBUTTON, kFirstLoggingButtonId);
  static constexpr const wchar_t* kMapButtonTexts[kMapButtonCount] = {
      L"&Lf", L"&Rt", L"U&p", L"&Dn", L"Zm&+", L"Zm&-", L"&Fit All", L"Enter Rev&iew", L"&Exit Review"};
  for (int i = 0; i < kMapButtonCount; ++i)
    c.map_buttons[static_cast<std::size_t>(i)] =
        make_child(window, L"BUTTON", kMapButtonTexts[i], BS_PUSHBUTTON, kFirstMapButtonId + i);
  for (HWND b : c.buttons) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(button_font()), FALSE);
  SendMessageW(c.pause, WM_SETFONT, reinterpret_cast<WPARAM>(button_font()), FALSE);
  for (HWND b : c.map_buttons) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(g_fonts[kPlainFont]), FALSE);
}

void create_selectors(HWND window, LoggingChildren& c) {
  c.selector_count = std::min(kMaxSelectors, channel_selector_count(g_variant.instrument_type, g_settings.em38mk2_model,
                                                                    g_settings.number_of_sensors));
  for (int i = 0; i < c.selector_count; ++i)
    c.selectors[static_cast<std::size_t>(i)] = make_child(window, L"BUTTON", L"", BS_RADIOBUTTON, kFirstSelectorId + i);
}

void lay_out_buttons(const LoggingChildren& c, const RECT& column) {
  const int height = (column.bottom - column.top - 3 * kButtonGap) / kLoggingButtonCount;
  for (int i = 0; i < kLoggingButtonCount; ++i)
    MoveWindow(c.buttons[static_cast<std::size_t>(i)], column.left, column.top + i * (height + kButtonGap),
               column.right - column.left, height, TRUE);
  MoveWindow(c.pause, column.left, column.top, column.right - column.left, 2 * height + kButtonGap, TRUE);
}

// Each button as wide as its text in the buttons' font.
std::array<int, kMapButtonCount> map_button_text_widths(const LoggingChildren& c) {
  std::array<int, kMapButtonCount> widths{};
  HWND any = c.map_buttons[0];
  WindowDc dc(any);
  if (!dc) return widths;
  SelectedObject font(dc, g_fonts[kPlainFont]);
  for (int i = 0; i < kMapButtonCount; ++i) {
    wchar_t text[32] = {};
    const int n = GetWindowTextW(c.map_buttons[static_cast<std::size_t>(i)], text, 32);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, n, &size);
    widths[static_cast<std::size_t>(i)] = size.cx;
  }
  return widths;
}

}  // namespace

namespace {

constexpr int kBarWidth = 40;   // a bar window: one gauge per channel of its component
constexpr int kProfileGap = 4;  // between two stacked profile windows
constexpr int kMinCurveHeight = 40;
constexpr int kLabelColumnLines = 5;  // the width of a label column, in line heights

int strip_height(int line_height) { return line_height + 2; }

// A map button: one text line and its frame.
int map_button_height(int line_height) { return line_height + 8; }

// The least height of the profile area: every window at least 40 pixels
// high, and with its labels beside it, room for both of them.
int least_profile_height(int count, int line_height, bool labels_beside) {
  const int window = labels_beside ? std::max(kMinCurveHeight, 2 * strip_height(line_height) + 4)
                                   : kMinCurveHeight + 2 * strip_height(line_height);
  return count * window + (count - 1) * kProfileGap;
}

// The profile windows stacked in the area, each with its scale labels in
// strips above and below it (or, where height is short, in a column at its
// left beside its top and bottom rows), its bar gauges at its right end.
void split_profile_area(LoggingLayout& l, const LayoutInput& in, int line_height) {
  const RECT& a = l.profile_area;
  const int n = l.profile_count;
  const int strip = strip_height(line_height);
  const int label_width = kLabelColumnLines * line_height;
  const int slot_height = (a.bottom - a.top - (n - 1) * kProfileGap) / n;
  for (int k = 0; k < n; ++k) {
    ProfileArea& p = l.profiles[static_cast<std::size_t>(k)];
    const int top = a.top + k * (slot_height + kProfileGap);
    const int bottom = k == n - 1 ? a.bottom : top + slot_height;
    if (l.labels_beside) {
      p.curve = {a.left + label_width + kProfileGap, top, a.right, bottom};
      p.scale_top = {a.left, top, a.left + label_width, top + strip};
      p.scale_bottom = {a.left, bottom - strip, a.left + label_width, bottom};
    } else {
      p.scale_top = {a.left, top, a.right, top + strip};
      p.scale_bottom = {a.left, bottom - strip, a.right, bottom};
      p.curve = {a.left, top + strip, a.right, bottom - strip};
    }
    if (in.bars) {
      p.bar = {a.right - kBarWidth, p.curve.top, a.right, p.curve.bottom};
      p.curve.right = p.bar.left - kProfileGap;
    }
  }
}

}  // namespace

// The painter's padding: 8 pixels inside the area and between the blocks
// one under the other, 4 for the frame under them, 12 above the hint.
int status_blocks_height(const LayoutInput& in, bool two_columns) {
  const int blocks = two_columns ? std::max(in.survey_block, in.gps_block) : in.survey_block + 8 + in.gps_block;
  return 8 + blocks + 12 + in.hint_block;
}

LoggingLayout compute_logging_layout(const LayoutInput& in) {
  LoggingLayout l;
  const int w = in.client_width, h = in.client_height, lh = std::max(8, in.line_height);
  const int numbers_x = w - kMargin - kNumbersWidth;
  const int profile_right = numbers_x - std::max(6, in.side_width);
  l.map_shown = in.map_view;
  l.profile_count = std::clamp(in.profile_count, 1, kMaxProfileAreas);
  if (in.portrait) {
    const int side = std::max(40, w - 2 * kMargin);
    const RECT square = rect(kMargin, kMargin, side, side);
    const int below = square.bottom + lh + 2;
    l.speed = rect(kMargin, below, side, 8);
    // Right under the speed bar the map buttons' row, with the map view.
    if (in.map_view) l.map_buttons = rect(kMargin, l.speed.bottom + 4, side, map_button_height(lh));
    const int under = in.map_view ? map_button_height(lh) + 4 : 0;
    // Under the speed bar (its speed row lies above it): the numbers.
    const int top = l.speed.bottom + under + 2 * lh + 8;
    l.numbers = rect(numbers_x, top, kNumbersWidth, in.numbers_lines * lh + 10);
    const int extent = std::max(top + 40, h * 4 / 5);
    l.buttons = {numbers_x, l.numbers.bottom + 10, numbers_x + kNumbersWidth,
                 std::max<LONG>(l.numbers.bottom + 60, std::min(h - kMargin, extent + lh * 6))};
    if (in.map_view) {
      // Under the map height is short: the scale labels go beside the
      // profiles, which start a line under the speed bar.
      l.map = square;
      l.labels_beside = true;
      const int profile_top = l.speed.bottom + under + lh + 8;
      const int height = std::max(least_profile_height(l.profile_count, lh, true), (extent - profile_top) * 2 / 3);
      l.profile_area = {kMargin, profile_top, profile_right, profile_top + height};
      l.status = {kMargin, l.profile_area.bottom + 6, numbers_x - 6, h - 10};
    } else {
      l.profile_area = square;
      l.status = {kMargin, top, numbers_x - 6, h - 10};
    }
  } else {
    l.numbers = rect(numbers_x, kMargin, kNumbersWidth, in.numbers_lines * lh + 10);
    l.buttons = {numbers_x, l.numbers.bottom + 10, numbers_x + kNumbersWidth,
                 std::min<LONG>(h - kMargin, l.numbers.bottom + 10 + 4 * (2 * lh + 14))};
    const int least_bottom = kMargin + least_profile_height(l.profile_count, lh, false);
    int profile_bottom = std::max(least_bottom, h * 3 / 5);
    int left = kMargin;
    if (in.map_view) {
      const int side = std::max(40, h - 44 - lh);
      l.map = rect(kMargin, kMargin, side, side);
      l.speed = rect(kMargin, l.map.bottom + lh + 2, side, 8);
      left = l.map.right + 6;
      // The status blocks and the pause hint fit between the profiles and
      // the map buttons' row: the profiles end higher where they would not.
      const bool two = numbers_x - 6 - left >= kTwoStatusColumnsWidth && in.gps_block > 0;
      const int room_bottom = static_cast<int>(l.speed.bottom) - map_button_height(lh) - 4 - 6;
      profile_bottom = std::max(least_bottom, std::min(profile_bottom, room_bottom - status_blocks_height(in, two)));
    } else {
      l.speed = rect(kMargin, profile_bottom + lh + 2, numbers_x - 6 - kMargin, 8);
    }
    l.profile_area = {left, kMargin, profile_right, profile_bottom};
    // Without the map the speed row and bar lie between the profiles and the status blocks.
    l.status = {left, in.map_view ? profile_bottom + 6 : l.speed.bottom + 10, numbers_x - 6, h - 10};
    if (in.map_view) {
      // Beside the speed row and bar, right of the map to the right margin:
      // the map buttons' row, level with the bar's bottom (under the button
      // column); the status area ends above it.
      const int row_height = map_button_height(lh);
      l.map_buttons = {left, static_cast<int>(l.speed.bottom) - row_height, numbers_x + kNumbersWidth, l.speed.bottom};
      l.status.bottom = std::max<LONG>(l.status.top + 1, l.map_buttons.top - 4);
    }
  }
  // The one text line left free between the map (or the profiles) and the
  // speed bar holds the speed row.
  l.speed_row = {l.speed.left, l.speed.top - lh - 1, l.speed.right, l.speed.top - 1};
  l.status_two_columns = l.status.right - l.status.left >= kTwoStatusColumnsWidth && in.gps_block > 0;
  split_profile_area(l, in, lh);
  return l;
}

bool create_logging_children(HWND window) {
  LoggingChildren& c = logging_session().children;
  if (!create_display_windows(window, c)) return false;
  create_buttons(window, c);
  create_selectors(window, c);
  return true;
}

HWND profile_window_handle(ProfileWindow window) {
  const LoggingChildren& c = logging_session().children;
  switch (window) {
    case ProfileWindow::kDecay: return c.decay;
    case ProfileWindow::kSecond: return c.curves[1];
    case ProfileWindow::kThird: return c.curves[2];
    case ProfileWindow::kFirst: break;
  }
  return c.curves[0];
}

ProfilePlan current_profile_plan() {
  return profile_plan(g_variant.instrument_type, logging_session().decode.two_sensors);
}

namespace {

// Each profile window of the plan in its place, the others hidden; the bar
// windows beside the first and the second.
void place_profiles(const LoggingChildren& c, const ProfilePlan& plan, bool shown) {
  std::array<HWND, 4> unused{c.curves[0], c.decay, c.curves[1], c.curves[2]};
  for (int k = 0; k < plan.count; ++k) {
    HWND window = profile_window_handle(plan.slots[static_cast<std::size_t>(k)].window);
    place(window, g_layout.profiles[static_cast<std::size_t>(k)].curve, shown);
    for (HWND& u : unused)
      if (u == window) u = nullptr;
  }
  for (HWND u : unused)
    if (u) ShowWindow(u, SW_HIDE);
  const bool bars = shown && plan.bars;
  place(c.bar_q, g_layout.profiles[0].bar, bars);
  place(c.bar_i, g_layout.profiles[1].bar, bars && plan.count > 1);
}

}  // namespace

void lay_out_logging_window(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const LoggingSession& s = logging_session();
  const ProfilePlan plan = current_profile_plan();
  const InstrumentType type = g_variant.instrument_type;
  LayoutInput in;
  in.client_width = client.right;
  in.client_height = client.bottom;
  in.line_height = g_line_height;
  in.portrait = g_screen.window.portrait;
  in.map_view = s.gps_used && s.map_view;
  in.numbers_lines = has_sensor_count(type) ? 6 : 4;
  in.profile_count = plan.count;
  in.bars = plan.bars;
  in.side_width = has_trait(type, Trait::kAlarmSetup) ? kAlarmColumnWidth : kSelectorSize + 10;
  measure_status_blocks(window, in);
  g_layout = compute_logging_layout(in);
  const LoggingChildren& c = s.children;
  place(c.map, g_layout.map, g_layout.map_shown);
  place(c.speed, g_layout.speed, s.gps_used);
  place_profiles(c, plan, s.instrument_used);
  place(c.numbers, g_layout.numbers, s.instrument_used);
  lay_out_buttons(c, g_layout.buttons);
  show_map_buttons();
  for (int i = 0; i < c.selector_count; ++i)
    MoveWindow(c.selectors[static_cast<std::size_t>(i)], g_layout.numbers.left - kSelectorSize - 4,
               g_layout.numbers.top + 5 + i * g_line_height, kSelectorSize, kSelectorSize, TRUE);
}

const LoggingLayout& current_logging_layout() { return g_layout; }

void show_map_buttons() {
  const LoggingSession& s = logging_session();
  const LoggingChildren& c = s.children;
  const RECT& r = g_layout.map_buttons;
  const MapButtonMask shown = map_buttons_shown(g_layout.map_shown, s.survey.map_review);
  const auto row = map_button_row(shown, map_button_text_widths(c), r.left, r.right);
  for (int i = 0; i < kMapButtonCount; ++i) {
    const ButtonSpan& b = row[static_cast<std::size_t>(i)];
    place(c.map_buttons[static_cast<std::size_t>(i)], {b.left, r.top, b.left + b.width, r.bottom},
          shown[static_cast<std::size_t>(i)]);
  }
  show_colour_bar();
}

void show_colour_bar() {
  const LoggingSession& s = logging_session();
  const RECT& m = g_layout.map;
  ColourBarInput in;
  in.instrument_type = g_variant.instrument_type;
  in.map_left = m.left;
  in.map_top = m.top;
  in.map_width = m.right - m.left;
  in.map_height = m.bottom - m.top;
  in.map_shown = g_layout.map_shown;
  in.review = s.survey.map_review;
  in.colour_map_view = g_settings.colour_map_view;
  const ColourBarPlace p = colour_bar_place(in);
  HWND bar = s.children.colour_bar;
  if (!bar) return;
  if (!p.shown) {
    ShowWindow(bar, SW_HIDE);
    return;
  }
  SetWindowPos(bar, HWND_TOP, p.left, p.top, p.width, p.height, SWP_SHOWWINDOW);
  InvalidateRect(bar, nullptr, TRUE);
}

void show_button_set(int state) {
  LoggingSession& s = logging_session();
  const LoggingChildren& c = s.children;
  const ButtonSet set = button_set(state, g_variant.instrument_type);
  for (int i = 0; i < kLoggingButtonCount; ++i) {
    HWND b = c.buttons[static_cast<std::size_t>(i)];
    const bool shown = !set.pause && i < set.count;
    if (shown) {
      const std::wstring text = widen(set.texts[static_cast<std::size_t>(i)]);
      SetWindowTextW(b, text.c_str());
      SendMessageW(b, BM_SETSTYLE, i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
    ShowWindow(b, shown ? SW_SHOW : SW_HIDE);
  }
  ShowWindow(c.pause, set.pause ? SW_SHOW : SW_HIDE);
  s.focused_button = 0;
}

void show_channel_selectors(bool show) {
  const LoggingSession& s = logging_session();
  const LoggingChildren& c = s.children;
  SelectorInput in;
  in.instrument_type = g_variant.instrument_type;
  in.navigation_mode = g_variant.navigation_mode;
  in.state = show ? kStateMonitoring : kStateLogging;
  in.gps_enabled = s.gps_used;
  in.map_view = current_logging_layout().map_shown;
  in.channel = selected_channel(g_settings, g_variant.instrument_type);
  in.em38mk2_model = g_settings.em38mk2_model;
  in.number_of_sensors = g_settings.number_of_sensors;
  in.em31_inphase_only = g_settings.component == 1;
  const SelectorView v = channel_selector_view(in);
  for (int i = 0; i < c.selector_count; ++i) {
    HWND b = c.selectors[static_cast<std::size_t>(i)];
    SendMessageW(b, BM_SETCHECK, i == v.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWindow(b, v.shown[static_cast<std::size_t>(i)] ? SW_SHOW : SW_HIDE);
  }
}

void enable_channel_selectors(bool enable) {
  const LoggingChildren& c = logging_session().children;
  for (int i = 0; i < c.selector_count; ++i) EnableWindow(c.selectors[static_cast<std::size_t>(i)], enable);
}

void enable_position_buttons(bool enable) {
  const LoggingChildren& c = logging_session().children;
  EnableWindow(c.buttons[0], enable);
  EnableWindow(c.buttons[1], enable);
  EnableWindow(c.buttons[3], enable);
}

}  // namespace quelor
