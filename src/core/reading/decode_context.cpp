#include "reading/decode_context.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "datafile/file_header.h"
#include "datafile/naming.h"
#include "datafile/record_cursor.h"
#include "map/colour_class.h"
#include "procedures/em38_4_values.h"
#include "procedures/em38mk2_calibration.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kManualModeDigit = 2;  // the header's survey-mode digit of Manual

double number_or_zero(std::string_view r, std::size_t from, std::size_t width) {
  return number_at(r, from, width).value_or(0.0);
}

// Index of an EM38-4 constant record's id ('1'-'9', then 'A'-'S'), or -1.
int em38_4_constant_index(char id) {
  if (id >= '1' && id <= '9') return id - '1';
  if (id >= 'A' && id <= 'S') return 9 + (id - 'A');
  return -1;
}

// The inverse of em38_4_constants: the calibration from the 28 recorded values.
Em38_4Calibration em38_4_from_constants(const std::array<double, 28>& k) {
  Em38_4Calibration c;
  for (std::size_t i = 0; i < 4; ++i) {
    c.conductivity_offset[i] = k[i];
    c.inphase_offset[i] = k[4 + i];
    c.carrier_offset[i] = k[8 + i];
    c.carrier_inphase_offset[i] = k[12 + i];
  }
  c.extra_offset = {k[16], k[17]};
  return c;
}

}  // namespace

bool mapped_view_uses_scale_2(InstrumentType type, int view) {
  switch (type) {
    case kEm31Mk2:
    case kEm38: return view == 2;
    case kEm38Mk2:
    case kEm38_4:
    case kCs21: return view > 0 && view % 2 == 0;  // every in-phase view
    default: return false;
  }
}

Em31Options em31_options(const DecodeContext& c) {
  Em31Options o;
  o.manual_mode = c.manual_mode;
  o.inphase_only = c.em31_inphase_only;
  return o;
}

Em61Mk2Options em61_options(const DecodeContext& c) {
  Em61Mk2Options o;
  o.coil_type = c.em61_coil_type;
  return o;
}

bool two_value_entries(const DecodeContext& c) { return c.instrument_type == kCs21 || c.two_sensors; }

void set_mapped_view(DecodeContext& c, const Settings& s) {
  c.mapped_view = s.colour_map_view;
  const auto& scale =
      mapped_view_uses_scale_2(c.instrument_type, c.mapped_view) ? s.profile_scale_2 : s.profile_scale_1;
  c.colour = {scale[0], (scale[1] - scale[0]) / kColourClassCount};
}

double as_recorded(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::atof(text);
}

DecodeContext decode_context_from_settings(const Settings& s, InstrumentType type, bool manual_mode,
                                           bool em61_normalised) {
  DecodeContext c;
  c.instrument_type = type;
  c.manual_mode = manual_mode;
  c.em31_inphase_only = has_trait(type, Trait::kInphaseOnlyComponent) && s.component == 1;
  c.em38mk2_single_coil = has_trait(type, Trait::kModelCoilPairs) && s.em38mk2_model == 1;
  Em38Mk2Values mk2{};
  for (std::size_t i = 0; i < mk2.size(); ++i) mk2[i] = as_recorded(s.em38mk2_calibration[i], 3);
  c.em38mk2_offsets = em38mk2_offsets(mk2);
  std::array<double, 28> k = em38_4_constants(em38_4_calibration(s.em38_4));
  for (double& v : k) v = as_recorded(v, 3);
  c.em38_4_calibration = em38_4_from_constants(k);
  c.em38_4_raw_inphase = has_trait(type, Trait::kInphaseUnits) && s.em38_4.inphase_units == 1;
  c.em61_coil_type = s.em61_model;
  c.em61_normalised = has_trait(type, Trait::kCurrentRing) && em61_normalised;
  for (std::size_t i = 0; i < c.nulls.size(); ++i) c.nulls[i] = as_recorded(s.channel_null_values[i], 2);
  c.lx2_filter_factors = {as_recorded(s.left_coil_filter_factor, 2), as_recorded(s.right_coil_filter_factor, 2)};
  c.two_sensors = has_sensor_count(type) && s.number_of_sensors == 1;
  c.manual_em34 = has_trait(type, Trait::kStationReadings) && manual_mode;
  set_mapped_view(c, s);
  return c;
}

DecodeContext decode_context_from_header(const FileHeader& h, const Settings& display) {
  const InstrumentType type = h.variant.instrument_type;
  const HeaderFields& f = h.fields;
  DecodeContext c;
  c.instrument_type = type;
  const bool manual_mode = f.survey_mode == kManualModeDigit;
  c.manual_mode = manual_mode;
  c.em31_inphase_only = has_trait(type, Trait::kInphaseOnlyComponent) && f.component == 1;
  c.em38mk2_single_coil = has_trait(type, Trait::kModelCoilPairs) && f.instrument_model == 1;
  if (is_em61(type)) c.em61_coil_type = f.em61_model;
  c.em38_4_raw_inphase = has_trait(type, Trait::kInphaseUnits) && f.reading_units == 1;
  // Until record 3 says otherwise (apply_constant_record): files without its
  // digit were written with the EM61-MK2 current ring on, the default.
  c.em61_normalised = has_trait(type, Trait::kCurrentRing);
  c.two_sensors = header_two_sensors(h);
  c.manual_em34 = has_trait(type, Trait::kStationReadings) && manual_mode;
  set_mapped_view(c, display);
  return c;
}

std::optional<DecodeContext> decode_context_from_file(std::string_view bytes, const Settings& display) {
  const DataFile file = open_data_file(bytes);
  const std::optional<FileHeader> h = read_file_header(file);
  if (!h) return std::nullopt;
  return decode_context_from_header(*h, display);
}

void apply_constant_record(DecodeContext& c, ConstantRecordState& state, std::string_view r) {
  const char tag = r.empty() ? '\0' : r[0];
  if (tag != 'O') state.null_index = 0;
  if (tag != 'I') state.lx2_index = 0;
  // Record 3 column 23: '0' when the EM61-MK2 current ring was off.
  if (tag == 'G' && has_trait(c.instrument_type, Trait::kCurrentRing) && r.size() > 23 && r[16] == '7') {
    c.em61_normalised = r[23] != '0';
    return;
  }
  if (tag == 'I' && has_trait(c.instrument_type, Trait::kFilterFactors)) {
    if (state.lx2_index < 2) c.lx2_filter_factors[static_cast<std::size_t>(state.lx2_index)] = number_or_zero(r, 1, 9);
    ++state.lx2_index;
    return;
  }
  if (tag != 'O' || r.size() < 2) return;
  const InstrumentType type = c.instrument_type;
  if (is_em61(type)) {
    if (state.null_index < 4) c.nulls[static_cast<std::size_t>(state.null_index)] = number_or_zero(r, 1, 9);
    ++state.null_index;
  } else if (has_trait(type, Trait::kCalibrationOffsets)) {
    const int i = r[1] - '1';
    if (i < 0 || i >= 6) return;
    state.em38mk2[static_cast<std::size_t>(i)] = number_or_zero(r, 2, 10);
    c.em38mk2_offsets = em38mk2_offsets(state.em38mk2);
  } else if (has_trait(type, Trait::kCalibrationConstants)) {
    const int i = em38_4_constant_index(r[1]);
    if (i < 0) return;
    state.em38_4[static_cast<std::size_t>(i)] = number_or_zero(r, 2, 10);
    c.em38_4_calibration = em38_4_from_constants(state.em38_4);
  }
}

}  // namespace quelor
