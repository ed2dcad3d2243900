#include "app/setup_sketch.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/app_state.h"

namespace quelor {

namespace {

// Shapes in metres: x to the right of the direction of travel, y forward.
enum class ShapeKind { kBox, kCoil, kLine };

struct Shape {
  ShapeKind kind;
  double x0, y0, x1, y1;
};

struct Sketch {
  std::vector<Shape> shapes;
  const wchar_t* name = L"";
};

constexpr COLORREF kBodyColour = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kCoilColour = RGB(0xC0, 0x60, 0x00);
constexpr COLORREF kAntennaColour = RGB(0xD0, 0x00, 0x00);
constexpr COLORREF kOffsetColour = RGB(0x00, 0x60, 0xC0);
constexpr int kMinimumSide = 60;  // pixels; a smaller area gets no sketch
constexpr double kMinimumExtent = 2.0;  // metres shown at least, each way

Shape box(double cx, double cy, double width, double length) {
  return {ShapeKind::kBox, cx - width / 2, cy - length / 2, cx + width / 2, cy + length / 2};
}
Shape coil(double cx, double cy, double radius) {
  return {ShapeKind::kCoil, cx - radius, cy - radius, cx + radius, cy + radius};
}
Shape line(double x0, double y0, double x1, double y1) { return {ShapeKind::kLine, x0, y0, x1, y1}; }

// A boom along the direction of travel with a coil at each end.
Sketch boom(double length, double coil_radius, const wchar_t* name) {
  Sketch s;
  s.name = name;
  s.shapes = {box(0, 0, 0.08, length), coil(0, length / 2, coil_radius),
              coil(0, -length / 2, coil_radius)};
  return s;
}

Sketch em31_sketch() {
  Sketch s = boom(3.66, 0.15, L"EM31-MK2");
  s.shapes.push_back(box(0, 0.1, 0.3, 0.45));  // console
  return s;
}

Sketch cs21_sketch() {
  Sketch s = boom(2.2, 0.06, L"DualEM CS-21");
  for (double y : {0.1, -0.1, -0.6}) s.shapes.push_back(coil(0, y, 0.05));
  return s;
}

int em34_spacing(const Settings& st) {
  if (st.survey_mode != 0 || st.dipole_mode < 0) return 10;
  static constexpr int kSpacings[] = {10, 20, 40};
  return kSpacings[st.dipole_mode % 3];
}

// The antenna offsets refer to the leading coil, the trailing coil or the
// middle between them.
Sketch em34_sketch(const Settings& st) {
  const double s = em34_spacing(st);
  double lead = s / 2;
  if (st.em34_3_reference == 0) lead = 0;
  if (st.em34_3_reference == 1) lead = s;
  Sketch k;
  k.name = L"EM34-3";
  k.shapes = {line(0, lead, 0, lead - s), coil(0, lead, 0.32), coil(0, lead - s, 0.32)};
  return k;
}

Sketch em61_mk2_sketch(const Settings& st) {
  struct Size { double width, length; };
  static constexpr Size kSizes[] = {{1.0, 0.5}, {0.5, 1.0}, {1.0, 1.0}, {0.5, 0.5}};
  Sketch k;
  k.name = L"EM61-MK2";
  if (st.sensor_size >= 0 && st.sensor_size < 4) {
    const Size size = kSizes[st.sensor_size];
    k.shapes = {box(0, 0, size.width, size.length)};
  } else {
    k.shapes = {coil(0, 0, 0.1), line(0, -0.1, 0, -0.6)};  // hand held
  }
  return k;
}

Sketch em61_lx2_sketch(const Settings& st) {
  Sketch k;
  k.name = L"EM61-LX2";
  if (st.number_of_sensors == 1)
    k.shapes = {box(-0.5, 0, 1.0, 0.5), box(0.5, 0, 1.0, 0.5)};
  else
    k.shapes = {box(0, 0, 1.0, 0.5)};
  return k;
}

Sketch grad601_sketch(const Settings& st) {
  Sketch k;
  k.name = L"Grad601";
  if (st.number_of_sensors == 1) {
    const double half = std::max(st.sensor_separation, 0.1) / 2;
    k.shapes = {line(-half, 0, half, 0), coil(-half, 0, 0.05), coil(half, 0, 0.05)};
  } else {
    k.shapes = {coil(0, 0, 0.05)};
  }
  return k;
}

Sketch instrument_sketch(const Settings& st, int type) {
  switch (type) {
    case kEm31Mk2: return em31_sketch();
    case kEm34_3: return em34_sketch(st);
    case kCs21: return cs21_sketch();
    case kGrad601: return grad601_sketch(st);
    case kEm61Lx2: return em61_lx2_sketch(st);
    case kEm61Mk2: return em61_mk2_sketch(st);
    case kEm38_4: return boom(1.0, 0.06, L"EM38-4");
    case kEm38Mk2: return boom(1.0, 0.06, L"EM38-MK2");
    default: return boom(1.0, 0.06, L"EM38");
  }
}

// Metres to pixels: the bounds of the shapes and the antenna, at least 2 m
// each way, fitted into the box with the same scale on both axes.
struct Frame {
  double scale = 1;
  double mid_x = 0, mid_y = 0;
  int centre_x = 0, centre_y = 0;
  POINT at(double x, double y) const {
    return {centre_x + static_cast<LONG>(std::lround((x - mid_x) * scale)),
            centre_y - static_cast<LONG>(std::lround((y - mid_y) * scale))};
  }
};

// Offsets beyond 1 km are drawn at 1 km: a damaged file must not overflow
// the pixel arithmetic.
double clamp_offset(double v) {
  if (!std::isfinite(v)) return 0;
  return std::clamp(v, -1000.0, 1000.0);
}

Frame fit(const Sketch& k, double ax, double ay, const RECT& box) {
  double x0 = std::min(0.0, ax), x1 = std::max(0.0, ax);
  double y0 = std::min(0.0, ay), y1 = std::max(0.0, ay);
  for (const Shape& s : k.shapes) {
    x0 = std::min({x0, s.x0, s.x1});
    x1 = std::max({x1, s.x0, s.x1});
    y0 = std::min({y0, s.y0, s.y1});
    y1 = std::max({y1, s.y0, s.y1});
  }
  const double w = std::max(x1 - x0, kMinimumExtent), h = std::max(y1 - y0, kMinimumExtent);
  Frame f;
  f.scale = std::min((box.right - box.left) / w, (box.bottom - box.top) / h);
  f.mid_x = (x0 + x1) / 2;
  f.mid_y = (y0 + y1) / 2;
  f.centre_x = (box.left + box.right) / 2;
  f.centre_y = (box.top + box.bottom) / 2;
  return f;
}

void draw_shape(HDC dc, const Frame& f, const Shape& s) {
  const POINT a = f.at(s.x0, s.y1), b = f.at(s.x1, s.y0);
  switch (s.kind) {
    case ShapeKind::kBox: Rectangle(dc, a.x, a.y, std::max(b.x, a.x + 2), std::max(b.y, a.y + 2)); break;
    case ShapeKind::kCoil: Ellipse(dc, a.x, a.y, std::max(b.x, a.x + 6), std::max(b.y, a.y + 6)); break;
    case ShapeKind::kLine: {
      const POINT p = f.at(s.x0, s.y0), q = f.at(s.x1, s.y1);
      MoveToEx(dc, p.x, p.y, nullptr);
      LineTo(dc, q.x, q.y);
      break;
    }
  }
}

void draw_instrument(HDC dc, const Frame& f, const Sketch& k) {
  HPEN body = CreatePen(PS_SOLID, 2, kBodyColour);
  HBRUSH fill = CreateSolidBrush(RGB(0xE8, 0xE0, 0xC8));
  HBRUSH coil_fill = CreateSolidBrush(kCoilColour);
  HGDIOBJ old_pen = SelectObject(dc, body);
  HGDIOBJ old_brush = SelectObject(dc, fill);
  for (const Shape& s : k.shapes) {
    SelectObject(dc, s.kind == ShapeKind::kCoil ? coil_fill : fill);
    draw_shape(dc, f, s);
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(coil_fill);
  DeleteObject(fill);
  DeleteObject(body);
}

// Dotted legs from the sensor's reference point across, then along, to the
// antenna; the antenna as a red ring with a cross and "GPS".
void draw_antenna(HDC dc, const Frame& f, double ax, double ay) {
  HPEN dotted = CreatePen(PS_DOT, 1, kOffsetColour);
  HPEN red = CreatePen(PS_SOLID, 2, kAntennaColour);
  HGDIOBJ old_pen = SelectObject(dc, dotted);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  const POINT origin = f.at(0, 0), corner = f.at(ax, 0), antenna = f.at(ax, ay);
  MoveToEx(dc, origin.x, origin.y, nullptr);
  LineTo(dc, corner.x, corner.y);
  LineTo(dc, antenna.x, antenna.y);
  SelectObject(dc, red);
  Ellipse(dc, antenna.x - 7, antenna.y - 7, antenna.x + 8, antenna.y + 8);
  MoveToEx(dc, antenna.x - 11, antenna.y, nullptr);
  LineTo(dc, antenna.x + 12, antenna.y);
  MoveToEx(dc, antenna.x, antenna.y - 11, nullptr);
  LineTo(dc, antenna.x, antenna.y + 12);
  // The label on the side away from the sensor.
  SetTextColor(dc, kAntennaColour);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"GPS", 3, &size);
  const int label_x = ax < 0 ? antenna.x - 12 - size.cx : antenna.x + 12;
  ExtTextOutW(dc, label_x, antenna.y - 10 - size.cy, 0, nullptr, L"GPS", 3, nullptr);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(red);
  DeleteObject(dotted);
}

// An arrow up the left side of the box: the direction of travel.
void draw_travel_arrow(HDC dc, const RECT& box) {
  HPEN pen = CreatePen(PS_SOLID, 2, kBodyColour);
  HGDIOBJ old = SelectObject(dc, pen);
  const int x = box.left + 4, top = box.top + 4, bottom = top + 50;
  MoveToEx(dc, x, bottom, nullptr);
  LineTo(dc, x, top);
  LineTo(dc, x - 5, top + 9);
  MoveToEx(dc, x, top, nullptr);
  LineTo(dc, x + 6, top + 9);
  SelectObject(dc, old);
  DeleteObject(pen);
  SetTextColor(dc, kBodyColour);
  ExtTextOutW(dc, x + 8, top + 18, 0, nullptr, L"Travel", 6, nullptr);
}

int centred_text(HDC dc, const RECT& area, int y, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ExtTextOutW(dc, (area.left + area.right - size.cx) / 2, y, 0, nullptr, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  return y + size.cy + 4;
}

}  // namespace

void paint_geometry_sketch(HDC dc, const RECT& area) {
  if (area.right - area.left < kMinimumSide || area.bottom - area.top < kMinimumSide) return;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, RGB(0x10, 0x30, 0x70));
  HGDIOBJ old_font = SelectObject(dc, g_fonts[kHeadingFont]);
  int y = centred_text(dc, area, area.top, L"Geometry Setup");
  const Sketch k = instrument_sketch(g_settings, g_variant.instrument_type);
  SelectObject(dc, g_fonts[kTextFont]);
  SetTextColor(dc, kBodyColour);
  y = centred_text(dc, area, y, k.name);
  const RECT box{area.left + 40, y + 16, area.right - 40, area.bottom - 16};
  if (box.right - box.left >= kMinimumSide / 2 && box.bottom - box.top >= kMinimumSide / 2) {
    const double ax = clamp_offset(g_settings.gps_x_offset);
    const double ay = clamp_offset(g_settings.gps_y_offset);
    const Frame f = fit(k, ax, ay, box);
    draw_travel_arrow(dc, RECT{area.left, box.top, area.right, box.bottom});
    draw_instrument(dc, f, k);
    draw_antenna(dc, f, ax, ay);
  }
  SelectObject(dc, old_font);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

}  // namespace quelor
