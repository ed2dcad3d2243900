#include "app/setup_sketch.h"

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "settings/value_text.h"
#include "shell/geometry_sketch.h"

namespace quelor {

namespace {

constexpr COLORREF kHeadingColour = RGB(0x10, 0x30, 0x70);
constexpr COLORREF kBodyColour = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kBodyFill = RGB(0xE8, 0xE0, 0xC8);
constexpr COLORREF kCoilColour = RGB(0xC0, 0x60, 0x00);
constexpr COLORREF kAntennaColour = RGB(0xD0, 0x00, 0x00);
constexpr COLORREF kOffsetColour = RGB(0x00, 0x60, 0xC0);
constexpr int kMinimumSide = 60;  // pixels; a smaller area gets no sketch

POINT to_point(const PixelPoint& p) { return POINT{p.x, p.y}; }

// Boxes and coils at least a few pixels across, so that a small part stays
// visible at a small scale.
void draw_shape(HDC dc, const SketchFrame& f, const SketchShape& s) {
  const POINT a = to_point(f.at(s.x0, s.y1)), b = to_point(f.at(s.x1, s.y0));
  switch (s.kind) {
    case SketchShapeKind::kBox: Rectangle(dc, a.x, a.y, std::max(b.x, a.x + 2), std::max(b.y, a.y + 2)); break;
    case SketchShapeKind::kCoil: Ellipse(dc, a.x, a.y, std::max(b.x, a.x + 6), std::max(b.y, a.y + 6)); break;
    case SketchShapeKind::kLine: {
      const POINT p = to_point(f.at(s.x0, s.y0)), q = to_point(f.at(s.x1, s.y1));
      MoveToEx(dc, p.x, p.y, nullptr);
      LineTo(dc, q.x, q.y);
      break;
    }
  }
}

void draw_instrument(HDC dc, const SketchFrame& f, const GeometrySketch& k) {
  const UniquePen body(CreatePen(PS_SOLID, 2, kBodyColour));
  const UniqueBrush fill(CreateSolidBrush(kBodyFill));
  const UniqueBrush coil_fill(CreateSolidBrush(kCoilColour));
  SelectedObject pen(dc, body.get());
  SelectedObject brush(dc, fill.get());
  for (const SketchShape& s : k.shapes) {
    SelectObject(dc, (s.kind == SketchShapeKind::kCoil ? coil_fill : fill).get());
    draw_shape(dc, f, s);
  }
}

// Dotted legs from the sensor's reference point across, then along, to the
// antenna; the antenna as a red ring with a cross and "GPS" on the side away
// from the sensor.
void draw_antenna(HDC dc, const SketchFrame& f, const GeometrySketch& k) {
  const UniquePen dotted(CreatePen(PS_DOT, 1, kOffsetColour));
  const UniquePen red(CreatePen(PS_SOLID, 2, kAntennaColour));
  SelectedObject pen(dc, dotted.get());
  SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  const POINT origin = to_point(f.at(0, 0)), corner = to_point(f.at(k.antenna_x, 0));
  const POINT antenna = to_point(f.at(k.antenna_x, k.antenna_y));
  MoveToEx(dc, origin.x, origin.y, nullptr);
  LineTo(dc, corner.x, corner.y);
  LineTo(dc, antenna.x, antenna.y);
  SelectObject(dc, red.get());
  Ellipse(dc, antenna.x - 7, antenna.y - 7, antenna.x + 8, antenna.y + 8);
  MoveToEx(dc, antenna.x - 11, antenna.y, nullptr);
  LineTo(dc, antenna.x + 12, antenna.y);
  MoveToEx(dc, antenna.x, antenna.y - 11, nullptr);
  LineTo(dc, antenna.x, antenna.y + 12);
  SetTextColor(dc, kAntennaColour);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"GPS", 3, &size);
  const int label_x = k.antenna_x < 0 ? antenna.x - 12 - size.cx : antenna.x + 12;
  ExtTextOutW(dc, label_x, antenna.y - 10 - size.cy, 0, nullptr, L"GPS", 3, nullptr);
}

// An arrow up the left side: the direction of travel.
void draw_travel_arrow(HDC dc, int left, int top) {
  const int x = left + 4, tip = top + 4, bottom = tip + 50;
  {
    const UniquePen pen(CreatePen(PS_SOLID, 2, kBodyColour));
    SelectedObject selected(dc, pen.get());
    MoveToEx(dc, x, bottom, nullptr);
    LineTo(dc, x, tip);
    LineTo(dc, x - 5, tip + 9);
    MoveToEx(dc, x, tip, nullptr);
    LineTo(dc, x + 6, tip + 9);
  }
  SetTextColor(dc, kBodyColour);
  ExtTextOutW(dc, x + 8, tip + 18, 0, nullptr, L"Travel", 6, nullptr);
}

int centred_text(HDC dc, const RECT& area, int y, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ExtTextOutW(dc, (area.left + area.right - size.cx) / 2, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
  return y + size.cy + 4;
}

}  // namespace

void paint_geometry_sketch(HDC dc, const RECT& area) {
  if (area.right - area.left < kMinimumSide || area.bottom - area.top < kMinimumSide) return;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, kHeadingColour);
  SelectedObject font(dc, g_fonts[kHeadingFont]);
  int y = centred_text(dc, area, area.top, L"Geometry Setup");
  const GeometrySketch k = geometry_sketch(g_settings, g_variant.instrument_type);
  SelectObject(dc, g_fonts[kTextFont]);
  SetTextColor(dc, kBodyColour);
  y = centred_text(dc, area, y, widen_text(k.name));
  const PixelBox box{static_cast<int>(area.left) + 40, y + 16, static_cast<int>(area.right) - 40,
                     static_cast<int>(area.bottom) - 16};
  if (box.right - box.left >= kMinimumSide / 2 && box.bottom - box.top >= kMinimumSide / 2) {
    const SketchFrame f = fit_sketch(k, box);
    draw_travel_arrow(dc, area.left, box.top);
    draw_instrument(dc, f, k);
    draw_antenna(dc, f, k);
  }
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

}  // namespace quelor
