#pragma once
// The inputs of the handlers and commands taken from the settings record and
// the survey, so that the window side fills them in one call.

#include <cstdint>

#include "datafile/header_records.h"
#include "settings/settings.h"
#include "survey/connection_monitor.h"
#include "survey/logging_commands.h"
#include "survey/reading_handler.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// Instrument, GPS and tilt-meter use, the EM34-3 readings per station, the
// EM61-MK2 polled mode and the timer periods of Logging and Stand By (the
// polling interval and the survey start's period).
CommandContext command_context_from_settings(const Settings& s, const Variant& v, std::uint32_t now);

// The instrument and the disconnection alarm option (the ring).
MonitorInput monitor_input_from_settings(const Settings& s, InstrumentType instrument_type, std::uint32_t now,
                                         std::uint32_t last_record_tick);

// The "T" handler's inputs besides its decode context: the time and the
// EM34-3 station average's sample count (the station group is the caller's).
ReadingContext reading_context_from_settings(const Settings& s, std::uint32_t now);

// The header block of a new file: the settings, the data file name and the
// survey's reference position and zone (header records 4 and 5).
HeaderFields survey_header_fields(const Settings& s, InstrumentType instrument_type, const SurveyRecord& survey);

}  // namespace quelor
