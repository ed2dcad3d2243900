#include "datafile/file_header.h"

#include <array>
#include <cmath>
#include <span>

#include "datafile/naming.h"
#include "gps/formats.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// One digit of the identification record and the field it holds.
struct DigitColumn {
  std::size_t column;
  int HeaderFields::*field;
};

using H = HeaderFields;

constexpr std::array<DigitColumn, 4> kCommonDigits{
    {{15, &H::map_units}, {16, &H::dipole_mode}, {17, &H::survey_mode}, {18, &H::component}}};
constexpr std::array<DigitColumn, 5> kEm31Digits{{{15, &H::map_units},
                                                  {16, &H::dipole_mode},
                                                  {17, &H::survey_mode},
                                                  {18, &H::component},
                                                  {19, &H::instrument_model}}};
constexpr std::array<DigitColumn, 5> kEm34Digits{{{15, &H::map_units},
                                                  {16, &H::dipole_mode},
                                                  {17, &H::survey_mode},
                                                  {18, &H::component},
                                                  {19, &H::em34_3_reference}}};
constexpr std::array<DigitColumn, 5> kGrad601Digits{{{15, &H::map_units},
                                                     {17, &H::survey_mode},
                                                     {19, &H::number_of_sensors},
                                                     {20, &H::soft_marker_key_option},
                                                     {21, &H::instrument_state}}};
constexpr std::array<DigitColumn, 7> kLx2Digits{{{15, &H::map_units},
                                                 {16, &H::sensor_size},
                                                 {17, &H::survey_mode},
                                                 {18, &H::em61_model},
                                                 {19, &H::soft_marker_key_option},
                                                 {21, &H::instrument_state},
                                                 {22, &H::number_of_sensors}}};
constexpr std::array<DigitColumn, 5> kMk2Digits{{{15, &H::map_units},
                                                 {16, &H::sensor_size},
                                                 {17, &H::survey_mode},
                                                 {18, &H::em61_model},
                                                 {21, &H::instrument_state}}};

std::span<const DigitColumn> identification_digits(InstrumentType type) {
  switch (type) {
    case kEm34_3: return kEm34Digits;
    case kGrad601: return kGrad601Digits;
    case kEm61Lx2: return kLx2Digits;
    case kEm61Mk2: return kMk2Digits;
    case kEm31Mk2:
    case kEm38: return kEm31Digits;
    default: return kCommonDigits;
  }
}

void put_digit(HeaderFields& f, int HeaderFields::*field, std::string_view r, std::size_t column) {
  if (const auto d = digit_at(r, column)) f.*field = *d;
}

// "%2d" in columns 20-21.
void put_state(HeaderFields& f, std::string_view r) {
  if (const auto n = number_at(r, 20, 2)) f.instrument_state = static_cast<int>(*n);
}

// Written 2 when the setting is 0.
int model_as_set(int written) { return written == 2 ? 0 : written; }

void read_identification(FileHeader& h, std::string_view r) {
  HeaderFields& f = h.fields;
  const InstrumentType type = h.variant.instrument_type;
  f.gps_enabled = r.substr(12, 3) == "GPS" ? 1 : 0;
  for (const DigitColumn& d : identification_digits(type)) put_digit(f, d.field, r, d.column);
  if (has_trait(type, Trait::kModelCoilPairs)) {
    put_digit(f, &H::instrument_model, r, 19);
    f.instrument_model = model_as_set(f.instrument_model);
    put_state(f, r);
  } else if (has_trait(type, Trait::kWideHeader)) {
    put_digit(f, &H::instrument_model, r, 19);
    f.instrument_model = model_as_set(f.instrument_model);
    put_digit(f, &H::reading_units, r, 20);
    put_digit(f, &H::soft_marker_key_option, r, 21);
    for (std::size_t i = 0; i < f.wide_options.size(); ++i)
      if (const auto d = digit_at(r, 22 + i)) f.wide_options[i] = *d;
  } else if (is_t_record_instrument(type) && h.variant.navigation_mode == kRealTimeMap) {
    put_state(f, r);
  } else if (type == kEm61Mk2) {
    put_digit(f, &H::em61mk2_channel_option, r, 20);
  }
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

void read_h(FileHeader& h, std::string_view r) {
  HeaderFields& f = h.fields;
  h.has_h = true;
  f.file_name = trimmed(r.substr(1, 10));
  const InstrumentType type = h.variant.instrument_type;
  if (has_trait(type, Trait::kSensorSeparation)) {
    f.sensor_separation = number_at(r, 11, 5).value_or(f.sensor_separation);
  } else if (f.survey_mode == 0) {
    f.reading_interval = number_at(r, 11, 7).value_or(f.reading_interval);
  } else if (f.survey_mode == 1) {
    f.wheel_parameter = number_at(r, 11, 7).value_or(f.wheel_parameter);
  } else if (is_em61(type)) {
    f.manual_parameter = number_at(r, 11, 7).value_or(f.manual_parameter);
  } else if (const auto n = number_at(r, 11, 7)) {
    f.manual_reading_count = static_cast<int>(*n);
  }
}

void read_g3(FileHeader& h, std::string_view r) {
  HeaderFields& f = h.fields;
  h.has_g3 = true;
  f.gps_x_offset = number_at(r, 1, 7).value_or(0.0);
  f.gps_y_offset = number_at(r, 8, 7).value_or(0.0);
  h.has_gps_digits = r.size() > 20 && r[16] == '7';
  if (!h.has_gps_digits) return;
  if (has_trait(h.variant.instrument_type, Trait::kPolledReadings)) put_digit(f, &H::polled_reading_mode, r, 15);
  if (has_trait(h.variant.instrument_type, Trait::kCurrentRing))
    f.em61_normalisation = !(r.size() > 23 && r[23] == '0');
  put_digit(f, &H::gps_option, r, 17);
  put_digit(f, &H::pseudo_gga_variant, r, 18);
  f.gps_sentence = header_gps_sentence(r);
  f.gps_enabled = r[20] == '1' ? 1 : 0;
}

void read_g4(FileHeader& h, std::string_view r) {
  h.has_g4 = true;
  h.fields.reference_easting = number_at(r, 1, 14).value_or(0.0);
  const auto tens = digit_at(r, 16), ones = digit_at(r, 17);
  h.fields.reference_zone = tens && ones ? *tens * 10 + *ones : 0;
}

void read_g5(FileHeader& h, std::string_view r) {
  HeaderFields& f = h.fields;
  h.has_g5 = true;
  f.reference_northing = number_at(r, 1, 14).value_or(0.0);
  if (!has_trait(h.variant.instrument_type, Trait::kTiltMeter)) return;
  put_digit(f, &H::tilt_meter, r, 16);
  put_digit(f, &H::gps_antenna_rigid, r, 17);
  if (const auto cm = number_at(r, 18, 3)) f.antenna_height = *cm / 100.0;
}

// The constants after the 'G' records: whether `r` is the next one, read.
bool read_constant(FileHeader& h, std::string_view r, int& o_records, int& i_records) {
  HeaderFields& f = h.fields;
  const InstrumentType type = h.variant.instrument_type;
  if (r.empty()) return false;
  if (r[0] == 'O' && is_em61(type) && o_records < 4) {
    f.null_values[static_cast<std::size_t>(o_records++)] = number_at(r, 1, 9).value_or(0.0);
    return true;
  }
  if (r[0] == 'I' && has_trait(type, Trait::kFilterFactors) && i_records < 2) {
    f.lx2_constants[static_cast<std::size_t>(i_records++)] = number_at(r, 1, 9).value_or(0.0);
    return true;
  }
  if (r[0] == 'O' && has_trait(type, Trait::kCalibrationOffsets) && o_records < 6 && r.size() > 1 &&
      r[1] == '1' + o_records) {
    f.em38mk2_constants[static_cast<std::size_t>(o_records++)] = {number_at(r, 2, 10).value_or(0.0),
                                                                  number_at(r, 13, 10).value_or(0.0)};
    return true;
  }
  return false;
}

// The cursor's next record when `wanted` says it belongs to the block.
template <typename Wanted>
std::optional<DataRecord> take_if(RecordCursor& c, Wanted wanted) {
  RecordCursor ahead = c;
  const std::optional<DataRecord> r = next_record(ahead);
  if (!r || !wanted(*r)) return std::nullopt;
  c = ahead;
  return r;
}

}  // namespace

int header_gps_sentence(std::string_view record3) {
  if (record3.size() > 17 && record3[17] == 'A') return kFormatPseudoGll;
  return digit_at(record3, 19).value_or(kFormatGga);
}

std::optional<FileHeader> read_file_header(RecordCursor& c) {
  const std::optional<DataRecord> first = next_record(c);
  if (!first || first->kind != RecordKind::kIdentification) return std::nullopt;
  FileHeader h;
  const std::string_view r1 = first->body();
  h.variant = *variant_of_program_code(r1.substr(0, 9));
  h.program_code = std::string(r1.substr(0, 9));
  h.version = std::string(r1.substr(9, 3));
  h.continuing = r1[0] >= 'a' && r1[0] <= 'z';
  h.fields.number_of_sensors = 0;  // one sensor unless the record says two
  read_identification(h, r1);
  h.records = 1;
  const auto tagged = [](char tag) { return [tag](const DataRecord& r) { return r.tag == tag; }; };
  if (const auto r = take_if(c, tagged('H'))) {
    read_h(h, r->body());
    ++h.records;
  }
  void (*const g_readers[])(FileHeader&, std::string_view) = {read_g3, read_g4, read_g5};
  for (auto reader : g_readers) {
    const auto r = take_if(c, tagged('G'));
    if (!r) break;
    reader(h, r->body());
    ++h.records;
  }
  int o_records = 0, i_records = 0;
  while (take_if(c, [&](const DataRecord& r) { return read_constant(h, r.body(), o_records, i_records); })) ++h.records;
  return h;
}

std::optional<FileHeader> read_file_header(const DataFile& file) {
  RecordCursor c = record_cursor(file);
  return read_file_header(c);
}

bool header_two_sensors(const FileHeader& h) {
  const InstrumentType type = h.variant.instrument_type;
  if (!has_sensor_count(type)) return false;
  return h.fields.number_of_sensors == 1 || (type == kEm61Lx2 && h.program_code.find("LX2") != std::string::npos);
}

}  // namespace quelor
