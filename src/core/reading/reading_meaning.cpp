#include "reading/reading_meaning.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "datafile/record_layout.h"
#include "map/colour_class.h"
#include "map/segment_buffer.h"
#include "serial/decode_lines.h"
#include "serial/text_fields.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

std::vector<std::uint8_t> bytes_of(std::string_view record, std::size_t length) {
  std::vector<std::uint8_t> b(length, ' ');
  for (std::size_t i = 0; i < length && i < record.size(); ++i) b[i] = static_cast<std::uint8_t>(record[i]);
  return b;
}

// The text of a line instrument's record: after the 'T' tag, without the padding.
std::string_view line_of(std::string_view record) {
  std::string_view line = record.empty() ? record : record.substr(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\0')) line.remove_suffix(1);
  return line;
}

void put(ReadingMeaning& m, double v) {
  if (m.channel_count < kMaxReadingChannels) m.channels[static_cast<std::size_t>(m.channel_count++)] = v;
}

void put_column(ReadingMeaning& m, std::optional<double> v) {
  if (m.column_count < kMaxReadingColumns) m.columns[static_cast<std::size_t>(m.column_count++)] = v;
}

std::optional<double> slot(const ChannelSlots& s, int i) {
  return s.present[static_cast<std::size_t>(i)] ? std::optional<double>(s.value[static_cast<std::size_t>(i)])
                                                : std::nullopt;
}

// Export columns of the dipole instruments: V conductivity, V in-phase, H
// conductivity, H in-phase of each coil (slots 0 V, 1 H conductivity, 2 V,
// 3 H in-phase; 4-7 the second coil).
void dipole_columns(ReadingMeaning& m, const ChannelSlots& s, int coils) {
  static constexpr int kOrder[4] = {0, 2, 1, 3};
  for (int coil = 0; coil < coils; ++coil)
    for (int i : kOrder) put_column(m, slot(s, i + 4 * coil));
}

double channel(const ReadingMeaning& m, int n) {
  return n >= 1 && n <= m.channel_count ? m.channels[static_cast<std::size_t>(n - 1)] : 0.0;
}

int class_of(double v, const ColourScale& scale) { return colour_step(v, scale.minimum, scale.class_width); }

// The one-value entry of channel n, when the record has it.
std::optional<int> channel_entry(const ReadingMeaning& m, const ColourScale& scale, int n) {
  if (n < 1 || n > m.channel_count) return std::nullopt;
  return class_of(channel(m, n), scale);
}

void em31_family(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  std::vector<std::uint8_t> b = bytes_of(record, 12);
  b[0] = 'T';  // column 0 may hold the count of readings since the last record
  const InstrumentType type = c.instrument_type;
  const Em31Options options = em31_options(c);
  const Em31Reading d = type == kEm38     ? decode_em38(b, options)
                        : type == kEm34_3 ? decode_em34_3(b, options)
                                          : decode_em31_mk2(b, options);
  m.identity = d.dipole_code;
  m.dipole = d.dipole;
  m.mode = d.mode;
  m.full_scale = d.range;
  m.marker = d.marker;
  m.trigger = d.marker;
  m.flag_b = d.flag_b;
  m.inphase_record = d.inphase_record;
  const ChannelSlots& s = d.slots;
  if (has_trait(type, Trait::kCoilConfigurations)) {
    const int at = d.dipole_code;
    put(m, at >= 0 && at < 6 ? s.value[static_cast<std::size_t>(at)] : 0.0);
    for (int i = 0; i < 6; ++i) put_column(m, slot(s, i));
    if (c.mapped_view >= 1) m.entry = class_of(m.channels[0], c.colour);
    if (c.manual_em34) m.kind = at % 3;
    return;
  }
  dipole_columns(m, s, 1);
  const int conductivity = d.dipole == 'V' ? 0 : 1;
  const int inphase = conductivity + 2;
  if (has_trait(type, Trait::kComponentView)) {
    // One value a record: conductivity, or in-phase in an in-phase record;
    // view 1 maps the conductivity records, view 2 the in-phase ones.
    put(m, s.value[static_cast<std::size_t>(d.inphase_record ? inphase : conductivity)]);
    if (c.mapped_view >= 1 && (c.mapped_view == 2) == d.inphase_record) m.entry = class_of(m.channels[0], c.colour);
    return;
  }
  put(m, s.value[static_cast<std::size_t>(conductivity)]);
  put(m, s.value[static_cast<std::size_t>(inphase)]);
  // In-phase only: the record holds no conductivity to map.
  const std::optional<double> mapped = c.mapped_view == 1   ? slot(s, conductivity)
                                       : c.mapped_view == 2 ? slot(s, inphase)
                                                            : std::nullopt;
  if (mapped) m.entry = class_of(*mapped, c.colour);
}

void em38mk2(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const Em38Mk2Reading d = decode_em38_mk2(bytes_of(record, 14), c.em38mk2_offsets, c.em38mk2_single_coil);
  const std::size_t base = d.dipole == 'V' ? 0 : 1;
  const int coils = c.em38mk2_single_coil ? 1 : 2;
  for (int coil = 0; coil < coils; ++coil) {
    put(m, d.slots.value[base + 4 * static_cast<std::size_t>(coil)]);      // conductivity
    put(m, d.slots.value[base + 2 + 4 * static_cast<std::size_t>(coil)]);  // in-phase
  }
  dipole_columns(m, d.slots, 2);
  m.identity = d.dipole_code;
  m.dipole = d.dipole;
  m.mode = d.mode;
  m.trigger = d.mode == 'M';
  m.entry = channel_entry(m, c.colour, c.mapped_view);
}

void em38_4(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const std::vector<std::uint8_t> b = bytes_of(record, 26);
  const Em38_4Reading d = decode_em38_4(b, c.em38_4_calibration, c.em38_4_raw_inphase);
  for (double v : d.slots) {
    put(m, v);
    put_column(m, v);
  }
  for (double v : d.extra) put_column(m, v);
  m.identity = d.dipole_code;
  m.dipole = d.dipole;
  m.mode = em38_mode_letter(b[1] & 0x07);  // +8 marker and +16 line bits aside
  m.trigger = m.mode == 'M';
  m.marker = (b[1] & 0x08) != 0;
  m.entry = channel_entry(m, c.colour, c.mapped_view);
}

// The EM61 readings proper are the instrument's reading letters; every
// other letter of a record is a marker record.
bool em61_marker_letter(InstrumentType type, char letter) { return !is_reading_letter(type, letter); }

// The mean current the record carries: 10-11 its whole part (big-endian),
// 12 its hundredths.
double recorded_mean_current(std::span<const std::uint8_t> b) {
  const double whole = be_s16(b, 10);
  const double hundredths = b[12] / 100.0;
  return whole < 0 ? whole - hundredths : whole + hundredths;
}

// EM61-MK2: letter, range byte, channels at 2-9, the mean current at 10-12,
// the record's own current at 13-15.
void em61mk2(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const std::vector<std::uint8_t> b = bytes_of(record, 16);
  const char letter = static_cast<char>(b[0]);
  const Em61Mk2Options options = em61_options(c);
  const double current = em61_mk2_coil_current(be_s16(b, 13), options);
  const GateFactors gates = em61_gate_factors(letter, options, current);
  const double mean = recorded_mean_current(b);
  const double factor = c.em61_normalised && mean != 0.0 ? gates.nominal_current / mean : 1.0;
  const std::array<double, 4> ranged = em61_ranged_channels(b, kEm61Mk2Scale, 4);
  for (std::size_t i = 0; i < 4; ++i) {
    put(m, ranged[i] / gates.factors[i] * factor - c.nulls[i]);
    put_column(m, m.channels[i]);
  }
  m.mode = letter;
  m.marker = m.trigger = em61_marker_letter(c.instrument_type, letter);
  m.entry = channel_entry(m, c.colour, c.mapped_view);
}

// EM61-LX2: letter, range byte, the left coil's early and late channels at
// 2-5 (and the right coil's at 6-9), the current at 10-12; its current ring
// is always off. The filtered channel F = E - L x the coil's factor / 1000.
void em61lx2(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const std::vector<std::uint8_t> b = bytes_of(record, 16);
  const char letter = static_cast<char>(b[0]);
  const int coils = c.two_sensors ? 2 : 1;
  std::array<double, 4> raw = em61_ranged_channels(b, kEm61Lx2Scale, 2 * coils);
  for (std::size_t i = 0; i < 2 * static_cast<std::size_t>(coils); ++i) {
    raw[i] -= c.nulls[i];
    put_column(m, raw[i]);
  }
  while (m.column_count < 4) put_column(m, std::nullopt);
  for (std::size_t coil = 0; coil < static_cast<std::size_t>(coils); ++coil) {
    const double early = raw[2 * coil], late = raw[2 * coil + 1];
    put(m, early);
    put(m, late);
    put(m, early - late * c.lx2_filter_factors[coil] / 1000.0);
  }
  m.mode = letter;
  m.marker = m.trigger = em61_marker_letter(c.instrument_type, letter);
  // With two coils the right coil's channels (views 4-6) map as their pair:
  // the strip's left half the left coil, its right half the right coil.
  const int n = c.two_sensors && c.mapped_view > 3 ? c.mapped_view - 3 : c.mapped_view;
  if (n < 1 || n > 3) return;
  m.entry =
      c.two_sensors ? two_value_entry(channel(m, n), channel(m, n + 3), c.colour) : class_of(channel(m, n), c.colour);
}

void grad601(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const Grad601Reading d = decode_grad601(line_of(record), c.two_sensors);
  for (int i = 0; i < d.count; ++i) put(m, d.values[static_cast<std::size_t>(i)].value_or(0.0));
  put_column(m, d.values[0]);
  put_column(m, d.values[1]);
  m.trigger = true;
  if (c.mapped_view < 1 || !d.values[0]) return;
  m.entry = c.two_sensors ? two_value_entry(channel(m, 1), channel(m, 2), c.colour) : class_of(channel(m, 1), c.colour);
}

// CS-21: channels 1-4 are the values of the $PDLM1 records, 5-8 those of
// the $PDLM2 records (the export's columns). The mapped value is packed
// with the same component of the other coil geometry of its record; a
// record of the other coil group holds no value for the view.
void cs21(const DecodeContext& c, std::string_view record, ReadingMeaning& m) {
  const Cs21Reading d = decode_cs21(line_of(record));
  for (const auto& v : d.values) put(m, v.value_or(0.0));
  // $PDLM1: the 1 m and 1.1 m coils; $PDLM2: the 2 m and 2.1 m coils.
  const int base = d.flag == '1' ? 0 : d.flag == '2' ? 4 : -1;
  for (int i = 0; i < 8; ++i)
    put_column(m, base >= 0 && i >= base && i < base + 4 ? d.values[static_cast<std::size_t>(i - base)] : std::nullopt);
  m.mode = d.flag;
  m.trigger = true;
  const int n = c.mapped_view - base;
  if (base < 0 || n < 1 || n > 4) return;
  const int other = (n + 1) % 4 + 1;
  if (!d.values[static_cast<std::size_t>(n - 1)]) return;
  m.entry = two_value_entry(channel(m, n), channel(m, other), c.colour);
}

}  // namespace

bool is_reading_record(InstrumentType type, std::string_view record) {
  return !record.empty() && is_instrument_letter(type, record[0]);
}

double em61_recorded_current(std::string_view record) { return recorded_mean_current(bytes_of(record, 16)); }

std::string written_reading_body(InstrumentType type, const ReadingInput& input) {
  const Variant v{type, kRealTimeMap};
  return reading_record(v, input).substr(0, reading_body_length(record_length(v)));
}

std::size_t reading_body_length(int record_length) {
  return record_length > 11 ? static_cast<std::size_t>(record_length - 11) : 0;
}

int two_value_entry(double first, double second, const ColourScale& scale) {
  return segment_pair_entry(class_of(first, scale), class_of(second, scale));
}

ReadingMeaning interpret_reading(const DecodeContext& c, std::string_view record) {
  ReadingMeaning m;
  switch (c.instrument_type) {
    case kEm31Mk2:
    case kEm38:
    case kEm34_3: em31_family(c, record, m); break;
    case kEm38Mk2: em38mk2(c, record, m); break;
    case kEm38_4: em38_4(c, record, m); break;
    case kEm61Mk2: em61mk2(c, record, m); break;
    case kEm61Lx2: em61lx2(c, record, m); break;
    case kGrad601: grad601(c, record, m); break;
    case kCs21: cs21(c, record, m); break;
    default: break;
  }
  if (c.mapped_view < 1) m.entry.reset();
  return m;
}

}  // namespace quelor
