#include "app/map/colour_bar_win.h"

#include <array>

#include "app/app_state.h"
#include "map/colour_bar.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "survey/start_plan.h"

namespace quelor {

namespace {

// The brush of each colour class, made once.
HBRUSH class_brush(int colour_class) {
  static const std::array<UniqueBrush, kColourBarBoxes> brushes = [] {
    std::array<UniqueBrush, kColourBarBoxes> b{};
    for (int i = 0; i < kColourBarBoxes; ++i) {
      const PaletteColour c = class_pen_colour(i);
      b[static_cast<std::size_t>(i)].reset(CreateSolidBrush(RGB(c.red, c.green, c.blue)));
    }
    return b;
  }();
  return brushes[static_cast<std::size_t>(colour_class < 0 ? 0 : colour_class % kColourBarBoxes)].get();
}

}  // namespace

void paint_colour_bar(HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const InstrumentType type = g_variant.instrument_type;
  const ColourBarLayout l = colour_bar_layout(type, g_settings.profile_scale_1[0], g_settings.profile_scale_1[1],
                                              g_settings.profile_scale_2[0], g_settings.profile_scale_2[1],
                                              colour_map_uses_scale_2(type, g_settings.colour_map_view));
  for (const BarBox& b : l.boxes) {
    RECT r{b.left, b.top, b.right, b.bottom};
    FillRect(dc, &r, class_brush(b.colour_class));
  }
  SelectedObject pen(dc, GetStockObject(BLACK_PEN));
  SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  for (const BarBox& f : l.frames) Rectangle(dc, f.left, f.top, f.right, f.bottom);
  for (const BarTick& t : l.ticks) {
    MoveToEx(dc, t.x0, t.y, nullptr);
    LineTo(dc, t.x1, t.y);
  }
  SelectedObject font(dc, g_fonts[kPlainFont]);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (const auto* texts : {&l.labels, &l.titles})
    for (const BarText& t : *texts) TextOutA(dc, t.x, t.y, t.text.c_str(), static_cast<int>(t.text.size()));
}

}  // namespace quelor
