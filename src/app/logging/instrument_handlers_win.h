#pragma once
// The logging window's handlers of the binary and line instruments and of the
// tilt meter: the core handler decides, this side writes, draws and plays.

#include <windows.h>

namespace quelor {

// WM_EM38MK2_READING, WM_EM38_4_READING, WM_EM61_READING, WM_LX2_READING,
// WM_LX2_DUAL_READING, WM_GRAD_READING, WM_CS21_READING.
LRESULT instrument_reading_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// The decode context of the readings from the settings in force: at the
// start of a survey, after a display option, a channel selector, a change of
// survey mode, and when a procedure stores new constants.
void refresh_decode_context();

// The readers' notices (tilt silent, GPS reconnecting, first record after a
// blanked display) reach the window thread as WM_READER_NOTICE: the hooks
// the readers call post it. Installed with the survey's reading window.
inline constexpr UINT WM_READER_NOTICE = WM_APP + 0x32;
void install_reader_notices();
LRESULT reader_notice_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_TILT_READING.
LRESULT tilt_reading_handler(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
