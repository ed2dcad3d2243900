#include "app/survey_start.h"

namespace quelor {

// Placeholder until the logging window lands: the setup window stays in front.
void start_survey_command(HWND) {}

}  // namespace quelor
