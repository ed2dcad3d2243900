#pragma once
// The geometry sketch of the setup screen as data: the instrument seen from
// above in metres (x to the right of the direction of travel, y forward),
// the GPS antenna at its offsets, and the fit of both into a pixel box.

#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

enum class SketchShapeKind { kBox, kCoil, kLine };

// A box or coil between two corners, or a line between two ends, in metres.
struct SketchShape {
  SketchShapeKind kind;
  double x0, y0, x1, y1;
};

struct GeometrySketch {
  std::vector<SketchShape> shapes;
  std::string_view name;  // "EM31-MK2", "Grad601", ...
  double antenna_x = 0;   // GPS X offset, metres (to the right)
  double antenna_y = 0;   // GPS Y offset, metres (forward)
};

// Offsets beyond 1 km are drawn at 1 km and a non-number at 0, so that a
// damaged settings file cannot overflow the pixel arithmetic.
inline constexpr double kSketchOffsetLimit = 1000.0;
// The sketch always shows at least this many metres each way.
inline constexpr double kSketchMinimumExtent = 2.0;

// One sketch per instrument family: EM31-MK2 boom, EM38 family bar, EM34-3
// coils at their spacing around the reference point, CS-21 tube, EM61 coils
// by sensor size and number of sensors, Grad601 sensors at their separation.
GeometrySketch geometry_sketch(const Settings& s, InstrumentType instrument_type);

// The EM34-3 coil spacing the sketch shows: 10, 20 or 40 m from the dipole
// code in Auto mode, 10 m otherwise.
int em34_sketch_spacing(const Settings& s);

struct PixelPoint {
  long x = 0;
  long y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Metres to pixels with one scale on both axes: the bounds of the shapes and
// the antenna centred in the box, y growing upwards on the screen.
struct SketchFrame {
  double scale = 1;
  double mid_x = 0, mid_y = 0;
  int centre_x = 0, centre_y = 0;
  PixelPoint at(double x, double y) const;
};

SketchFrame fit_sketch(const GeometrySketch& sketch, const PixelBox& box);

}  // namespace quelor
