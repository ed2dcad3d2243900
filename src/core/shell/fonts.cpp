#include "shell/fonts.h"

#include "variant/variant.h"

namespace quelor {

std::array<FontSpec, kFontCount> font_table(bool large_screen) {
  const int text_height = large_screen ? 16 : 14;
  return {{
      {20, 200, false},           // value
      {28, 600, false},           // large button
      {24, 600, false},           // portrait large button
      {48, 800, false},           // huge
      {text_height, 400, false},  // text
      {14, 600, false},           // small bold
      {text_height, 700, false},  // heading
      {18, 600, false},           // button
      {16, 400, false},           // plain
      {18, 400, true},            // italic
  }};
}

int text_line_height(int char_height, InstrumentType instrument_type, bool portrait, int client_width) {
  if (instrument_type == kEm61Lx2 && portrait && client_width < 640) return char_height - 1;
  return char_height + 2;
}

}  // namespace quelor
