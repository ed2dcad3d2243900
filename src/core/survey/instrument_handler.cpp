#include "survey/instrument_handler.h"

#include <cstdio>
#include <string_view>

#include "map/segment_buffer.h"
#include "serial/decode_lines.h"
#include "survey/colour_class.h"
#include "survey/reading_handler.h"

namespace quelor {

namespace {

std::string formatted(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string_view text_of(const RecordBytes& r) { return r.text(); }

// What a decoder makes of one record before the common steps.
struct Decoded {
  std::array<double, kMaxChannels> channels{};
  int count = 0;
  int identity = 0;
  char dipole = 0;
  char mode = 0;
  bool trigger = false;  // Manual mode: the trigger (marker) of this record
  bool marker_shown = false;
  bool written_by_tick_rule = false;  // EM61: only readings that arrived while logging
  double current = 0.0;               // EM61: mean transmitter current, mA
  RecordBytes record;                 // as the file receives it (EM61: rewritten)
};

void put(Decoded& d, double v) {
  if (d.count < kMaxChannels) d.channels[static_cast<std::size_t>(d.count++)] = v;
}

Decoded decode_em38mk2(const InstrumentContext& c, const RecordBytes& r) {
  const Em38Mk2Reading m = decode_em38_mk2(r.view(), c.em38mk2_offsets, c.em38mk2_single_coil);
  Decoded d;
  const std::size_t base = m.dipole == 'V' ? 0 : 1;
  const int coils = c.em38mk2_single_coil ? 1 : 2;
  for (int coil = 0; coil < coils; ++coil) {
    put(d, m.slots.value[base + 4 * coil]);      // conductivity
    put(d, m.slots.value[base + 2 + 4 * coil]);  // in-phase
  }
  d.identity = m.dipole_code;
  d.dipole = m.dipole;
  d.mode = m.mode;
  d.trigger = m.mode == 'M';
  d.record = r;
  return d;
}

Decoded decode_em38_4_record(const InstrumentContext& c, const RecordBytes& r) {
  const Em38_4Reading m = decode_em38_4(r.view(), c.em38_4_calibration, c.em38_4_raw_inphase);
  Decoded d;
  for (double v : m.slots) put(d, v);  // conductivity, in-phase of each coil pair
  d.identity = m.dipole_code;
  d.dipole = m.dipole;
  const std::uint8_t status = r.length > 1 ? r.bytes[1] : 0;
  const int mode_bits = status & 0x07;  // +8 marker and +16 line bits aside
  d.mode = mode_bits == 2 || mode_bits == 6 ? 'N' : 'M';
  d.trigger = d.mode == 'M';
  d.marker_shown = (status & 0x08) != 0;
  d.record = r;
  return d;
}

void em61_common(Decoded& d, const Em61Reading& e) {
  const char letter = e.letter;
  d.current = e.mean_current;
  d.identity = 0;  // the channels keep their meaning across letters
  d.mode = letter;
  d.marker_shown = em61_marker_letter(letter);
  d.trigger = d.marker_shown;
  d.written_by_tick_rule = true;
}

Decoded decode_em61mk2_record(InstrumentSurveyState& s, const InstrumentContext& c, const RecordBytes& r) {
  Decoded d;
  d.record = r;
  const Em61Reading e = decode_em61_mk2(d.record, c.em61, s.current_ring, c.nulling);
  for (int i = 0; i < 4; ++i) put(d, e.channels[static_cast<std::size_t>(i)]);
  em61_common(d, e);
  return d;
}

// One coil: E, L, F; two coils: E, L, F of the left coil, then of the right.
Decoded decode_lx2_record(InstrumentSurveyState& s, const InstrumentContext& c, const RecordBytes& r) {
  Decoded d;
  d.record = r;
  const Em61Reading e = decode_em61_lx2(d.record, c.two_sensors, s.current_ring, c.nulling);
  const int coils = c.two_sensors ? 2 : 1;
  for (int coil = 0; coil < coils; ++coil) {
    const double early = e.channels[static_cast<std::size_t>(2 * coil)];
    const double late = e.channels[static_cast<std::size_t>(2 * coil + 1)];
    put(d, early);
    put(d, late);
    put(d, early - late * c.lx2_filter_factors[static_cast<std::size_t>(coil)] / 1000.0);
  }
  em61_common(d, e);
  return d;
}

Decoded decode_grad_record(const InstrumentContext& c, const RecordBytes& r) {
  const Grad601Reading g = decode_grad601(text_of(r), c.two_sensors);
  Decoded d;
  for (int i = 0; i < g.count; ++i) put(d, g.values[static_cast<std::size_t>(i)].value_or(0.0));
  d.trigger = true;
  d.record = r;
  return d;
}

Decoded decode_cs21_record(const RecordBytes& r) {
  const Cs21Reading m = decode_cs21(text_of(r));
  Decoded d;
  for (const auto& v : m.values) put(d, v.value_or(0.0));
  d.mode = m.flag;
  d.trigger = true;
  d.record = r;
  return d;
}

Decoded decode_any(InstrumentSurveyState& s, const InstrumentContext& c, const RecordBytes& r) {
  switch (c.instrument_type) {
    case kEm38Mk2: return decode_em38mk2(c, r);
    case kEm38_4: return decode_em38_4_record(c, r);
    case kEm61Mk2: return decode_em61mk2_record(s, c, r);
    case kEm61Lx2: return decode_lx2_record(s, c, r);
    case kGrad601: return decode_grad_record(c, r);
    case kCs21: return decode_cs21_record(r);
    default: return {};
  }
}

double channel(const Decoded& d, int n) {
  return n >= 1 && n <= d.count ? d.channels[static_cast<std::size_t>(n - 1)] : 0.0;
}

// The segment-buffer entry of the mapped channel. Two-sensor systems pack the
// second sensor's class x 64 with the first's; the CS-21 packs the mapped
// value with the same component of its other coil geometry (channel n + 2).
std::optional<int> segment_entry_of(const InstrumentContext& c, const Decoded& d) {
  const int n = c.mapped_channel;
  if (n < 1) return std::nullopt;
  const bool pair_of_sensors = c.two_sensors && (c.instrument_type == kGrad601 || c.instrument_type == kEm61Lx2);
  if (c.instrument_type == kGrad601 && pair_of_sensors) return two_value_entry(channel(d, 1), channel(d, 2), c.colour);
  if (c.instrument_type == kEm61Lx2 && pair_of_sensors)
    return two_value_entry(channel(d, n), channel(d, n + 3), c.colour);
  if (c.instrument_type == kCs21) return two_value_entry(channel(d, n), channel(d, (n + 1) % 4 + 1), c.colour);
  if (n > d.count) return std::nullopt;
  return colour_step(channel(d, n), c.colour.minimum, c.colour.class_width);
}

void log_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state, const InstrumentContext& c,
                            const Decoded& d, InstrumentOutcome& o) {
  o.segment_entry = segment_entry_of(c, d);
  if (o.segment_entry) segment_push(survey.colour_index, *o.segment_entry);  // capped at 500 a segment
  o.record.assign(reinterpret_cast<const char*>(d.record.bytes.data()), d.record.length);
  o.logged = true;
  o.texts = count_logged_reading(survey, c.now);
  if (c.instrument_type == kGrad601) {
    ++state.grad_logged;
    o.result_sound = c.audio_ticks && state.grad_logged % 4 == 0;
  }
}

}  // namespace

bool em61_marker_letter(char letter) {
  return !(letter == 'T' || letter == 'D' || letter == 'E' || letter == 'F');
}

int two_value_entry(double first, double second, const ColourScale& scale) {
  return segment_pair_entry(colour_step(first, scale.minimum, scale.class_width),
                            colour_step(second, scale.minimum, scale.class_width));
}

InstrumentOutcome handle_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state,
                                            const InstrumentContext& c, const RecordBytes& record,
                                            std::uint32_t tick) {
  InstrumentOutcome o;
  o.tick = tick;
  const bool em61 = c.instrument_type == kEm61Mk2 || c.instrument_type == kEm61Lx2;
  const double battery = em61 && record.length > 12 ? record.bytes[12] / 10.0 : 0.0;
  const Decoded d = decode_any(state, c, record);
  o.channels = d.channels;
  o.channel_count = d.count;
  o.trace_identity = d.identity;  // a procedure's readings may be drawn too
  if (offer_to_procedure(c.procedure, {c.instrument_type, record.view(), tick, d.channels, d.count})) {
    o.to_procedure = true;
    return o;
  }
  o.dipole = d.dipole;
  o.mode = d.mode;
  o.marker = d.marker_shown;
  if (em61) {
    o.battery_text = formatted("%4.1f V", battery);
    o.current_text = formatted("%4.1f A", d.current / 1000.0);
  }
  survey.write_enable = next_write_enable(survey.write_enable, d.trigger, survey.survey_mode);
  if (survey.state != kStateLogging) return o;
  ++survey.readings_since_last_record;
  if (survey.write_enable != 1) return o;
  if (d.written_by_tick_rule && !arrived_while_logging(survey, tick)) return o;
  log_instrument_reading(survey, state, c, d, o);
  return o;
}

}  // namespace quelor
