// Program entry (placeholder shell until the window classes land).
#include <windows.h>

#include <string>

#include "app/variant_constants.h"

#ifndef QUELOR_NO_WINMAIN
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  quelor::Variant v = program_variant();
  if (!quelor::is_valid_variant(v)) return 16;
  return 0;
}
#endif
