#include "app/map/live_map_win.h"

#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/background/background_drawing.h"
#include "app/logging/logging_session.h"
#include "app/map/gdi_tiles.h"
#include "background/replot.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "survey/start_plan.h"

namespace quelor {

namespace {

constexpr COLORREF kPleaseWaitGrey = RGB(160, 160, 160);
constexpr DWORD kBusyInterval = 750;

struct ProgramMap {
  LiveMap live;
  std::unique_ptr<GdiTiles> tiles;
  bool redrawing = false;
  bool missed = false;  // fixes logged without painting outside review
};

ProgramMap& program_map() {
  static ProgramMap m;
  return m;
}

int map_side() {
  RECT r{};
  if (HWND w = logging_session().children.map) GetClientRect(w, &r);
  return std::max(8L, std::min(r.right, r.bottom)) - 2;
}

MapFixContext fix_context() {
  LoggingSession& s = logging_session();
  MapFixContext c = map_fix_context(g_settings, s.decode, s.survey, s.tilt_inline_offset, s.tilt_lateral_offset);
  c.swath_closings = s.data_file_open() ? s.writer().swath_closings() : 0;
  return c;
}

// Cross of the cursor: half-length i + 3 (index 5: 9).
void draw_cursor(HDC dc, int x, int y) {
  const int i = std::clamp(g_settings.map.cursor_size, 0, 5);
  const int half = i == 5 ? 9 : i + 3;
  const UniquePen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(g_settings.map.cursor_colour)));
  SelectedObject selected(dc, pen.get());
  MoveToEx(dc, x - half, y, nullptr);
  LineTo(dc, x + half + 1, y);
  MoveToEx(dc, x, y - half, nullptr);
  LineTo(dc, x, y + half + 1);
}

void centred_text(HDC dc, const RECT& client, const std::wstring& text, COLORREF colour) {
  RECT r = client;
  SelectedObject font(dc, g_fonts[kHeadingFont]);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The four tiles of the view composed into `dc` at (left, top).
void compose_view(HDC dc, int left, int top, const MapView& v, GdiTiles& tiles) {
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const MemoryDc source(CreateCompatibleDC(dc));
  for (int dx = 0; dx <= 1; ++dx)
    for (int dy = 0; dy <= 1; ++dy) {
      const int x = left - v.ox + dx * w, y = top - v.oy + dy * h;
      for (int layer : {kGridLayer, kDataLayer}) {
        HBITMAP b = tiles.bitmap(layer, v.tx + dx, v.ty - dy);
        if (!b) continue;
        tiles.deselect(b);
        SelectedObject tile(source.get(), b);
        BitBlt(dc, x, y, w, h, source.get(), 0, 0, layer == kGridLayer ? SRCCOPY : SRCAND);
      }
    }
}

void please_wait(HWND window) {
  WindowDc dc(window);
  RECT r;
  GetClientRect(window, &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  centred_text(dc, r, L"Please Wait", kPleaseWaitGrey);
}

// The busy indicator in the map's top-left corner, advanced every 750 ms.
void busy_step(HWND window, int step) {
  WindowDc dc(window);
  static constexpr const wchar_t* kFrames[] = {L"|", L"/", L"-", L"\\"};
  RECT r{4, 4, 24, 24};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, kPleaseWaitGrey);
  TextOutW(dc, 6, 4, kFrames[step % 4], 1);
}

class TickClock : public Clock {
 public:
  std::uint32_t now_ms() override { return GetTickCount(); }
  void wait_ms(std::uint32_t ms) override { Sleep(ms); }
};

}  // namespace

LiveMap& live_map_state() { return program_map().live; }
TileSurface* live_map_tiles() { return program_map().tiles.get(); }

void reset_live_map() {
  ProgramMap& m = program_map();
  const int w = map_side();
  m.tiles.reset();  // every bitmap of the previous survey freed
  m.tiles = std::make_unique<GdiTiles>(w, w);
  reset_background_layer(*m.tiles);
  m.live = LiveMap{};
  m.live.map = map_state_from_settings(g_settings, w, w + 2);
  logging_session().survey.map_review = false;
}

void live_map_fix(const FixOutcome& fix) {
  ProgramMap& m = program_map();
  LoggingSession& s = logging_session();
  if (!m.tiles) reset_live_map();
  const bool painting = !s.survey.map_review && !s.command_busy && !m.redrawing;
  const MapFixResult r = map_fix(m.live, *m.tiles, s.survey, fix_context(), fix, painting);
  if (s.data_file_open()) write_footprint_records(s.writer(), r.paint);
  if (r.step.became_full) s.survey.map_full = kMapReachedEdge;
  if (!painting && !s.survey.map_review && !r.paint.groups.empty()) m.missed = true;
}

void catch_up_live_map() {
  ProgramMap& m = program_map();
  if (!m.missed || m.redrawing || logging_session().survey.map_review) return;
  m.missed = false;
  redraw_whole_map();
}

void paint_live_map(HDC dc, const RECT& client) {
  ProgramMap& m = program_map();
  const LoggingSession& s = logging_session();
  if (!s.survey.first_fix_done || !m.tiles || !m.live.map.initialised) {
    centred_text(dc, client, std::wstring(L"Waiting for the first valid GPS position"), RGB(0, 0, 0));
    return;
  }
  MapState& map = m.live.map;
  const int w = m.tiles->tile_width(), h = m.tiles->tile_height();
  HBITMAP buffer = m.tiles->view_buffer();
  if (!buffer) return;
  const MemoryDc back(CreateCompatibleDC(dc));
  SelectedObject view(back.get(), buffer);
  RECT all{0, 0, w, h};
  FillRect(back.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const MapView& v = shown_view(map);
  compose_view(back.get(), 0, 0, v, *m.tiles);
  m.tiles->trim();
  if (!m.redrawing) draw_cursor(back.get(), window_x(v, map.last), window_y(v, map.last));
  BitBlt(dc, client.left + 1, client.top + 1, w, h, back.get(), 0, 0, SRCCOPY);
}

void redraw_whole_map() {
  ProgramMap& m = program_map();
  LoggingSession& s = logging_session();
  HWND window = s.children.map;
  if (!m.tiles || !window) return;
  m.redrawing = true;
  please_wait(window);
  MapState& map = m.live.map;
  map.grid = grid_from_settings(g_settings, map.frame.pixels_per_unit);
  prepare_whole_map(map, *m.tiles);
  WriterReader reader(s.writer());
  const std::optional<DecodeContext> decode =
      s.sink.is_open() && map.initialised ? file_decode_context(reader, g_settings) : std::nullopt;
  if (decode) {
    const ReplotStyle style = replot_style(*decode, g_settings);
    TickClock clock;
    int step = 0;
    replot_survey(reader, s.writer().record_length(), style, map, *m.tiles, &clock, [&] { busy_step(window, ++step); });
  }
  m.redrawing = false;
  m.missed = false;
  map.recentre = !map.in_review;
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace quelor
