#include "app/logging/display_windows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/procedures/procedure_actions.h"
#include "app/logging/profile_drawing.h"
#include "display/numbers_rows.h"
#include "app/logging/target_cue_win.h"
#include "display/speed_bar.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "survey/map_title.h"
#include "app/map/colour_bar_win.h"
#include "app/map/live_map_win.h"
#include "survey/start_plan.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr COLORREF kBarColour = RGB(0, 150, 0);

struct Paint {
  explicit Paint(HWND w) : dc(w) { GetClientRect(w, &client); }
  PaintDc dc;
  RECT client{};
};

void frame(HDC dc, const RECT& client) {
  SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 1, 1, client.right - 1, client.bottom);
}

// The speed bar's brush, made once.
HBRUSH bar_brush() {
  static const UniqueBrush brush(CreateSolidBrush(kBarColour));
  return brush.get();
}

void fill(HDC dc, const RECT& r, HBRUSH brush) { FillRect(dc, &r, brush); }

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

// A numbers row split at its first colon: the label at the left, the value
// against the right edge, so that long labels ("HI  #1:") and wide values
// stay inside the 110-pixel window. A row without a colon is one text.
struct NumbersRow {
  std::wstring whole;
  std::wstring label;
  std::wstring value;
};

NumbersRow split_row(const std::string& row) {
  const std::size_t colon = row.find(':');
  if (colon == std::string::npos) return {widen(row), widen(row), L""};
  const std::size_t first = row.find_first_not_of(' ', colon + 1);
  return {widen(row), widen(row.substr(0, colon + 1)), widen(first == std::string::npos ? "" : row.substr(first))};
}

constexpr int kNumbersLeft = 4;  // the rows' left edge, two pixels inside the frame

int widest_row(HDC dc, const std::vector<NumbersRow>& rows) {
  int widest = 0;
  for (const NumbersRow& r : rows) widest = std::max(widest, text_width(dc, r.label) + 4 + text_width(dc, r.value));
  return widest;
}

// The text font narrowed until a row of `widest` pixels (in the text font)
// fits `room`: Wine's substitute for the text font runs wider than the
// Windows one, and the window's width is fixed by the layout. One font is
// kept, made again only when the height it needs changes.
HFONT narrowed_text_font(HDC dc, const std::vector<NumbersRow>& rows, int widest, int room) {
  static UniqueFont kept;
  static int kept_height = 0;
  LOGFONTW f{};
  if (widest <= 0 || GetObjectW(g_fonts[kTextFont], sizeof f, &f) == 0) return nullptr;
  int height = std::abs(f.lfHeight) * room / widest;
  for (; height >= 8; --height) {
    if (height != kept_height) {
      f.lfHeight = f.lfHeight < 0 ? -height : height;
      f.lfWidth = 0;
      UniqueFont made(CreateFontIndirectW(&f));
      if (!made) return nullptr;
      SelectObject(dc, g_fonts[kTextFont]);  // a selected font is not deleted
      kept = std::move(made);
      kept_height = height;
    }
    SelectObject(dc, kept.get());
    if (widest_row(dc, rows) <= room) return kept.get();
  }
  return nullptr;
}

// The value font when every row fits in it, else the smaller text font,
// else the text font narrowed to the widest row; false when none fits.
bool select_numbers_font(HDC dc, const std::vector<NumbersRow>& rows, int room) {
  SelectObject(dc, g_fonts[kValueFont]);
  if (widest_row(dc, rows) <= room) return true;
  SelectObject(dc, g_fonts[kTextFont]);
  const int widest = widest_row(dc, rows);
  if (widest <= room || narrowed_text_font(dc, rows, widest, room)) return true;
  SelectObject(dc, g_fonts[kTextFont]);
  return false;
}

std::vector<NumbersRow> split_rows(const std::vector<std::string>& rows) {
  std::vector<NumbersRow> split;
  for (const std::string& row : rows) split.push_back(split_row(row));
  return split;
}

int numbers_room(const RECT& client) { return client.right - 2 - kNumbersLeft; }

// Every row in one font; never half a row at the bottom.
void draw_numbers_rows(HDC dc, const RECT& client, const std::vector<std::string>& rows) {
  const std::vector<NumbersRow> split = split_rows(rows);
  const int room = numbers_room(client);
  SelectedObject font(dc, GetCurrentObject(dc, OBJ_FONT));  // the font in use, back at the end
  select_numbers_font(dc, split, room);
  int y = 5;
  for (const NumbersRow& r : split) {
    if (y + g_line_height > client.bottom) break;
    RECT cell{kNumbersLeft, y, client.right - 2, y + g_line_height};
    if (text_width(dc, r.label) + 4 + text_width(dc, r.value) > room) {
      // Too wide even so: the row as it reads, cut at the frame, rather
      // than the value written over its label.
      ExtTextOutW(dc, kNumbersLeft, y, ETO_CLIPPED, &cell, r.whole.c_str(), static_cast<UINT>(r.whole.size()), nullptr);
    } else {
      ExtTextOutW(dc, kNumbersLeft, y, 0, nullptr, r.label.c_str(), static_cast<UINT>(r.label.size()), nullptr);
      DrawTextW(dc, r.value.c_str(), static_cast<int>(r.value.size()), &cell, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    }
    y += g_line_height;
  }
}

// The numbers of the binary and line instruments.
void draw_channel_numbers(HDC dc, const RECT& client, const LoggingSession& s) {
  const DisplayValues& d = s.display;
  NumbersInput in;
  in.instrument_type = g_variant.instrument_type;
  in.two_sensors = s.decode.two_sensors;
  in.channels = std::span<const double>(d.channels.data(), static_cast<std::size_t>(d.channel_count));
  in.marker = d.marker;
  draw_numbers_rows(dc, client, numbers_rows(in));
}

// EM31-MK2, EM38 and EM34-3: the values, range and mode of the last record.
void draw_t_record_numbers(HDC dc, const RECT& client, const DisplayValues& d) {
  TRecordNumbers t;
  t.instrument_type = g_variant.instrument_type;
  t.have_reading = d.have_reading;
  t.first_value = d.first_value;
  t.first_is_inphase = d.inphase_record;
  if (t.instrument_type == kEm31Mk2 && d.has_second_value) t.second_value = d.second_value;
  t.range = d.range;
  t.dipole = d.dipole;
  t.coil_spacing_m = d.coil_spacing_m;
  t.marker = d.marker;
  t.reading_count = d.reading_count_text;
  t.lines = (client.bottom - 5) / g_line_height;
  draw_numbers_rows(dc, client, t_record_numbers_rows(t));
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

}  // namespace

bool select_numbers_font(HDC dc, const std::vector<std::string>& rows, const RECT& client) {
  return select_numbers_font(dc, split_rows(rows), numbers_room(client));
}

LRESULT numbers_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  frame(p.dc, p.client);
  const LoggingSession& s = logging_session();
  const DisplayValues& d = s.display;
  SelectedObject font(p.dc, g_fonts[kValueFont]);
  SetBkMode(p.dc, TRANSPARENT);
  if (numbers_show_procedure() && draw_procedure_lines(p.dc, p.client)) return 0;
  if (!is_t_record_instrument(g_variant.instrument_type)) {
    const std::span<const double> channels(d.channels.data(), static_cast<std::size_t>(d.channel_count));
    if (!draw_side_indicator(p.dc, p.client, d.have_reading, channels, d.marker) &&
        (d.have_reading || !d.tilt_first_text.empty()))
      draw_channel_numbers(p.dc, p.client, s);
    return 0;
  }
  draw_t_record_numbers(p.dc, p.client, d);
  return 0;
}

// Framed and filled, then the part beyond the speed overdrawn white.
LRESULT speed_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  const DisplayValues& d = logging_session().display;
  const int width = p.client.right - 4;
  const int filled =
      speed_view({d.speed, g_settings.map_units, g_settings.speed_bar_units, g_settings.speed_scale_maximum, width})
          .fill;
  fill(p.dc, {2, 2, 2 + width, p.client.bottom - 1}, bar_brush());
  fill(p.dc, {2 + filled, 2, 2 + width, p.client.bottom - 1}, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  frame(p.dc, p.client);
  return 0;
}

LRESULT map_window_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  Paint p(window);
  frame(p.dc, p.client);
  paint_live_map(p.dc, p.client);
  if (map_shows_procedure()) {
    SelectedObject font(p.dc, g_fonts[kHeadingFont]);
    SetBkMode(p.dc, TRANSPARENT);
    draw_procedure_lines(p.dc, p.client);
  }
  return 0;
}

void paint_procedure_message(HDC dc) {
  const std::optional<RECT> area = procedure_message_area();
  if (!area) return;
  SelectedObject font(dc, g_fonts[kHeadingFont]);
  const int mode = SetBkMode(dc, TRANSPARENT);
  draw_procedure_lines(dc, *area);
  SetBkMode(dc, mode);
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
