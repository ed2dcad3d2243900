#include "app/logging/profile_drawing.h"

#include <array>
#include <vector>

#include "app/app_state.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "display/bar_update.h"
#include "display/profile_scale.h"
#include "display/profile_step.h"
#include "display/trace_layout.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"

namespace quelor {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(192, 192, 192);

// What the window thread keeps between readings, per trace (ChannelDisplay::trace).
struct DrawState {
  std::array<TraceState, kMaxTraces> traces{};
  std::array<BarState, kMaxDisplayChannels> bars{};
  std::array<double, kMaxDisplayChannels> last_values{};
  std::array<bool, kMaxDisplayChannels> have_value{};
};

DrawState& draw_state() {
  static DrawState state;  // window thread only
  return state;
}

const std::array<double, 2>& scale_of(int component) {
  return component == 2 ? g_settings.profile_scale_2 : g_settings.profile_scale_1;
}

bool two_coils() { return logging_session().decode.two_sensors; }

TraceLayout layout_for(int count, bool first_is_inphase) {
  return trace_layout(g_variant.instrument_type, count, two_coils(), first_is_inphase);
}

// The pens and brushes of the profiles and bars, made once and kept for the
// run; a trace's pen and a channel's brush are made again only when the
// trace's width or colour setting changed (Profiles Options).
struct TracePen {
  UniquePen pen;
  int width = -1;
  COLORREF colour = 0;
};

struct ChannelBrush {
  UniqueBrush brush;
  COLORREF colour = 0;
};

struct DrawingObjects {
  UniquePen white{CreatePen(PS_SOLID, 1, kWhite)};
  UniquePen grey_thin{CreatePen(PS_SOLID, 1, kGrey)};
  UniquePen grey_thick{CreatePen(PS_SOLID, 2, kGrey)};
  UniquePen black{CreatePen(PS_SOLID, 1, RGB(0, 0, 0))};
  UniqueBrush white_brush{CreateSolidBrush(kWhite)};
  std::array<TracePen, kMaxTraces> traces{};
  std::array<ChannelBrush, kMaxDisplayChannels> bars{};
};

DrawingObjects& drawing_objects() {
  static DrawingObjects objects;  // window thread only; lives for the run
  return objects;
}

HPEN trace_pen(int trace) {
  const auto i = static_cast<std::size_t>(trace);
  TracePen& t = drawing_objects().traces[i];
  const int width = g_settings.trace_widths[i];
  const COLORREF colour = g_settings.trace_colours[i];
  if (!t.pen || t.width != width || t.colour != colour) {
    t.pen.reset(CreatePen(PS_SOLID, width, colour));
    t.width = width;
    t.colour = colour;
  }
  return t.pen.get();
}

HBRUSH channel_brush(int channel) {
  const auto i = static_cast<std::size_t>(channel);
  ChannelBrush& b = drawing_objects().bars[i];
  const COLORREF colour = g_settings.trace_colours[i];
  if (!b.brush || b.colour != colour) {
    b.brush.reset(CreateSolidBrush(colour));
    b.colour = colour;
  }
  return b.brush.get();
}

void line(HDC dc, HPEN pen, int x0, int y0, int x1, int y1) {
  SelectedObject selected(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void scale_line_pieces(HDC dc, int component, int x0, int x1, int height) {
  const auto& s = scale_of(component);
  const ScaleLines lines = scale_lines(height, s[0], s[1]);
  const DrawingObjects& o = drawing_objects();
  for (int i = 0; i < lines.count; ++i)
    line(dc, (i == 0 && lines.main_is_zero ? o.grey_thick : o.grey_thin).get(), x0,
         lines.rows[static_cast<std::size_t>(i)], x1, lines.rows[static_cast<std::size_t>(i)]);
}

// The slot of the plan that shows `window`, or -1.
int slot_of(const ProfilePlan& plan, HWND window) {
  for (int k = 0; k < plan.count; ++k)
    if (profile_window_handle(plan.slots[static_cast<std::size_t>(k)].window) == window) return k;
  return -1;
}

// One profile step of the window in `slot`: its own traces against the scale
// of its component.
void profile_step(int slot, const DisplayReading& r, const TraceLayout& layout) {
  HWND window = profile_window_handle(layout.plan.slots[static_cast<std::size_t>(slot)].window);
  if (!window || !IsWindowVisible(window)) return;
  const int component = layout.plan.slots[static_cast<std::size_t>(slot)].component;
  RECT client;
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  WindowDc dc(window);
  const ProfileScroll s = profile_scroll(w);
  BitBlt(dc, s.target_x, 0, s.width, h, dc, s.source_x, 0, SRCCOPY);
  const DrawingObjects& o = drawing_objects();
  for (int x = s.clear_left; x <= s.clear_right; ++x) line(dc, o.white.get(), x, 0, x, h);
  scale_line_pieces(dc, component, s.clear_left, s.clear_right + 1, h);
  // the frame's pieces in the cleared columns
  line(dc, o.black.get(), s.clear_left, 0, s.clear_right + 1, 0);
  line(dc, o.black.get(), s.clear_left, h - 1, s.clear_right + 1, h - 1);
  // Thick pens stay inside the frame and the cleared columns: what they
  // painted right of them would never scroll away.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 1, 1, s.clear_right + 1, h - 1);
  DrawState& st = draw_state();
  const auto& scale = scale_of(component);
  const double p = pixels_per_unit(h, scale[0], scale[1]);
  for (int i = 0; i < layout.count; ++i) {
    if (layout.channels[static_cast<std::size_t>(i)].slot != slot) continue;
    const int row = value_row(r.values[static_cast<std::size_t>(i)], scale[1], p);
    const int trace = layout.channels[static_cast<std::size_t>(i)].trace;
    TraceState& t = st.traces[static_cast<std::size_t>(trace)];
    const TraceDraw d = trace_step(t, row, r.identity);
    if (d.kind == TraceDraw::kNothing) continue;
    HPEN pen = trace_pen(trace);
    if (d.kind == TraceDraw::kPoint)
      line(dc, pen, s.newest_x, d.to_row, s.newest_x + 1, d.to_row);
    else
      line(dc, pen, s.previous_x, d.from_row, s.newest_x, d.to_row);
  }
  RestoreDC(dc, saved);
}

int bar_component(HWND window) { return GetDlgCtrlID(window) == kBarIWindowId ? 2 : 1; }

// The traces a bar window shows: those of the layout on its component that
// hold a value.
std::vector<int> bar_traces(HWND window, const TraceLayout& layout) {
  std::vector<int> traces;
  const DrawState& st = draw_state();
  for (int i = 0; i < layout.count; ++i) {
    const ChannelDisplay& c = layout.channels[static_cast<std::size_t>(i)];
    if (c.component == bar_component(window) && st.have_value[static_cast<std::size_t>(c.trace)])
      traces.push_back(c.trace);
  }
  return traces;
}

// The bars of one bar window side by side, from the last value of each trace.
void bars_step(HWND window, HDC dc, const std::vector<int>& channels) {
  if (channels.empty()) return;
  RECT client;
  GetClientRect(window, &client);
  const int component = bar_component(window);
  const double* values = draw_state().last_values.data();
  const int height = client.bottom - 2;  // inside the frame
  const int width = (client.right - 4) / static_cast<int>(channels.size());
  const auto& scale = scale_of(component);
  const double p = pixels_per_unit(height, scale[0], scale[1]);
  const int mode = zero_mode(scale[0], scale[1]);
  const int zero_row = value_row(0.0, scale[1], p);
  HBRUSH white = drawing_objects().white_brush.get();
  for (std::size_t k = 0; k < channels.size(); ++k) {
    const int i = channels[k];
    BarState& bar = draw_state().bars[static_cast<std::size_t>(i)];
    const BarPaint paint = bar_update(bar, value_row(values[i], scale[1], p), height, mode, zero_row);
    if (paint.frame && k == 0) {
      SelectedObject frame_brush(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, 0, 0, client.right, client.bottom);
    }
    HBRUSH brush = channel_brush(i);
    const int x = 2 + static_cast<int>(k) * width;
    for (int b = 0; b < paint.band_count; ++b) {
      const BarBand& band = paint.bands[static_cast<std::size_t>(b)];
      RECT r{x + 1, 1 + band.top, x + width - 1, 1 + band.bottom};
      FillRect(dc, &r, band.filled ? brush : white);
    }
  }
}

}  // namespace

void draw_reading_step(const DisplayReading& r) {
  const TraceLayout layout = layout_for(static_cast<int>(r.values.size()), r.first_is_inphase);
  // Two groups scroll both windows, the second only when it is another window.
  const auto& slots = layout.plan.slots;
  if (r.profile) {
    profile_step(0, r, layout);
    if (layout.plan.count > 1 && profile_window_handle(slots[1].window) != profile_window_handle(slots[0].window))
      profile_step(1, r, layout);
  }
  DrawState& st = draw_state();
  for (int i = 0; i < layout.count; ++i) {
    const auto trace = static_cast<std::size_t>(layout.channels[static_cast<std::size_t>(i)].trace);
    st.last_values[trace] = r.values[static_cast<std::size_t>(i)];
    st.have_value[trace] = true;
  }
  if (!r.bars || !layout.plan.bars) return;
  const LoggingChildren& c = logging_session().children;
  for (HWND bar : {c.bar_q, c.bar_i}) {
    if (!bar || !IsWindowVisible(bar)) continue;
    bars_step(bar, WindowDc(bar), bar_traces(bar, layout));
  }
}

// The frame and the scale lines of the window's component; the traces of its
// slot start again.
void paint_profile_frame(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  {
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, client.right, client.bottom);
  }
  DrawState& st = draw_state();
  const TraceLayout layout = layout_for(kMaxDisplayChannels, false);
  const int slot = slot_of(layout.plan, window);
  const int component = slot < 0 ? 1 : layout.plan.slots[static_cast<std::size_t>(slot)].component;
  scale_line_pieces(dc, component, 1, client.right - 1, client.bottom);
  for (int i = 0; i < layout.count; ++i)
    if (layout.channels[static_cast<std::size_t>(i)].slot == slot)
      st.traces[static_cast<std::size_t>(i)].started = false;
}

void paint_bars(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  {
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, client.right, client.bottom);  // framed even before its first reading
  }
  // Every trace of the instrument that held a value: the bars of both kinds
  // of EM38 record stay drawn whichever came last.
  const std::vector<int> traces = bar_traces(window, layout_for(kMaxDisplayChannels, false));
  for (int trace : traces) draw_state().bars[static_cast<std::size_t>(trace)] = BarState{};
  if (logging_session().display.have_reading) bars_step(window, dc, traces);
}

void invalidate_profile_windows() {
  const LoggingChildren& c = logging_session().children;
  for (HWND child : {c.curves[0], c.curves[1], c.curves[2], c.decay, c.bar_q, c.bar_i})
    if (child) InvalidateRect(child, nullptr, TRUE);
}

void reset_reading_displays() { draw_state() = DrawState{}; }

}  // namespace quelor
