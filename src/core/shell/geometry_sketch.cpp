#include "shell/geometry_sketch.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "variant/variant.h"

namespace quelor {

namespace {

SketchShape box(double cx, double cy, double width, double length) {
  return {SketchShapeKind::kBox, cx - width / 2, cy - length / 2, cx + width / 2, cy + length / 2};
}
SketchShape coil(double cx, double cy, double radius) {
  return {SketchShapeKind::kCoil, cx - radius, cy - radius, cx + radius, cy + radius};
}
SketchShape line(double x0, double y0, double x1, double y1) { return {SketchShapeKind::kLine, x0, y0, x1, y1}; }

// A boom along the direction of travel with a coil at each end.
GeometrySketch boom(double length, double coil_radius, std::string_view name) {
  GeometrySketch k;
  k.name = name;
  k.shapes = {box(0, 0, 0.08, length), coil(0, length / 2, coil_radius), coil(0, -length / 2, coil_radius)};
  return k;
}

GeometrySketch em31_sketch() {
  GeometrySketch k = boom(3.66, 0.15, "EM31-MK2");
  k.shapes.push_back(box(0, 0.1, 0.3, 0.45));  // console
  return k;
}

GeometrySketch cs21_sketch() {
  GeometrySketch k = boom(2.2, 0.06, "DualEM CS-21");
  for (double y : {0.1, -0.1, -0.6}) k.shapes.push_back(coil(0, y, 0.05));
  return k;
}

// The antenna offsets refer to the leading coil, the trailing coil or the
// middle between them.
GeometrySketch em34_sketch(const Settings& s) {
  const double spacing = em34_sketch_spacing(s);
  double lead = spacing / 2;
  if (s.em34_3_reference == 0) lead = 0;
  if (s.em34_3_reference == 1) lead = spacing;
  GeometrySketch k;
  k.name = "EM34-3";
  k.shapes = {line(0, lead, 0, lead - spacing), coil(0, lead, 0.32), coil(0, lead - spacing, 0.32)};
  return k;
}

GeometrySketch em61_mk2_sketch(const Settings& s) {
  struct Size {
    double width, length;
  };
  static constexpr std::array<Size, 4> kSizes{{{1.0, 0.5}, {0.5, 1.0}, {1.0, 1.0}, {0.5, 0.5}}};
  GeometrySketch k;
  k.name = "EM61-MK2";
  if (s.sensor_size >= 0 && s.sensor_size < static_cast<int>(kSizes.size())) {
    const Size size = kSizes[static_cast<std::size_t>(s.sensor_size)];
    k.shapes = {box(0, 0, size.width, size.length)};
  } else {
    k.shapes = {coil(0, 0, 0.1), line(0, -0.1, 0, -0.6)};  // hand held: coil and handle
  }
  return k;
}

GeometrySketch em61_lx2_sketch(const Settings& s) {
  GeometrySketch k;
  k.name = "EM61-LX2";
  if (s.number_of_sensors == 1)
    k.shapes = {box(-0.5, 0, 1.0, 0.5), box(0.5, 0, 1.0, 0.5)};
  else
    k.shapes = {box(0, 0, 1.0, 0.5)};
  return k;
}

GeometrySketch grad601_sketch(const Settings& s) {
  GeometrySketch k;
  k.name = "Grad601";
  if (s.number_of_sensors == 1) {
    const double separation = std::isfinite(s.sensor_separation) ? s.sensor_separation : 1.0;
    const double half = std::clamp(separation, 0.1, 10.0) / 2;
    k.shapes = {line(-half, 0, half, 0), coil(-half, 0, 0.05), coil(half, 0, 0.05)};
  } else {
    k.shapes = {coil(0, 0, 0.05)};
  }
  return k;
}

GeometrySketch instrument_sketch(const Settings& s, InstrumentType type) {
  switch (type) {
    case kEm31Mk2: return em31_sketch();
    case kEm34_3: return em34_sketch(s);
    case kCs21: return cs21_sketch();
    case kGrad601: return grad601_sketch(s);
    case kEm61Lx2: return em61_lx2_sketch(s);
    case kEm61Mk2: return em61_mk2_sketch(s);
    case kEm38_4: return boom(1.0, 0.06, "EM38-4");
    case kEm38Mk2: return boom(1.0, 0.06, "EM38-MK2");
    default: return boom(1.0, 0.06, "EM38");
  }
}

double clamp_offset(double v) {
  if (!std::isfinite(v)) return 0;
  return std::clamp(v, -kSketchOffsetLimit, kSketchOffsetLimit);
}

}  // namespace

int em34_sketch_spacing(const Settings& s) {
  if (s.survey_mode != 0 || s.dipole_mode < 0) return 10;
  static constexpr std::array<int, 3> kSpacings{10, 20, 40};
  return kSpacings[static_cast<std::size_t>(s.dipole_mode % 3)];
}

GeometrySketch geometry_sketch(const Settings& s, InstrumentType instrument_type) {
  GeometrySketch k = instrument_sketch(s, instrument_type);
  k.antenna_x = clamp_offset(s.gps_x_offset);
  k.antenna_y = clamp_offset(s.gps_y_offset);
  return k;
}

PixelPoint SketchFrame::at(double x, double y) const {
  return {centre_x + std::lround((x - mid_x) * scale), centre_y - std::lround((y - mid_y) * scale)};
}

SketchFrame fit_sketch(const GeometrySketch& k, const PixelBox& box) {
  double x0 = std::min(0.0, k.antenna_x), x1 = std::max(0.0, k.antenna_x);
  double y0 = std::min(0.0, k.antenna_y), y1 = std::max(0.0, k.antenna_y);
  for (const SketchShape& s : k.shapes) {
    x0 = std::min({x0, s.x0, s.x1});
    x1 = std::max({x1, s.x0, s.x1});
    y0 = std::min({y0, s.y0, s.y1});
    y1 = std::max({y1, s.y0, s.y1});
  }
  const double w = std::max(x1 - x0, kSketchMinimumExtent);
  const double h = std::max(y1 - y0, kSketchMinimumExtent);
  SketchFrame f;
  f.scale = std::max(0.0, std::min((box.right - box.left) / w, (box.bottom - box.top) / h));
  f.mid_x = (x0 + x1) / 2;
  f.mid_y = (y0 + y1) / 2;
  f.centre_x = (box.left + box.right) / 2;
  f.centre_y = (box.top + box.bottom) / 2;
  return f;
}

}  // namespace quelor
