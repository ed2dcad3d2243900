#include "app/logging/status_panel.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <vector>

#include "app/app_state.h"
#include "app/logging/display_windows.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "app/map/live_map_win.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "survey/gsa_dilution.h"
#include "survey/colour_class.h"
#include "survey/em34_station_group.h"
#include "survey/map_title.h"
#include "survey/palette.h"
#include "survey/status_cells.h"
#include "survey/status_texts.h"
#include "app/logging/write_failure_win.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// The EM61 battery and current and the tilt angles of the last reading after their labels.
void fill_instrument_values(std::vector<std::string>& rows, const DisplayValues& d) {
  for (std::string& row : rows) {
    if (row == "Battery: " || row == "B:")
      row += d.battery_text;
    else if (row == "Current: " || row == "T:")
      row += d.current_text;
    else if (row == "Roll:" && !d.tilt_second_text.empty())
      row += " " + d.tilt_second_text;
    else if (row == "Pitch:" && !d.tilt_first_text.empty())
      row += " " + d.tilt_first_text;
  }
}

constexpr COLORREF kNoticeColour = RGB(255, 230, 120);
constexpr int kFrameRadius = 10;

StatusLayout g_cells;

struct Painter {
  HDC dc;
  int line_height;

  int text_width(const std::string& text) const {
    const std::wstring w = widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    return size.cx;
  }
  // Clears the cell with the window's background and draws the text in it.
  void cell(int x, int y, int width, const std::string& text, HFONT font = nullptr) const {
    SelectedObject selected(dc, font);
    const std::wstring w = widen(text);
    RECT r{x, y, x + width, y + line_height};
    ExtTextOutW(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  }
  void left_aligned(const RECT& area, int y, const std::string& text) const {
    const std::wstring w = widen(text);
    ExtTextOutW(dc, area.left + 2, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  }
  void right_aligned(const RECT& area, int y, const std::string& text) const {
    const std::wstring w = widen(text);
    ExtTextOutW(dc, area.right - 2 - text_width(text), y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  }
  // Centred, but never left of least_x.
  void centred(const RECT& area, int y, const std::string& text, HFONT font = nullptr, int least_x = INT_MIN) const {
    SelectedObject selected(dc, font);
    const int x = std::max<int>(least_x, area.left + (area.right - area.left - text_width(text)) / 2);
    const std::wstring w = widen(text);
    ExtTextOutW(dc, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  }
};

StatusInput status_input() {
  const LoggingSession& s = logging_session();
  StatusInput in;
  in.instrument_type = g_variant.instrument_type;
  in.instrument_used = s.instrument_used;
  in.gps_used = s.gps_used;
  in.coil_letter = s.display.dipole;
  in.slam = g_settings.gps_sentence == 7 && g_settings.pseudo_gga_variant == 1;
  // Before the first EM34-3 record: the spacing the settings select.
  in.coil_spacing_m =
      s.display.coil_spacing_m > 0 ? s.display.coil_spacing_m : em34_spacing_of_slot(g_settings.dipole_mode);
  in.now = GetTickCount();
  const LiveMap& live = live_map_state();
  if (live.map.in_review) in.review_map_size = live.map.map_size;
  const RECT& panel = current_logging_layout().status;
  in.narrow_panel = panel.right - panel.left < kTwoStatusColumnsWidth;
  return in;
}

void draw_side_lines(HDC dc, const RECT& client, int bottom) {
  for (int x : {10, static_cast<int>(client.right) - 14}) {
    MoveToEx(dc, x, 10, nullptr);
    LineTo(dc, x, bottom);
    Ellipse(dc, x - 3, 7, x + 3, 13);
    Ellipse(dc, x - 3, bottom - 3, x + 3, bottom + 3);
  }
}

void draw_frame(HDC dc, const RECT& r) {
  SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, r.left, r.top, r.right, r.bottom, kFrameRadius, kFrameRadius);
}

ScaleLabels component_scale_labels(InstrumentType type, int component) {
  if (component == 2)
    return inphase_scale_labels(type, g_settings.em38_4.inphase_units, g_settings.profile_scale_2[0],
                                g_settings.profile_scale_2[1]);
  return conductivity_scale_labels(type, g_settings.profile_scale_1[0], g_settings.profile_scale_1[1]);
}

// Above and below each profile window (or beside its top and bottom rows):
// the maximum and the minimum of the scale it shows, centred.
void draw_scale_labels(const Painter& p, const LoggingLayout& l) {
  const InstrumentType type = g_variant.instrument_type;
  const ProfilePlan plan = current_profile_plan();
  HBRUSH background = GetSysColorBrush(COLOR_BTNFACE);
  for (int k = 0; k < l.profile_count; ++k) {
    const ProfileArea& a = l.profiles[static_cast<std::size_t>(k)];
    for (const RECT* strip : {&a.scale_top, &a.scale_bottom}) FillRect(p.dc, strip, background);
    const ScaleLabels labels = component_scale_labels(type, plan.slots[static_cast<std::size_t>(k)].component);
    // Grad601: its heading at the left of the strip, where the scrolling trace
    // cannot carry it away.
    int least_x = a.scale_top.left;
    if (type == kGrad601 && k == 0 && !l.labels_beside) {
      p.left_aligned(a.scale_top, a.scale_top.top + 1, kGradientHeading);
      least_x += 2 + p.text_width(kGradientHeading) + 8;
    } else if (type == kGrad601 && k == 0) {
      // Labels beside the profiles (portrait with the map): the heading in
      // the line left free above them.
      const RECT line{l.profile_area.left, l.profile_area.top - p.line_height - 4, l.profile_area.right,
                      l.profile_area.top - 2};
      FillRect(p.dc, &line, background);
      p.left_aligned(line, line.top, kGradientHeading);
    }
    p.centred(a.scale_top, a.scale_top.top + 1, labels.top, nullptr, least_x);
    p.centred(a.scale_bottom, a.scale_bottom.top + 1, labels.bottom);
  }
}

constexpr const char* kEm38_4DipoleRow = "Dipole Mode: Horizontal";

// EM38-4: the dipole row follows the calibration state in the top row when
// it ends before the map-size cell; otherwise it heads the instrument block.
bool em38_4_dipole_in_top_row(const Painter& p) {
  const int left = g_cells.activity.left + g_cells.widths[kCellCalibration] + 15;
  const int limit = logging_session().gps_used ? g_cells.map_size.left - 4 : g_cells.map_size.right;
  return left + p.text_width(kEm38_4DipoleRow) <= limit;
}

// The instrument rows under the survey rows.
std::vector<std::string> instrument_rows(const Painter& p, const StatusTexts& t) {
  std::vector<std::string> rows = t.instrument_rows;
  if (g_variant.instrument_type == kEm38_4 && logging_session().instrument_used && !em38_4_dipole_in_top_row(p))
    rows.insert(rows.begin(), kEm38_4DipoleRow);
  if (has_trait(g_variant.instrument_type, Trait::kTiltMeter) && logging_session().instrument_used) {
    if (g_settings.tilt_meter != 0) {
      rows.insert(rows.end(), {"Tilt Meter:", "Roll:", "Pitch:"});
    } else {
      rows.emplace_back("Tilt Meter: Disabled");
    }
  }
  fill_instrument_values(rows, logging_session().display);
  return rows;
}

// The survey rows (file, line, station, totals, time) before the instrument rows.
constexpr int kSurveyRows = 5;
int survey_rows_height(int lh) { return kSurveyRows * lh + 4; }

// The left column: state, file, line, station, totals, instrument rows.
int draw_survey_column(const Painter& p, const StatusTexts& t, int x, int y, int width) {
  const int lh = p.line_height;
  const int top = y;
  p.cell(x, y, width, t.file);
  y += lh + 2;
  p.cell(x, y, width, t.line_label + " " + t.line);
  y += lh;
  p.cell(x, y, p.text_width(t.station_label), t.station_label);
  p.cell(x + p.text_width(t.station_label), y, width - p.text_width(t.station_label), t.station, g_fonts[kHeadingFont]);
  y += lh;
  p.cell(x, y, width, t.stations_label + " " + t.stations);
  y += lh;
  p.cell(x, y, width, t.time_label + " " + t.time);
  y = top + survey_rows_height(lh);
  const std::vector<std::string> rows = instrument_rows(p, t);
  const bool disabled = !logging_session().instrument_used;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // Without an instrument "Instrument" and "Disabled" are emphasised.
    p.cell(x, y, width, rows[i], disabled && i < 2 ? g_fonts[kHeadingFont] : nullptr);
    y += lh;
  }
  return y;
}

// EM38-4: the calibration state in blue, then the dipole mode in black, in the
// top row after the state.
void draw_em38_4_state(const Painter& p, const StatusTexts& t) {
  if (g_variant.instrument_type != kEm38_4) return;
  const int x = g_cells.activity.left;
  const int y = g_cells.activity.top;
  const int width = g_cells.widths[kCellCalibration];
  SetTextColor(p.dc, RGB(0, 0, 255));
  p.cell(x, y, width, t.calibration);
  SetTextColor(p.dc, RGB(0, 0, 0));
  if (em38_4_dipole_in_top_row(p)) p.cell(x + width + 15, y, p.text_width(kEm38_4DipoleRow), kEm38_4DipoleRow);
}

// The SLAM labels of the p-GGA SLAM input, for the instruments that show
// them: once a fix came.
bool slam_labels_possible() {
  const bool instrument = has_trait(g_variant.instrument_type, Trait::kSlamLabels);
  return instrument && logging_session().gps_used && g_settings.gps_sentence == 7 && g_settings.pseudo_gga_variant == 1;
}

bool slam_labels_shown() { return slam_labels_possible() && logging_session().display.have_fix; }

int draw_slam_labels(const Painter& p, int x, int y, int width) {
  if (!slam_labels_shown()) return y;
  p.cell(x, y, width, "SLAM:");
  y += p.line_height;
  const int third = width / 3;
  p.cell(x, y, third, "R:");
  p.cell(x + third, y, third, "P:");
  p.cell(x + 2 * third, y, width - 2 * third, "Y:");
  return y + p.line_height;
}

// The 2-pixel pen and the brush of each colour class, made once.
struct ClassObjects {
  std::array<UniquePen, kColourClassCount> pens{};
  std::array<UniqueBrush, kColourClassCount> brushes{};
};

const ClassObjects& class_objects() {
  static const ClassObjects objects = [] {
    ClassObjects o;
    for (int c = 0; c < kColourClassCount; ++c) {
      const PaletteColour colour = palette_colour(c);
      const COLORREF rgb = RGB(colour.red, colour.green, colour.blue);
      o.pens[static_cast<std::size_t>(c)].reset(CreatePen(PS_SOLID, 2, rgb));
      o.brushes[static_cast<std::size_t>(c)].reset(CreateSolidBrush(rgb));
    }
    return o;
  }();
  return objects;
}

// Beside the map: a framed column of the 50 colour classes, class 0 at the
// bottom, each drawn with its class's pen and brush.
void draw_colour_legend(HDC dc, const LoggingLayout& l) {
  if (!logging_session().gps_used || !l.map_shown || g_settings.colour_map_view <= 0) return;
  const RECT frame{14, l.map.top, 19, l.map.bottom};
  const int step = (frame.bottom - frame.top - 2) / kColourClassCount;
  if (step <= 0) return;
  SelectedObject pen(dc, GetStockObject(BLACK_PEN));
  SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  const ClassObjects& objects = class_objects();
  for (int c = 0; c < kColourClassCount; ++c) {
    SelectObject(dc, objects.pens[static_cast<std::size_t>(c)].get());
    SelectObject(dc, objects.brushes[static_cast<std::size_t>(c)].get());
    const int bottom = frame.bottom - 1 - c * step;
    Rectangle(dc, frame.left + 1, bottom - step, frame.right - 1, bottom);
  }
}

// `lh`: the rows' spacing (wider in portrait, gps_row_spacing).
// The lines of the GPS column: the most it shows in the survey.
int gps_column_lines(const StatusTexts& t) {
  if (t.gps.disabled) return 1;
  const bool third = !t.gps.satellites_label.empty() || !t.gps.quality_label.empty();
  return 4 + (third ? 1 : 0) + (t.gps.height_label.empty() ? 0 : 1) + (slam_labels_possible() ? 2 : 0);
}

int draw_gps_column(const Painter& p, const StatusTexts& t, int x, int y, int width, int lh) {
  const LoggingSession& s = logging_session();
  if (t.gps.disabled) {
    p.cell(x, y, width, "GPS Disabled", g_fonts[kHeadingFont]);
    return y + lh;
  }
  const FixTexts& f = s.display.fix;
  p.cell(x, y, width, t.gps.positions_label + t.gps.positions);
  y += lh;
  const int label = std::max(p.text_width(t.gps.dilution_label), p.text_width("Lat:")) + 4;
  p.cell(x, y, label, t.gps.dilution_label);
  p.cell(x + label, y, width - label, s.display.dilution, g_fonts[kHeadingFont]);
  y += lh;
  if (!t.gps.satellites_label.empty()) {
    p.cell(x, y, width, t.gps.satellites_label + " " + f.satellites + "  " + f.quality);
    y += lh;
  } else if (!t.gps.quality_label.empty()) {
    p.cell(x, y, width, t.gps.quality_label, g_fonts[kHeadingFont]);
    y += lh;
  }
  p.cell(x, y, width, t.gps.first_label + " " + f.first);
  y += lh;
  p.cell(x, y, width, t.gps.second_label + " " + f.second);
  y += lh;
  if (!t.gps.height_label.empty()) {
    p.cell(x, y, width, t.gps.height_label + " " + f.zone);
    y += lh;
  }
  return draw_slam_labels(p, x, y, width);
}

// "Speed:" and the speed in the speed bar units at the left, the bar's
// maximum at the right end, in the line above the speed bar.
void draw_speed_row(const Painter& p, const StatusTexts& t, const RECT& row) {
  if (!t.speed_row || row.right <= row.left) return;
  const std::string speed = t.speed_label + " " + t.speed;
  p.cell(row.left, row.top, std::max(p.text_width(speed), g_cells.widths[kCellSpeed]), speed);
  const int w = p.text_width(t.speed_maximum);
  p.cell(row.right - w, row.top, w, t.speed_maximum);
}

// In the larger button font on a window at least 1000 pixels wide.
HFONT pause_hint_font(int client_width) { return g_fonts[client_width >= 1000 ? kButtonFont : kHeadingFont]; }

int pause_hint_step(const Painter& p, HFONT font) {
  TEXTMETRICW metrics{};
  SelectedObject selected(p.dc, font);
  GetTextMetricsW(p.dc, &metrics);
  return std::max<int>(p.line_height, metrics.tmHeight) + 2;
}

std::vector<std::string> pause_hint_lines(int state) {
  const LoggingSession& s = logging_session();
  return pause_hint(state, g_settings.pause_key, g_variant.instrument_type, s.survey.survey_mode);
}

void draw_pause_hint(const Painter& p, const RECT& area, int y, int client_width) {
  const std::vector<std::string> lines = pause_hint_lines(logging_session().survey.state);
  HFONT font = pause_hint_font(client_width);
  const int step = pause_hint_step(p, font);
  for (const std::string& line : lines) {
    p.centred(area, y, line, font);
    y += step;
  }
}

// Over the map: the name of the mapped reading (real-time map line).
void draw_map_title(const Painter& p, const LoggingLayout& l) {
  const LoggingSession& s = logging_session();
  if (!s.gps_used || !l.map_shown || g_settings.colour_map_view <= 0) return;
  const std::string title = map_title(g_variant.instrument_type, g_settings.colour_map_view, s.survey.map_review);
  if (!title.empty()) p.centred({l.map.left, 0, l.map.right, l.map.top}, 2, title, g_fonts[kValueFont]);
}

// EM61-LX2: one alarm box per coil with the monitored channel's letter.
void draw_alarm_indicator(const Painter& p, const LoggingLayout& l) {
  if (!has_trait(g_variant.instrument_type, Trait::kAlarmSetup)) return;
  const int size = 14;
  const int left = l.numbers.left - 70;
  RECT area{left, l.numbers.top, l.numbers.left - 24, l.numbers.top + 2 * (size + 4)};
  HBRUSH background = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(p.dc, &area, background);
  const char letter = alarm_channel_letter(g_settings.alarm.monitored_channel);
  if (g_settings.alarm.alarm_type == 0 || letter == 0) return;
  const int coils = g_settings.number_of_sensors > 0 ? 2 : 1;
  const UniqueBrush alarm(CreateSolidBrush(RGB(230, 40, 40)));
  for (int i = 0; i < coils; ++i) {
    RECT box{left, area.top + i * (size + 4), left + size, area.top + i * (size + 4) + size};
    FillRect(p.dc, &box, alarm.get());
    p.cell(box.right + 4, box.top, 14, std::string(1, letter));
  }
}

void paint_status(HWND window, HDC dc) {
  const LoggingSession& s = logging_session();
  const LoggingLayout& l = current_logging_layout();
  RECT client{};
  GetClientRect(window, &client);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, RGB(0, 0, 0));
  SelectedObject font(dc, g_fonts[kTextFont]);
  Painter p{dc, g_line_height};
  const StatusTexts t = current_status_texts();

  // The top row: the state at the left, the map size at the right, each in
  // its cell sized from its template.
  p.cell(g_cells.state.left, g_cells.state.top, g_cells.state.width(), t.state);
  if (s.gps_used) p.cell(g_cells.map_size.left, g_cells.map_size.top, g_cells.map_size.width(), t.map_size);
  const int map_bottom = l.map_shown ? l.map.bottom : l.profile_area.bottom;
  draw_em38_4_state(p, t);
  draw_side_lines(dc, client, map_bottom);
  draw_map_title(p, l);
  draw_colour_legend(dc, l);
  draw_alarm_indicator(p, l);
  if (s.instrument_used) draw_scale_labels(p, l);

  const RECT& area = l.status;
  const int inner = 8;
  const bool two_columns = l.status_two_columns;
  const int column = two_columns ? (area.right - area.left) / 2 : area.right - area.left;
  int y = area.top + inner;
  const int left_bottom = draw_survey_column(p, t, area.left + inner, y, column - 2 * inner);
  int gps_top = two_columns ? y : left_bottom + inner;
  const int gps_left = two_columns ? area.left + column + inner : area.left + inner;
  // In portrait the GPS rows spread over the block, which ends above the
  // pause hint's lines.
  StatusLayoutInput rows;
  rows.line_height = g_line_height;
  rows.portrait = g_screen.window.portrait;
  rows.gps_block_top = gps_top;
  rows.gps_block_height = area.bottom - gps_top - inner - 12 - 3 * (g_line_height + 2);
  const int gps_bottom = draw_gps_column(p, t, gps_left, gps_top, column - 2 * inner, gps_row_spacing(rows));
  draw_frame(dc, {area.left, area.top, area.left + column - 2, left_bottom + 4});
  draw_frame(dc, {gps_left - inner, gps_top - inner, gps_left - inner + column - 2, gps_bottom + 4});
  draw_speed_row(p, t, l.speed_row);
  const int hint_top = std::max<int>(std::max(left_bottom, gps_bottom) + 12, l.buttons.bottom + 6);
  const RECT hint_area{area.left, hint_top, client.right - 16, client.bottom};
  draw_pause_hint(p, hint_area, hint_area.top, client.right);
}

}  // namespace

void measure_status_blocks(HWND window, LayoutInput& in) {
  WindowDc dc(window);
  SelectedObject font(dc, g_fonts[kTextFont]);
  const Painter p{dc, g_line_height};
  const StatusTexts t = current_status_texts();
  const int lh = g_line_height;
  in.survey_block = survey_rows_height(lh) + static_cast<int>(instrument_rows(p, t).size()) * lh + 4;
  in.gps_block = logging_session().gps_used ? gps_column_lines(t) * lh + 4 : 0;
  in.hint_block =
      static_cast<int>(pause_hint_lines(kStateLogging).size()) * pause_hint_step(p, pause_hint_font(in.client_width));
}

StatusTexts current_status_texts() {
  StatusTexts t = status_texts(g_settings, logging_session().survey, status_input());
  held_records_label(t.file);
  return t;
}

LRESULT status_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  {
    PaintDc dc(window);
    paint_status(window, dc);
    paint_procedure_message(dc);
  }
  give_focus_to_logging_window(window);
  if (logging_session().survey.connection_lost) draw_lost_connection_notice(window);
  return 0;
}

LRESULT gsa_handler(HWND window, UINT, WPARAM, LPARAM) {
  const RecordBytes sentence = gps_sentence();
  logging_session().display.dilution = gsa_dilution_text(sentence.text());
  invalidate_status_area(window);
  return 0;
}

namespace {

// The first shown profile window takes the notice; the next shown one is its
// neighbour.
std::array<HWND, 2> notice_and_neighbour() {
  std::array<HWND, 2> found{};
  std::size_t n = 0;
  for (HWND curve : logging_session().children.curves)
    if (curve && IsWindowVisible(curve) && n < found.size()) found[n++] = curve;
  return found;
}

// The neighbour's frame, from (1, 1) to its width - 1 and height, drawn at
// once and the window left to repaint its trace.
void redraw_neighbour_frame(HWND neighbour) {
  if (!neighbour) return;
  RECT r{};
  GetClientRect(neighbour, &r);
  {
    WindowDc dc(neighbour);
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    SelectedObject pen(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 1, 1, r.right - 1, r.bottom);
  }
  InvalidateRect(neighbour, nullptr, FALSE);
}

}  // namespace

void give_focus_to_logging_window(HWND window) {
  // Never taken from a dialog or another program: only from the program's
  // own window tree.
  HWND focus = GetFocus();
  HWND root = GetAncestor(window, GA_ROOT);
  if (focus == window) return;
  if (focus == nullptr ? GetForegroundWindow() == root : focus == root || IsChild(root, focus)) SetFocus(window);
}

void draw_lost_connection_notice(HWND window) {
  const auto [curve, neighbour] = notice_and_neighbour();
  if (!curve) return;
  RECT r{};
  GetClientRect(curve, &r);
  RECT notice{r.left + 10, r.top + 10, r.right - 10, r.top + 20 + 4 * g_line_height};
  {
    WindowDc dc(curve);
    FillRect(dc, &notice, UniqueBrush(CreateSolidBrush(kNoticeColour)).get());
    SelectedObject font(dc, g_fonts[kHeadingFont]);
    SetBkMode(dc, TRANSPARENT);
    Painter p{dc, g_line_height};
    int y = notice.top + 5;
    for (const char* line : lost_connection_lines()) {
      p.centred(notice, y, line);
      y += g_line_height;
    }
  }
  redraw_neighbour_frame(neighbour);
  give_focus_to_logging_window(window);
}

void lay_out_status_cells(HWND window) {
  WindowDc dc(window);
  SelectedObject font(dc, g_fonts[kTextFont]);
  Painter p{dc, g_line_height};
  StatusLayoutInput in;
  RECT client{};
  GetClientRect(window, &client);
  in.panel_left = current_logging_layout().status.left;
  in.panel_right = client.right - 20;
  in.line_height = g_line_height;
  in.portrait = g_screen.window.portrait;
  g_cells = layout_status_cells(in, [&](std::string_view text) { return p.text_width(std::string(text)); });
}

void invalidate_state_label(HWND window) {
  RECT r{g_cells.state.left, g_cells.state.top, g_cells.state.right, g_cells.state.bottom};
  InvalidateRect(window, &r, FALSE);
}

void invalidate_status_area(HWND window) {
  RECT r = current_logging_layout().status;
  InvalidateRect(window, &r, FALSE);
  RECT row = current_logging_layout().speed_row;
  InvalidateRect(window, &row, FALSE);
}

}  // namespace quelor
