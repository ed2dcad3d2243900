#pragma once
// The readings and speed scales of the settings as the displays accept them.

#include "settings/settings.h"

namespace quelor {

// A readings scale with minimum >= maximum gets maximum = minimum + 100; a
// speed maximum at or below 0 becomes the default 5. True when anything changed.
bool accept_display_scales(Settings& s);

}  // namespace quelor
