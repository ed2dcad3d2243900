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

// EM38-4 calibration state as the status panel shows it: 0 off, 1 on,
// 2 calibration and offset on.
const char* em38_4_calibration_text(int state);

}  // namespace quelor
