#pragma once
// Logging command 112 "GPS &Warning Mask": the "GPSMASK" dialog; on OK the
// survey's fix test takes the new limits at once.

#include <windows.h>

namespace quelor {

void gps_mask_action(HWND window, int code);

}  // namespace quelor
