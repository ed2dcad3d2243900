#pragma once
// The colour map's palette: 50 colour classes from blue through cyan, green,
// yellow and red to magenta, and white as entry 50.

#include <array>
#include <cstdint>

namespace quelor {

struct PaletteColour {
  std::uint8_t red, green, blue;
  friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

inline constexpr int kPaletteSize = 51;
inline constexpr int kPaletteWhite = 50;

const std::array<PaletteColour, kPaletteSize>& colour_palette();

// The palette entry of a colour class; classes outside 0..49 give white.
PaletteColour palette_colour(int colour_class);

// The pen of a class as the map draws it: the class clamped to 0..49.
PaletteColour class_pen_colour(int colour_class);

// A Windows COLORREF (0x00BBGGRR) as a colour.
PaletteColour colour_from_colorref(std::uint32_t colorref);

inline constexpr PaletteColour kWhite{255, 255, 255};
inline constexpr PaletteColour kGridGrey{192, 192, 192};

}  // namespace quelor
