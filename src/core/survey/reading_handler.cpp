#include "survey/reading_handler.h"

#include <cstdio>

#include "survey/colour_class.h"
#include "survey/logged_reading.h"
#include "variant/variant.h"

namespace quelor {

namespace {

// First value: conductivity slot 0/1 (EM34-3: its slot); second: in-phase 2/3.
void take_values(int type, ReadingOutcome& o) {
  const ChannelSlots& s = o.decoded.slots;
  if (type == kEm34_3) {
    const int slot = o.decoded.dipole_code;
    if (slot >= 0 && slot < 8) o.first_value = s.value[static_cast<std::size_t>(slot)];
    return;
  }
  o.first_value = s.present[0] ? s.value[0] : s.value[1];
  o.has_second_value = s.present[2] || s.present[3];
  o.second_value = s.present[2] ? s.value[2] : s.value[3];
}

void store_colour_step(SurveyRecord& survey, const ReadingContext& c, ReadingOutcome& o) {
  ColourIndexBuffer& b = survey.colour_index;
  if (!b.filling || c.selected_channel < 1 || c.selected_channel > 2) return;
  const double v = c.selected_channel == 1 ? o.first_value : o.second_value;
  o.colour_step = colour_step(v, c.colour_minimum, c.colour_class_width);
  segment_push(b, *o.colour_step);
}

void log_reading(SurveyRecord& survey, const ReadingContext& c, std::span<const std::uint8_t> record,
                 ReadingOutcome& o) {
  store_colour_step(survey, c, o);
  o.record.assign(reinterpret_cast<const char*>(record.data()), record.size());
  if (o.record.size() < kEm31RecordWidth) o.record.resize(kEm31RecordWidth, ' ');
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

Em31Reading decode_t_record(int type, std::span<const std::uint8_t> record, const Em31Options& options) {
  if (type == kEm38) return decode_em38(record, options);
  if (type == kEm34_3) return decode_em34_3(record, options);
  return decode_em31_mk2(record, options);
}

ReadingOutcome handle_t_reading(SurveyRecord& survey, const ReadingContext& c, std::span<const std::uint8_t> record,
                                std::uint32_t tick) {
  Em31Options options = c.options;
  options.manual_mode = survey.survey_mode == kModeManual;
  ReadingOutcome o;
  o.tick = tick;
  o.decoded = decode_t_record(c.instrument_type, record, options);
  take_values(c.instrument_type, o);
  survey.write_enable = next_write_enable(survey.write_enable, o.decoded.marker, survey.survey_mode);
  if (survey.state == kStateLogging) {
    // Readings of this period since the last written record, this one included.
    ++survey.readings_since_last_record;
    const bool grouped = c.station_group && c.instrument_type == kEm34_3 && survey.survey_mode == kModeManual;
    const std::string_view text(reinterpret_cast<const char*>(record.data()), record.size());
    Em34StationGroup* group = grouped ? c.station_group : nullptr;
    if (group && group->sampling.active) {
      o.sampling = true;
      const std::optional<bool> done = add_em34_sample(*group, text, o.first_value);
      o.held = done.has_value();
      o.group_full = done.value_or(false);
      o.reading_count_text = done ? station_group_count_text(*group) : sampling_text(*group);
    } else if (survey.write_enable == 1 && group && c.samples_per_reading > 0 && !group->full()) {
      start_em34_sampling(*group, o.decoded, text, tick, c.samples_per_reading);
      o.sampling = true;
      o.reading_count_text = sampling_text(*group);
    } else if (survey.write_enable == 1 && group) {
      o.held = true;
      o.group_full = hold_em34_reading(*group, o.decoded, o.first_value, text, tick);
      o.reading_count_text = station_group_count_text(*group);
    } else if (survey.write_enable == 1) {
      log_reading(survey, c, record, o);
    }
  }
  o.redraw_bars = c.instrument_type != kEm31Mk2 || !o.decoded.flag_b;
  o.marker_shown = o.decoded.marker && survey.survey_mode != kModeManual;
  return o;
}

}  // namespace quelor
