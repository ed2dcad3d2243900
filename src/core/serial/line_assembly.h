#pragma once
// Line assembly of the text readers (Grad601, DualEM CS-21, tilt meter): a
// "$" always starts the line over at position 0; any other byte goes to the
// next position, or to position 0 again once the line reached the reader's
// wrap length; a line feed ends the line.

#include <array>
#include <cstdint>

namespace quelor {

struct LineAssembly {
  std::array<std::uint8_t, 200> line{};
  int n = -1;  // position of the last byte stored; -1 before a line's first byte
};

// Stores `byte`. When it is the line feed: the line's length, line feed
// included (the next byte starts a new line); else 0. `wrap_at` is at most
// the size of `line`.
int assemble_line_byte(LineAssembly& assembly, std::uint8_t byte, int wrap_at);

}  // namespace quelor
