#include "survey/reading_handler.h"

#include <cstdio>

#include "survey/colour_class.h"
#include "survey/logged_reading.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

// The station group keeps the orientation, spacing slot and range of a reading.
Em31Reading group_reading(const ReadingMeaning& m) {
  Em31Reading r;
  r.dipole = m.dipole;
  r.dipole_code = m.identity;
  r.range = m.full_scale;
  return r;
}

void store_colour_step(SurveyRecord& survey, ReadingOutcome& o) {
  if (kind_buffer(survey, o.meaning.kind).filling) o.colour_step = o.meaning.entry;
  map_written_reading(survey, o.meaning.kind, o.meaning.entry);
}

void log_reading(SurveyRecord& survey, const ReadingContext& c, ReadingOutcome& o) {
  store_colour_step(survey, o);
  o.readings_since_last = survey.readings_since_last_record;
  o.logged = true;
  const LoggedTexts texts = count_logged_reading(survey, c.now);
  o.station_text = texts.station;
  o.survey_count_text = texts.survey_count;
  o.line_count_text = texts.line_count;
  o.elapsed = texts.elapsed;
}

}  // namespace

int next_write_enable(int write_enable, bool marker, int survey_mode) {
  if (survey_mode != kModeManual) return 1;
  if (!marker) return 0;
  return write_enable == 0 ? 1 : -1;
}

void map_confirmed_station(SurveyRecord& survey, const DecodeContext& decode, const ConfirmedStation& station) {
  DecodeContext d = decode;
  d.manual_mode = true;
  d.manual_em34 = has_trait(d.instrument_type, Trait::kStationReadings);
  for (const ReadingInput& input : station.inputs()) {
    const ReadingMeaning m = interpret_reading(d, written_reading_body(d.instrument_type, input));
    map_written_reading(survey, m.kind, m.entry);
  }
}

std::string padded_t_record(std::span<const std::uint8_t> record) {
  std::string text(reinterpret_cast<const char*>(record.data()), record.size());
  if (text.size() < kEm31RecordWidth) text.resize(kEm31RecordWidth, ' ');
  return text;
}

ReadingOutcome handle_t_reading(SurveyRecord& survey, const ReadingContext& c, const DecodeContext& decode,
                                std::span<const std::uint8_t> record, std::uint32_t tick) {
  DecodeContext d = decode;
  d.manual_mode = survey.survey_mode == kModeManual;
  d.manual_em34 = has_trait(d.instrument_type, Trait::kStationReadings) && d.manual_mode;
  const InstrumentType type = d.instrument_type;
  ReadingOutcome o;
  o.tick = tick;
  o.record = padded_t_record(record);
  o.meaning = interpret_reading(d, o.record);
  const ReadingMeaning& m = o.meaning;
  o.first_value = m.channels[0];
  o.second_value = m.channels[1];
  o.has_second_value = m.channel_count > 1;
  survey.write_enable = next_write_enable(survey.write_enable, m.marker, survey.survey_mode);
  if (survey.state == kStateLogging) {
    // Readings of this period since the last written record, this one included.
    ++survey.readings_since_last_record;
    const bool grouped =
        c.station_group && has_trait(type, Trait::kStationReadings) && survey.survey_mode == kModeManual;
    const std::string_view text(reinterpret_cast<const char*>(record.data()), record.size());
    Em34StationGroup* group = grouped ? c.station_group : nullptr;
    if (group && group->sampling.active) {
      o.sampling = true;
      const std::optional<bool> done = add_em34_sample(*group, text, o.first_value);
      o.held = done.has_value();
      o.group_full = done.value_or(false);
      o.reading_count_text = done ? station_group_count_text(*group) : sampling_text(*group);
    } else if (survey.write_enable == 1 && group && c.samples_per_reading > 0 && !group->full()) {
      start_em34_sampling(*group, group_reading(m), text, tick, c.samples_per_reading);
      o.sampling = true;
      o.reading_count_text = sampling_text(*group);
    } else if (survey.write_enable == 1 && group) {
      o.held = true;
      o.group_full = hold_em34_reading(*group, group_reading(m), o.first_value, text, tick);
      o.reading_count_text = station_group_count_text(*group);
    } else if (survey.write_enable == 1) {
      log_reading(survey, c, o);
    }
  }
  if (!o.logged) o.record.clear();
  o.redraw_bars = type != kEm31Mk2 || !m.flag_b;
  o.marker_shown = m.marker && survey.survey_mode != kModeManual;
  return o;
}

}  // namespace quelor
