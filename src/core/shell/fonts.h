#pragma once
// The program's fonts, created once at start, and the text line metrics
// derived from them.

#include <array>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

inline constexpr std::wstring_view kFontFace = L"Microsoft Sans Serif";

enum FontId : int {
  kValueFont,
  kLargeButtonFont,
  kPortraitLargeButtonFont,
  kHugeFont,
  kTextFont,
  kSmallBoldFont,
  kHeadingFont,
  kButtonFont,
  kPlainFont,
  kItalicFont,
  kFontCount
};

struct FontSpec {
  int height = 0;
  int weight = 0;
  bool italic = false;
};

// Indexed by FontId; the text and heading fonts grow on a large screen.
std::array<FontSpec, kFontCount> font_table(bool large_screen);

// Distance between text rows: character height + 2, except EM61-LX2 on a
// narrow portrait client (below 640), which packs its rows at height - 1.
int text_line_height(int char_height, InstrumentType instrument_type, bool portrait, int client_width);

}  // namespace quelor
