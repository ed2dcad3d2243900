#pragma once
// Colour classes of the colour map: 50 classes between the lower and upper
// scale limits, indexing a palette of 51 entries whose last entry is white.

namespace quelor {

inline constexpr int kColourClasses = 49;  // highest class index
inline constexpr int kColourClassCount = 50;

// trunc((value - minimum) / ((maximum - minimum) / 50)) clamped to 0..49.
// An empty or reversed range, and a value that is not a number, give 0.
int colour_class(double value, double minimum, double maximum);

// Colour step of a value with a given class width, clamped to 0..49.
int colour_step(double value, double minimum, double class_width);

}  // namespace quelor
