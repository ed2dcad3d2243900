#include "app/logging/display_windows.h"

#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/procedures/procedure_actions.h"
#include "app/logging/profile_drawing.h"
#include "display/numbers_rows.h"
#include "app/logging/target_cue_win.h"
#include "display/speed_bar.h"
#include "survey/map_title.h"
#include "app/map/colour_bar_win.h"
#include "app/map/live_map_win.h"
#include "survey/start_plan.h"

namespace quelor {

namespace {

constexpr COLORREF kBarColour = RGB(0, 150, 0);

struct Paint {
  explicit Paint(HWND w) : window(w) {
    dc = BeginPaint(window, &ps);
    GetClientRect(window, &client);
  }
  ~Paint() { EndPaint(window, &ps); }
  HWND window;
  PAINTSTRUCT ps{};
  HDC dc;
  RECT client{};
};

void frame(HDC dc, const RECT& client) {
  HGDIOBJ old = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 1, 1, client.right - 1, client.bottom);
  SelectObject(dc, old);
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void text_row(HDC dc, int x, int y, const char* text) {
  const std::wstring w = widen(text);
  ExtTextOutW(dc, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}


}  // namespace

double scale_fraction(double value, double minimum, double maximum) {
  if (!(maximum > minimum) || !std::isfinite(value)) return 0.0;
  const double f = (value - minimum) / (maximum - minimum);
  return f < 0.0 ? 0.0 : f > 1.0 ? 1.0 : f;
}

POINT map_pixel(double x, double y, double map_size, SIZE size) {
  const double scale = map_size > 0.0 ? size.cx / map_size : 1.0;
  const double px = size.cx / 2.0 + x * scale;
  const double py = size.cy / 2.0 - y * scale;
  auto clamp = [](double v) { return static_cast<LONG>(std::lround(v < -1e6 ? -1e6 : v > 1e6 ? 1e6 : v)); };
  return {clamp(px), clamp(py)};
}

LRESULT curve_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  paint_profile_frame(window, p.dc);
  return 0;
}

LRESULT decay_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  paint_profile_frame(window, p.dc);
  return 0;
}

LRESULT bar_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  paint_bars(window, p.dc);
  return 0;
}

namespace {

int text_width(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The label at the left, the value against the right edge; where the two do
// not fit side by side in the value font, the label (then the value too) is
// drawn in the smaller text font.
void draw_label_and_value(HDC dc, const RECT& client, int y, const std::wstring& label, const std::wstring& value) {
  const int room = client.right - 10 - 4;
  HGDIOBJ value_font = GetCurrentObject(dc, OBJ_FONT);
  const bool fits = text_width(dc, label) + text_width(dc, value) <= room;
  if (!fits) SelectObject(dc, g_fonts[kTextFont]);
  const int label_width = text_width(dc, label);
  ExtTextOutW(dc, 5, y, 0, nullptr, label.c_str(), static_cast<UINT>(label.size()), nullptr);
  SelectObject(dc, value_font);
  if (label_width + text_width(dc, value) > room) SelectObject(dc, g_fonts[kTextFont]);
  RECT cell{5, y, client.right - 5, y + g_line_height};
  DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &cell, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, value_font);
}

// The numbers of the binary and line instruments, then battery, current and tilt.
void draw_channel_numbers(HDC dc, const RECT& client, const LoggingSession& s) {
  const DisplayValues& d = s.display;
  NumbersInput in;
  in.instrument_type = g_variant.instrument_type;
  in.two_sensors = s.instrument_context.two_sensors;
  in.channels = std::span<const double>(d.channels.data(), static_cast<std::size_t>(d.channel_count));
  in.marker = d.marker;
  std::vector<std::string> rows = numbers_rows(in);
  int y = 5;
  for (const std::string& row : rows) {
    if (y + g_line_height > client.bottom) break;  // never half a row
    // The label at the left, the value against the right edge, so that long
    // labels ("HI  #1:") and wide values stay inside the 110-pixel window.
    const std::size_t colon = row.find(':');
    if (colon == std::string::npos) {
      text_row(dc, 5, y, row.c_str());
    } else {
      const std::size_t first = row.find_first_not_of(' ', colon + 1);
      draw_label_and_value(dc, client, y, widen(row.substr(0, colon + 1)),
                           widen(first == std::string::npos ? "" : row.substr(first)));
    }
    y += g_line_height;
  }
}

// A running procedure's texts: centred over the map when it is shown, in
// the map's place while the calibration hides it, else in place of the
// numbers.
bool map_shows_procedure() {
  const HWND map = logging_session().children.map;
  return !procedure_lines().empty() && map != nullptr && IsWindowVisible(map);
}

bool numbers_show_procedure() { return !map_shows_procedure() && !procedure_message_area(); }

bool draw_procedure_lines(HDC dc, RECT area) {
  const std::vector<std::string>& lines = procedure_lines();
  if (lines.empty()) return false;
  const int height = static_cast<int>(lines.size()) * g_line_height;
  RECT row = area;
  row.top = (area.top + area.bottom - height) / 2;
  for (const std::string& line : lines) {
    row.bottom = row.top + g_line_height;
    const std::wstring text = widen(line);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &row, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    row.top = row.bottom;
  }
  return true;
}

bool t_record_instrument() {
  const int t = g_variant.instrument_type;
  return t == kEm31Mk2 || t == kEm38 || t == kEm34_3;
}

}  // namespace

LRESULT numbers_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  frame(p.dc, p.client);
  const LoggingSession& s = logging_session();
  const DisplayValues& d = s.display;
  HGDIOBJ old = SelectObject(p.dc, g_fonts[kValueFont]);
  SetBkMode(p.dc, TRANSPARENT);
  if (numbers_show_procedure() && draw_procedure_lines(p.dc, p.client)) {
    SelectObject(p.dc, old);
    return 0;
  }
  if (!t_record_instrument()) {
    const std::span<const double> channels(d.channels.data(), static_cast<std::size_t>(d.channel_count));
    if (!draw_side_indicator(p.dc, p.client, d.have_reading, channels, d.marker) &&
        (d.have_reading || !d.tilt_first_text.empty()))
      draw_channel_numbers(p.dc, p.client, s);
    SelectObject(p.dc, old);
    return 0;
  }
  char row[64];
  const char letter = s.plan.dipole_letter;
  std::snprintf(row, sizeof row, "C%c: %8.2f", letter, d.have_reading ? d.first_value : 0.0);
  text_row(p.dc, 5, 5, d.have_reading ? row : "C: ");
  if (d.has_second_value) {
    std::snprintf(row, sizeof row, "I%c:  %8.2f", letter, d.second_value);
    text_row(p.dc, 5, 5 + g_line_height, row);
  }
  if (d.marker) text_row(p.dc, 5, 5 + 2 * g_line_height, "Marker");
  if (!d.reading_count_text.empty()) text_row(p.dc, 5, 5 + 3 * g_line_height, d.reading_count_text.c_str());
  SelectObject(p.dc, old);
  return 0;
}

// Framed and filled, then the part beyond the speed overdrawn white.
LRESULT speed_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  const DisplayValues& d = logging_session().display;
  const int width = p.client.right - 4;
  const int filled = speed_fill(d.speed, width, {0.0, g_settings.speed_scale_maximum});
  fill(p.dc, {2, 2, 2 + width, p.client.bottom - 1}, kBarColour);
  fill(p.dc, {2 + filled, 2, 2 + width, p.client.bottom - 1}, RGB(255, 255, 255));
  frame(p.dc, p.client);
  return 0;
}

LRESULT map_window_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  frame(p.dc, p.client);
  paint_live_map(p.dc, p.client);
  if (map_shows_procedure()) {
    HGDIOBJ old = SelectObject(p.dc, g_fonts[kHeadingFont]);
    SetBkMode(p.dc, TRANSPARENT);
    draw_procedure_lines(p.dc, p.client);
    SelectObject(p.dc, old);
  }
  return 0;
}

void paint_procedure_message(HDC dc) {
  const std::optional<RECT> area = procedure_message_area();
  if (!area) return;
  HGDIOBJ old = SelectObject(dc, g_fonts[kHeadingFont]);
  const int mode = SetBkMode(dc, TRANSPARENT);
  draw_procedure_lines(dc, *area);
  SetBkMode(dc, mode);
  SelectObject(dc, old);
}

LRESULT colour_bar_window_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  paint_colour_bar(p.dc, p.client);
  return 0;
}

void invalidate_reading_displays() {
  // Profiles and bars are drawn incrementally by the handlers; only the numbers are repainted.
  if (HWND w = logging_session().children.numbers) InvalidateRect(w, nullptr, TRUE);
}

}  // namespace quelor
