#include "background/label_font.h"

#include <array>

namespace quelor {

namespace {

struct Glyph {
  char c;
  std::array<const char*, kLabelGlyphHeight> rows;
};

// Every printable ASCII character from ' ' to '~', in code order.
// clang-format off
constexpr Glyph kGlyphs[] = {
    {' ', {"...", "...", "...", "...", "..."}},
    {'!', {".X.", ".X.", ".X.", "...", ".X."}},
    {'"', {"X.X", "X.X", "...", "...", "..."}},
    {'#', {"X.X", "XXX", "X.X", "XXX", "X.X"}},
    {'$', {".XX", "XX.", ".X.", ".XX", "XX."}},
    {'%', {"X.X", "..X", ".X.", "X..", "X.X"}},
    {'&', {".X.", "X.X", ".X.", "X.X", ".XX"}},
    {'\'', {".X.", ".X.", "...", "...", "..."}},
    {'(', {"..X", ".X.", ".X.", ".X.", "..X"}},
    {')', {"X..", ".X.", ".X.", ".X.", "X.."}},
    {'*', {"X.X", ".X.", "X.X", "...", "..."}},
    {'+', {"...", ".X.", "XXX", ".X.", "..."}},
    {',', {"...", "...", "...", ".X.", "X.."}},
    {'-', {"...", "...", "XXX", "...", "..."}},
    {'.', {"...", "...", "...", "...", ".X."}},
    {'/', {"..X", "..X", ".X.", "X..", "X.."}},
    {'0', {"XXX", "X.X", "X.X", "X.X", "XXX"}},
    {'1', {".X.", "XX.", ".X.", ".X.", "XXX"}},
    {'2', {"XXX", "..X", "XXX", "X..", "XXX"}},
    {'3', {"XXX", "..X", ".XX", "..X", "XXX"}},
    {'4', {"X.X", "X.X", "XXX", "..X", "..X"}},
    {'5', {"XXX", "X..", "XXX", "..X", "XXX"}},
    {'6', {"XXX", "X..", "XXX", "X.X", "XXX"}},
    {'7', {"XXX", "..X", ".X.", ".X.", ".X."}},
    {'8', {"XXX", "X.X", "XXX", "X.X", "XXX"}},
    {'9', {"XXX", "X.X", "XXX", "..X", "XXX"}},
    {':', {"...", ".X.", "...", ".X.", "..."}},
    {';', {"...", ".X.", "...", ".X.", "X.."}},
    {'<', {"..X", ".X.", "X..", ".X.", "..X"}},
    {'=', {"...", "XXX", "...", "XXX", "..."}},
    {'>', {"X..", ".X.", "..X", ".X.", "X.."}},
    {'?', {"XXX", "..X", ".X.", "...", ".X."}},
    {'@', {"XXX", "X.X", "X.X", "X..", ".XX"}},
    {'A', {".X.", "X.X", "XXX", "X.X", "X.X"}},
    {'B', {"XX.", "X.X", "XX.", "X.X", "XX."}},
    {'C', {".XX", "X..", "X..", "X..", ".XX"}},
    {'D', {"XX.", "X.X", "X.X", "X.X", "XX."}},
    {'E', {"XXX", "X..", "XX.", "X..", "XXX"}},
    {'F', {"XXX", "X..", "XX.", "X..", "X.."}},
    {'G', {".XX", "X..", "X.X", "X.X", ".XX"}},
    {'H', {"X.X", "X.X", "XXX", "X.X", "X.X"}},
    {'I', {"XXX", ".X.", ".X.", ".X.", "XXX"}},
    {'J', {"..X", "..X", "..X", "X.X", ".X."}},
    {'K', {"X.X", "X.X", "XX.", "X.X", "X.X"}},
    {'L', {"X..", "X..", "X..", "X..", "XXX"}},
    {'M', {"X.X", "XXX", "XXX", "X.X", "X.X"}},
    {'N', {"XX.", "X.X", "X.X", "X.X", "X.X"}},
    {'O', {".X.", "X.X", "X.X", "X.X", ".X."}},
    {'P', {"XX.", "X.X", "XX.", "X..", "X.."}},
    {'Q', {".X.", "X.X", "X.X", "XX.", ".XX"}},
    {'R', {"XX.", "X.X", "XX.", "X.X", "X.X"}},
    {'S', {".XX", "X..", ".X.", "..X", "XX."}},
    {'T', {"XXX", ".X.", ".X.", ".X.", ".X."}},
    {'U', {"X.X", "X.X", "X.X", "X.X", "XXX"}},
    {'V', {"X.X", "X.X", "X.X", "X.X", ".X."}},
    {'W', {"X.X", "X.X", "XXX", "XXX", "X.X"}},
    {'X', {"X.X", "X.X", ".X.", "X.X", "X.X"}},
    {'Y', {"X.X", "X.X", ".X.", ".X.", ".X."}},
    {'Z', {"XXX", "..X", ".X.", "X..", "XXX"}},
    {'[', {"XX.", "X..", "X..", "X..", "XX."}},
    {'\\', {"X..", "X..", ".X.", "..X", "..X"}},
    {']', {".XX", "..X", "..X", "..X", ".XX"}},
    {'^', {".X.", "X.X", "...", "...", "..."}},
    {'_', {"...", "...", "...", "...", "XXX"}},
    {'`', {"X..", ".X.", "...", "...", "..."}},
    {'a', {"...", ".XX", "X.X", "X.X", ".XX"}},
    {'b', {"X..", "XX.", "X.X", "X.X", "XX."}},
    {'c', {"...", ".XX", "X..", "X..", ".XX"}},
    {'d', {"..X", ".XX", "X.X", "X.X", ".XX"}},
    {'e', {"...", ".X.", "XXX", "X..", ".XX"}},
    {'f', {".XX", ".X.", "XXX", ".X.", ".X."}},
    {'g', {"...", ".XX", "X.X", ".XX", "XX."}},
    {'h', {"X..", "XX.", "X.X", "X.X", "X.X"}},
    {'i', {".X.", "...", "XX.", ".X.", "XXX"}},
    {'j', {"..X", "...", "..X", "X.X", ".X."}},
    {'k', {"X..", "X.X", "XX.", "XX.", "X.X"}},
    {'l', {"XX.", ".X.", ".X.", ".X.", "XXX"}},
    {'m', {"...", "XX.", "XXX", "X.X", "X.X"}},
    {'n', {"...", "XX.", "X.X", "X.X", "X.X"}},
    {'o', {"...", ".X.", "X.X", "X.X", ".X."}},
    {'p', {"...", "XX.", "X.X", "XX.", "X.."}},
    {'q', {"...", ".XX", "X.X", ".XX", "..X"}},
    {'r', {"...", "X.X", "XX.", "X..", "X.."}},
    {'s', {"...", ".XX", "XX.", "..X", "XX."}},
    {'t', {".X.", "XXX", ".X.", ".X.", "..X"}},
    {'u', {"...", "X.X", "X.X", "X.X", ".XX"}},
    {'v', {"...", "X.X", "X.X", "X.X", ".X."}},
    {'w', {"...", "X.X", "XXX", "XXX", "X.X"}},
    {'x', {"...", "X.X", ".X.", ".X.", "X.X"}},
    {'y', {"...", "X.X", "X.X", ".XX", "XX."}},
    {'z', {"...", "XXX", ".XX", "XX.", "XXX"}},
    {'{', {".XX", ".X.", "X..", ".X.", ".XX"}},
    {'|', {".X.", ".X.", ".X.", ".X.", ".X."}},
    {'}', {"XX.", ".X.", "..X", ".X.", "XX."}},
    {'~', {"...", "..X", "XXX", "X..", "..."}},
};
// clang-format on

const Glyph& glyph_of(char c) {
  const unsigned char code = static_cast<unsigned char>(c);
  if (code < 0x20 || code > 0x7E) return kGlyphs['?' - 0x20];
  return kGlyphs[code - 0x20];
}

}  // namespace

bool has_label_glyph(char c) { return c >= 0x20 && c <= 0x7E; }

int label_text_width(std::string_view text, int scale) {
  return static_cast<int>(text.size()) * (kLabelGlyphWidth + 1) * scale;
}

int draw_label_text(std::string_view text, int x, int y, int scale, const std::function<void(int, int)>& pixel) {
  int at = x;
  for (char c : text) {
    const Glyph& g = glyph_of(c);
    for (int row = 0; row < kLabelGlyphHeight; ++row)
      for (int col = 0; col < kLabelGlyphWidth; ++col)
        if (g.rows[static_cast<std::size_t>(row)][col] == 'X')
          for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx) pixel(at + col * scale + dx, y + row * scale + dy);
    at += (kLabelGlyphWidth + 1) * scale;
  }
  return at - x;
}

}  // namespace quelor
