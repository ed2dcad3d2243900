#include "survey/instrument_switch.h"

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

bool has_own_mode_switch(InstrumentType instrument_type) { return has_trait(instrument_type, Trait::kOwnModeSwitch); }

std::optional<int> switched_survey_mode(InstrumentType instrument_type, char mode_letter, int survey_mode) {
  if (!has_own_mode_switch(instrument_type)) return std::nullopt;
  const int wanted = mode_letter == 'M' ? kModeManual : kModeAuto;
  if (wanted == survey_mode) return std::nullopt;
  return wanted;
}

bool follow_instrument_switch(SurveyRecord& survey, InstrumentType instrument_type, char mode_letter) {
  const std::optional<int> mode = switched_survey_mode(instrument_type, mode_letter, survey.survey_mode);
  if (!mode) return false;
  survey.survey_mode = *mode;
  survey.write_enable = 0;
  if (survey.state == kStateLogging)
    survey.records_per_reading = *mode == kModeManual ? 1 : survey.configured_records_per_reading;
  return true;
}

}  // namespace quelor
