#include "gps/fix.h"

#include <ostream>

namespace quelor {

void print_fix_text(std::wstring_view text, std::ostream* os) {
  *os << "L\"";
  for (wchar_t c : text) {
    if (c >= 32 && c < 127)
      *os << static_cast<char>(c);
    else
      *os << "\\x" << std::hex << static_cast<unsigned>(c) << std::dec;
  }
  *os << '"';
}

}  // namespace quelor
