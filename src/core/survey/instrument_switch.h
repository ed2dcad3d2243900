#pragma once
// The EM38-MK2's own auto/manual switch. Its records report the switch in
// the mode letter: "N" while it is on Auto, "M" on Manual. On Manual the
// instrument sends one record for each press of its trigger and nothing
// between presses. The survey mode follows the switch record by record, so
// the state label, the writing of readings and GPS sentences, the reader's
// records-per-reading factor and the connection monitor follow it too.

#include <optional>

#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// Whether the instrument's records carry its own auto/manual switch.
bool has_own_mode_switch(InstrumentType instrument_type);

// The survey mode a record with this mode letter puts the survey in, or
// nothing when the instrument has no switch or the mode stays.
std::optional<int> switched_survey_mode(InstrumentType instrument_type, char mode_letter, int survey_mode);

// Follows the switch: the survey mode, the write-enable flag and, while
// Logging, the records-per-reading factor (the configured one in Auto, 1 in
// Manual). True when the survey mode changed.
bool follow_instrument_switch(SurveyRecord& survey, InstrumentType instrument_type, char mode_letter);

}  // namespace quelor
