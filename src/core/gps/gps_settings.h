#pragma once
// The GPS reader and parser set-up taken from the settings record.

#include "gps/parser.h"
#include "gps/reader.h"
#include "gps/warning.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// `GPS sentence` with the "pseudo-GGA by SLAM RTS" option (`pseudo-GGA variant` 1).
FormatTable format_table_from_settings(const Settings& settings);

// The format table and the default intervals (910 ms, 3000 ms, 500 ms).
GpsReaderConfig gps_reader_config(const Settings& settings);

// `RTS units` and whether the p-GGA SLAM extras are shown (not for EM61-LX2).
FixOptions fix_options_from_settings(const Settings& settings, InstrumentType instrument_type);

// The GPS warning mask of the settings.
inline GpsWarningLimits warning_limits_from_settings(const Settings& settings) {
  return warning_limits(settings.gps_warning_mask);
}

}  // namespace quelor
