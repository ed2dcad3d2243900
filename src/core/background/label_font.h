#pragma once
// A small bitmap font for point labels drawn by the core's own raster
// (`quelor map`; the program draws them with its map font): 3 x 5 glyphs of
// every printable ASCII character, small letters with their own shapes, each
// pixel drawn as a `scale` x `scale` block, one blank column between
// characters. Other bytes show as "?".

#include <functional>
#include <string_view>

namespace quelor {

inline constexpr int kLabelGlyphWidth = 3;
inline constexpr int kLabelGlyphHeight = 5;

// Calls `pixel` for every set pixel of the text with its top-left at (x, y);
// returns the advance width in pixels.
int draw_label_text(std::string_view text, int x, int y, int scale, const std::function<void(int, int)>& pixel);

// The width in pixels of the text.
int label_text_width(std::string_view text, int scale);

// Whether the font has a glyph of its own for the character.
bool has_label_glyph(char c);

}  // namespace quelor
