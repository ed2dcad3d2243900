#include "gps/gps_settings.h"

namespace quelor {

FormatTable format_table_from_settings(const Settings& settings) {
  return make_format_table(settings.gps_sentence, settings.pseudo_gga_variant == 1);
}

GpsReaderConfig gps_reader_config(const Settings& settings) {
  GpsReaderConfig config;
  config.format = format_table_from_settings(settings);
  return config;
}

FixOptions fix_options_from_settings(const Settings& settings, InstrumentType instrument_type) {
  return fix_options(settings.rts_units, instrument_type);
}

}  // namespace quelor
