#include "survey/instrument_handler.h"

#include <cstdio>
#include <string_view>

#include "map/segment_buffer.h"
#include "serial/decode_em61.h"
#include "survey/instrument_switch.h"
#include "survey/reading_handler.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

std::string formatted(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// The instrument bytes as the data file receives them: the EM61 decoders put
// the mean current of the ring into the record (the EM61-MK2 keeps its own
// current at 13-15); the others are written as received.
RecordBytes file_bytes(InstrumentSurveyState& s, const DecodeContext& c, const RecordBytes& received) {
  RecordBytes r = received;
  const std::array<double, 4> no_nulls{};
  if (c.instrument_type == kEm61Mk2) decode_em61_mk2(r, em61_options(c), s.current_ring, no_nulls);
  if (c.instrument_type == kEm61Lx2) decode_em61_lx2(r, c.two_sensors, no_nulls);
  return r;
}

void log_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state, const InstrumentContext& c,
                            InstrumentType type, InstrumentOutcome& o) {
  o.segment_entry = o.meaning.entry;
  map_written_reading(survey, 0, o.segment_entry);
  o.logged = true;
  o.texts = count_logged_reading(survey, c.now);
  if (type == kGrad601) {
    ++state.grad_logged;
    o.result_sound = c.audio_ticks && state.grad_logged % 4 == 0;
  }
}

}  // namespace

InstrumentOutcome handle_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state,
                                            const InstrumentContext& c, const DecodeContext& decode,
                                            const RecordBytes& received, std::uint32_t tick) {
  InstrumentOutcome o;
  o.tick = tick;
  const InstrumentType type = decode.instrument_type;
  const bool em61 = is_em61(type);
  const double battery = em61 && received.length > 12 ? received.bytes[12] / 10.0 : 0.0;
  const RecordBytes bytes = file_bytes(state, decode, received);
  o.record.assign(reinterpret_cast<const char*>(bytes.bytes.data()), bytes.length);
  const std::string body = written_reading_body(type, o.reading_input());
  o.meaning = interpret_reading(decode, body);
  const ReadingMeaning& m = o.meaning;
  o.channels = m.channels;
  o.channel_count = m.channel_count;
  o.trace_identity = m.identity;  // a procedure's readings may be drawn too
  if (offer_to_procedure(c.procedure, {type, received.view(), tick, m.channels, m.channel_count, body})) {
    o.to_procedure = true;
    return o;
  }
  o.dipole = m.dipole;
  o.mode = m.mode;
  o.marker = m.marker;
  if (em61) {
    o.battery_text = formatted("%4.1f V", battery);
    o.current_text = formatted("%4.1f A", em61_recorded_current(o.record) / 1000.0);
  }
  o.mode_switched = follow_instrument_switch(survey, type, m.mode);
  // Switched to Manual, the EM38-MK2 sends a record only for a press.
  survey.write_enable = has_own_mode_switch(type) && survey.survey_mode == kModeManual
                            ? 1
                            : next_write_enable(survey.write_enable, m.trigger, survey.survey_mode);
  if (survey.state != kStateLogging) return o;
  ++survey.readings_since_last_record;
  if (survey.write_enable != 1) return o;
  if (em61 && !arrived_while_logging(survey, tick)) return o;
  log_instrument_reading(survey, state, c, type, o);
  return o;
}

}  // namespace quelor
