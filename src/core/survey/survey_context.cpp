#include "survey/survey_context.h"

#include <algorithm>

#include "procedures/normalisation.h"
#include "settings/settings_derived.h"
#include "survey/start_plan.h"
#include "setup/em61_start_mode.h"
#include "variant/instrument.h"

namespace quelor {

CommandContext command_context_from_settings(const Settings& s, const Variant& v, std::uint32_t now) {
  CommandContext c;
  c.instrument_type = v.instrument_type;
  c.instrument_used = s.instrument_state >= 1;
  c.gps_used = s.gps_enabled == 1;
  c.tilt_used = c.instrument_used && has_trait(v.instrument_type, Trait::kTiltMeter) && s.tilt_meter == 1;
  c.readings_per_station = derive_settings(s, v).readings_per_station;
  // The polled EM61-MK2 reads at the rate set, logging or not; Stand By
  // keeps the period the survey started with.
  c.em61_polled = em61_polled_mode(s, v.instrument_type);
  c.logging_poll_ms = em61_polling_interval_ms(s);
  c.stand_by_poll_ms = timer_period_ms(v.instrument_type, c.em61_polled, c.logging_poll_ms);
  c.now = now;
  return c;
}

MonitorInput monitor_input_from_settings(const Settings& s, InstrumentType instrument_type, std::uint32_t now,
                                         std::uint32_t last_record_tick) {
  MonitorInput in;
  in.instrument_type = instrument_type;
  in.now = now;
  in.last_record_tick = last_record_tick;
  in.audio_alarm = s.disconnection_alarm != 0;
  return in;
}

ReadingContext reading_context_from_settings(const Settings& s, std::uint32_t now) {
  ReadingContext c;
  c.now = now;
  c.samples_per_reading = std::clamp(s.manual_reading_count, 1, 999);
  return c;
}

HeaderFields survey_header_fields(const Settings& s, InstrumentType instrument_type, const SurveyRecord& survey) {
  HeaderFields f = header_fields_from_settings(s, instrument_type);
  f.file_name = survey.file_name;
  f.reference_easting = survey.reference_easting;
  f.reference_northing = survey.reference_northing;
  f.reference_zone = survey.reference_zone;
  f.polled_reading_mode = em61_polled_mode(s, instrument_type) ? 1 : 0;
  f.em61_normalisation = normalisation_size(s, instrument_type) > 0;
  return f;
}

}  // namespace quelor
