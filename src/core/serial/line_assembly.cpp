#include "serial/line_assembly.h"

namespace quelor {

int assemble_line_byte(LineAssembly& a, std::uint8_t byte, int wrap_at) {
  if (byte == '$' || ++a.n >= wrap_at) a.n = 0;
  a.line[static_cast<std::size_t>(a.n)] = byte;
  if (byte != '\n') return 0;
  const int length = a.n + 1;
  a.n = -1;
  return length;
}

}  // namespace quelor
