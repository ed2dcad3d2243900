#include "shell/geometry_sketch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/instrument_defaults.h"
#include "variant/variant.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};

Settings defaults(InstrumentType type) { return initial_settings({type, 1}); }

bool inside(const PixelPoint& p, const PixelBox& b) {
  return p.x >= b.left && p.x <= b.right && p.y >= b.top && p.y <= b.bottom;
}

// The centre of the coil (a shape of kind kCoil) number `n`.
std::pair<double, double> coil_centre(const GeometrySketch& k, int n) {
  for (const SketchShape& s : k.shapes)
    if (s.kind == SketchShapeKind::kCoil && n-- == 0) return {(s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2};
  ADD_FAILURE() << "no coil " << n;
  return {0, 0};
}

TEST(GeometrySketch, NamesByFamily) {
  const std::pair<InstrumentType, std::string_view> names[] = {
      {kEm31Mk2, "EM31-MK2"}, {kEm38, "EM38"},        {kEm34_3, "EM34-3"},
      {kEm38Mk2, "EM38-MK2"}, {kEm38_4, "EM38-4"},    {kCs21, "DualEM CS-21"},
      {kGrad601, "Grad601"},  {kEm61Lx2, "EM61-LX2"}, {kEm61Mk2, "EM61-MK2"}};
  for (const auto& [type, name] : names) {
    const GeometrySketch k = geometry_sketch(defaults(type), type);
    EXPECT_EQ(k.name, name);
    EXPECT_FALSE(k.shapes.empty()) << name;
  }
}

// Every shape corner and the antenna land inside the box, for offsets on
// every side and boxes of both orientations.
TEST(GeometrySketch, EverythingFitsTheBox) {
  const PixelBox boxes[] = {{300, 200, 780, 740}, {420, 260, 600, 500}, {0, 0, 60, 400}, {10, 10, 900, 60}};
  const double offsets[][2] = {{0, 0}, {-0.3, 0}, {2.5, -1.5}, {-12, 40}, {0.05, 300}};
  for (InstrumentType type : kTypes)
    for (const PixelBox& box : boxes)
      for (const auto& o : offsets) {
        Settings s = defaults(type);
        s.gps_x_offset = o[0];
        s.gps_y_offset = o[1];
        const GeometrySketch k = geometry_sketch(s, type);
        const SketchFrame f = fit_sketch(k, box);
        EXPECT_TRUE(inside(f.at(k.antenna_x, k.antenna_y), box)) << type << " " << o[0] << "," << o[1];
        for (const SketchShape& sh : k.shapes) {
          EXPECT_TRUE(inside(f.at(sh.x0, sh.y0), box)) << type;
          EXPECT_TRUE(inside(f.at(sh.x1, sh.y1), box)) << type;
        }
      }
}

TEST(GeometrySketch, OneScaleOnBothAxesAndForwardIsUp) {
  Settings s = defaults(kEm31Mk2);
  const GeometrySketch k = geometry_sketch(s, kEm31Mk2);
  const SketchFrame f = fit_sketch(k, {0, 0, 400, 300});
  const PixelPoint o = f.at(0, 0), right = f.at(1, 0), ahead = f.at(0, 1);
  EXPECT_NEAR(right.x - o.x, o.y - ahead.y, 1);
  EXPECT_GT(right.x, o.x);
  EXPECT_LT(ahead.y, o.y);
  // The 3.66 m boom is the tallest thing: it spans the box height.
  EXPECT_NEAR(f.scale, 300 / (3.66 + 0.3), 1e-9);
}

TEST(GeometrySketch, SmallInstrumentsShowAtLeastTwoMetres) {
  for (InstrumentType type : {kGrad601, kEm38}) {
    Settings s = defaults(type);
    s.number_of_sensors = 0;
    s.gps_x_offset = s.gps_y_offset = 0;
    const SketchFrame f = fit_sketch(geometry_sketch(s, type), {0, 0, 200, 400});
    EXPECT_DOUBLE_EQ(f.scale, 100.0) << type;
  }
}

TEST(GeometrySketch, Em34CoilsAroundTheReferencePoint) {
  struct Case {
    int reference, mode, dipole;
    double lead, trail;
  };
  const Case cases[] = {
      {0, 0, 0, 0, -10}, {1, 0, 0, 10, 0},   {2, 0, 0, 5, -5}, {0, 0, 1, 0, -20},
      {0, 0, 5, 0, -40}, {2, 0, 4, 10, -10}, {1, 2, 5, 10, 0}, {2, 1, 2, 5, -5},
  };
  for (const Case& c : cases) {
    Settings s = defaults(kEm34_3);
    s.em34_3_reference = c.reference;
    s.survey_mode = c.mode;
    s.dipole_mode = c.dipole;
    const GeometrySketch k = geometry_sketch(s, kEm34_3);
    EXPECT_DOUBLE_EQ(coil_centre(k, 0).second, c.lead) << c.reference << c.mode << c.dipole;
    EXPECT_DOUBLE_EQ(coil_centre(k, 1).second, c.trail) << c.reference << c.mode << c.dipole;
  }
  Settings s = defaults(kEm34_3);
  s.dipole_mode = -1;
  EXPECT_EQ(em34_sketch_spacing(s), 10);
}

TEST(GeometrySketch, Em61Mk2CoilBySensorSize) {
  const double sizes[][2] = {{1.0, 0.5}, {0.5, 1.0}, {1.0, 1.0}, {0.5, 0.5}};
  for (int size = 0; size < 4; ++size) {
    Settings s = defaults(kEm61Mk2);
    s.sensor_size = size;
    const GeometrySketch k = geometry_sketch(s, kEm61Mk2);
    ASSERT_EQ(k.shapes.size(), 1u);
    EXPECT_EQ(k.shapes[0].kind, SketchShapeKind::kBox);
    EXPECT_DOUBLE_EQ(k.shapes[0].x1 - k.shapes[0].x0, sizes[size][0]);
    EXPECT_DOUBLE_EQ(k.shapes[0].y1 - k.shapes[0].y0, sizes[size][1]);
  }
  for (int size : {4, -1, 99}) {
    Settings s = defaults(kEm61Mk2);
    s.sensor_size = size;
    EXPECT_EQ(geometry_sketch(s, kEm61Mk2).shapes[0].kind, SketchShapeKind::kCoil) << size;
  }
}

TEST(GeometrySketch, SensorsSideBySide) {
  Settings s = defaults(kGrad601);
  s.number_of_sensors = 1;
  s.sensor_separation = 1.5;
  GeometrySketch k = geometry_sketch(s, kGrad601);
  EXPECT_DOUBLE_EQ(coil_centre(k, 0).first, -0.75);
  EXPECT_DOUBLE_EQ(coil_centre(k, 1).first, 0.75);
  s.number_of_sensors = 0;
  k = geometry_sketch(s, kGrad601);
  EXPECT_DOUBLE_EQ(coil_centre(k, 0).first, 0.0);

  Settings lx = defaults(kEm61Lx2);
  lx.number_of_sensors = 1;
  EXPECT_EQ(geometry_sketch(lx, kEm61Lx2).shapes.size(), 2u);
  lx.number_of_sensors = 0;
  EXPECT_EQ(geometry_sketch(lx, kEm61Lx2).shapes.size(), 1u);
}

TEST(GeometrySketch, DamagedOffsetsAreHeldAtTheLimit) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double cases[][4] = {{nan, 0, 0, 0}, {inf, -inf, 0, 0}, {1e300, -1e300, 1000, -1000}, {-999.5, 12, -999.5, 12}};
  for (const auto& c : cases) {
    Settings s = defaults(kEm38);
    s.gps_x_offset = c[0];
    s.gps_y_offset = c[1];
    const GeometrySketch k = geometry_sketch(s, kEm38);
    EXPECT_DOUBLE_EQ(k.antenna_x, c[2]);
    EXPECT_DOUBLE_EQ(k.antenna_y, c[3]);
    const PixelBox box{0, 0, 300, 300};
    EXPECT_TRUE(inside(fit_sketch(k, box).at(k.antenna_x, k.antenna_y), box));
  }
  Settings g = defaults(kGrad601);
  g.number_of_sensors = 1;
  g.sensor_separation = nan;
  const GeometrySketch k = geometry_sketch(g, kGrad601);
  EXPECT_DOUBLE_EQ(coil_centre(k, 1).first, 0.5);
}

TEST(GeometrySketch, EmptyBoxGivesNoNegativeScale) {
  const GeometrySketch k = geometry_sketch(defaults(kEm38), kEm38);
  EXPECT_GE(fit_sketch(k, {100, 100, 50, 50}).scale, 0.0);
}

}  // namespace
}  // namespace quelor
