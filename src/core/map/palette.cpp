#include "map/palette.h"

namespace quelor {

namespace {

constexpr std::array<PaletteColour, kPaletteSize> kPalette{{
    {32, 0, 255},  {24, 0, 255},    {16, 0, 255},  {8, 0, 255},   {0, 0, 255},   {0, 16, 255},  {0, 64, 255},
    {0, 96, 255},  {0, 111, 255},   {0, 136, 255}, {0, 160, 255}, {0, 192, 255}, {0, 224, 255}, {0, 255, 255},
    {0, 255, 224}, {0, 255, 192},   {0, 255, 160}, {0, 255, 128}, {0, 255, 96},  {0, 255, 32},  {0, 255, 16},
    {0, 255, 8},   {0, 255, 0},     {16, 255, 0},  {32, 255, 0},  {64, 255, 0},  {96, 255, 0},  {128, 255, 0},
    {160, 255, 0}, {224, 255, 0},   {240, 255, 0}, {255, 255, 0}, {255, 242, 0}, {255, 224, 0}, {255, 196, 0},
    {255, 160, 0}, {255, 136, 0},   {255, 110, 0}, {255, 96, 0},  {255, 80, 0},  {255, 64, 0},  {255, 32, 0},
    {255, 0, 0},   {255, 0, 8},     {255, 0, 16},  {255, 0, 32},  {255, 0, 64},  {255, 0, 96},  {255, 0, 128},
    {255, 0, 255}, {255, 255, 255},
}};

}  // namespace

const std::array<PaletteColour, kPaletteSize>& colour_palette() { return kPalette; }

PaletteColour palette_colour(int colour_class) {
  if (colour_class < 0 || colour_class >= kPaletteWhite) return kPalette[kPaletteWhite];
  return kPalette[colour_class];
}

}  // namespace quelor

namespace quelor {

PaletteColour class_pen_colour(int colour_class) {
  return palette_colour(colour_class < 0 ? 0 : colour_class > kPaletteWhite - 1 ? kPaletteWhite - 1 : colour_class);
}

PaletteColour colour_from_colorref(std::uint32_t c) {
  return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
          static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

}  // namespace quelor
