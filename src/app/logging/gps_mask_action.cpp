#include "app/logging/gps_mask_action.h"

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/setup_dialogs.h"
#include "gps/gps_settings.h"

namespace quelor {

void gps_mask_action(HWND window, int) {
  if (open_gps_mask_dialog(window) != 1) return;
  logging_session().fix_context.warning = warning_limits_from_settings(g_settings);
  logging_session().fix_context.warning_sound = g_settings.gps_audio_warning != 0;
}

}  // namespace quelor
