#include "gps/parser.h"

#include <cmath>
#include <cstdio>

#include "gps/fields.h"
#include "gps/number_text.h"
#include "gps/quality.h"
#include "gps/time_of_day.h"
#include "gps/units.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

// Degree digits of latitude (2) and longitude (3): the "." must follow the
// degrees and two minute digits.
constexpr std::size_t kLatitudeDegreeDigits = 2;
constexpr std::size_t kLongitudeDegreeDigits = 3;
constexpr int kFeetFlagField = 11;

struct ParseState {
  GpsFix& fix;
  double sign_north = 1.0;
  double sign_east = 1.0;
  char letter_north = 'N';
  char letter_east = 'E';
};

std::wstring widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

template <typename... Args>
std::wstring format_wide(const char* format, Args... args) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, args...);
  return widen(buf);
}

bool read_hemisphere(std::string_view field, double& sign, char& letter) {
  if (field == "S" || field == "W") {
    sign = -1.0;
  } else if (field == "N" || field == "E") {
    sign = 1.0;
  } else {
    return false;
  }
  letter = field[0];
  return true;
}

// The usual field, digits and the "." after the minutes' whole digits, read
// in one pass: the value is the one the lenient readers below give it.
bool read_plain_angle(std::string_view field, std::size_t degree_digits, double sign, double& value) {
  constexpr std::size_t kExactDigits = 15;
  const std::size_t dot = degree_digits + 2;
  if (field.size() <= dot || field.size() - degree_digits - 1 > kExactDigits || field[dot] != '.') return false;
  int degrees = 0;
  for (std::size_t i = 0; i < degree_digits; ++i) {
    const unsigned d = static_cast<unsigned char>(field[i]) - unsigned{'0'};
    if (d > 9) return false;
    degrees = degrees * 10 + static_cast<int>(d);
  }
  std::uint64_t minutes = 0;
  for (std::size_t i = degree_digits; i < field.size(); ++i) {
    if (i == dot) continue;
    const unsigned d = static_cast<unsigned char>(field[i]) - unsigned{'0'};
    if (d > 9) return false;
    minutes = minutes * 10 + d;
  }
  value = (degrees + static_cast<double>(minutes) / kExactPowersOfTen[field.size() - dot - 1] / 60.0) * sign;
  return true;
}

// ddmm.mmmm / dddmm.mmmm to decimal degrees; an angle beyond the pole or the
// antimeridian ("4807.038e56") is no position.
bool read_angle(std::string_view field, std::size_t degree_digits, double sign, double& value) {
  const double limit = degree_digits == kLatitudeDegreeDigits ? 90.0 : 180.0;
  if (read_plain_angle(field, degree_digits, sign, value)) return std::fabs(value) <= limit;
  if (field.find('.') != degree_digits + 2) return false;
  value = (leading_int(field.substr(0, degree_digits)) + leading_double(field.substr(degree_digits)) / 60.0) * sign;
  return std::isfinite(value) && std::fabs(value) <= limit;
}

// Member by member: a whole-struct copy of a just-built place stalls.
void set_place(FieldPlace& place, std::string_view field, std::string_view sentence) {
  place.shown = true;
  const bool missing = field.data() == nullptr;
  place.begin = missing ? 0 : static_cast<std::uint16_t>(field.data() - sentence.data());
  place.size = static_cast<std::uint16_t>(field.size());
}

bool read_grid_value(const FieldIndex& sentence, std::string_view field, const FormatTable& table,
                     const FixOptions& options, double& value) {
  if (field.empty()) return false;
  value = leading_double(field);
  if (table.format == kFormatPseudoGga) {
    std::string_view units;
    if (indexed_field(sentence, kFeetFlagField, units) && units == "F")
      value = rts_feet_to_metres(value, options.rts_units);
  }
  return std::isfinite(value);
}

void apply_role(ParseState& s, int role, bool found, std::string_view field, const FieldIndex& sentence,
                const FormatTable& table, const FixOptions& options) {
  GpsFix& fix = s.fix;
  switch (role) {
    case kRoleSatellites:
      fix.satellites = leading_int(field);
      if (fix.satellites < 2) fix.valid = 0;
      break;
    case kRoleQuality:
      fix.quality = leading_int(field);
      if (table.format == kFormatPos && fix.quality < 2147483647) fix.quality += 1;
      if ((table.format == kFormatGgaGsa || table.format == kFormatGga) && fix.quality == 0) fix.valid = 0;
      fix.quality_label = found ? quality_label(field) : std::string_view{};
      break;
    case kRoleNorthSouth:
      if (!read_hemisphere(field, s.sign_north, s.letter_north)) fix.valid = 0;
      break;
    case kRoleEastWest:
      if (!read_hemisphere(field, s.sign_east, s.letter_east)) fix.valid = 0;
      break;
    case kRoleLatitude:
      if (read_angle(field, kLatitudeDegreeDigits, s.sign_north, fix.latitude)) {
        fix.latitude_letter = s.letter_north;
        set_place(fix.latitude_place, field, sentence.text);
      } else {
        fix.valid = 0;
      }
      fix.geographic = true;
      break;
    case kRoleLongitude:
      if (read_angle(field, kLongitudeDegreeDigits, s.sign_east, fix.longitude)) {
        fix.longitude_letter = s.letter_east;
        set_place(fix.longitude_place, field, sentence.text);
      } else {
        fix.valid = 0;
      }
      fix.geographic = true;
      break;
    case kRoleDilution:
    case kRoleDilution2:
    case kRoleDilution3:
      fix.dilution = leading_double(field);
      set_place(fix.dilution_place, field, sentence.text);
      break;
    case kRoleNorthing:
      if (!read_grid_value(sentence, field, table, options, fix.northing)) fix.valid = 0;
      fix.geographic = false;
      break;
    case kRoleEasting:
      if (!read_grid_value(sentence, field, table, options, fix.easting)) fix.valid = 0;
      fix.geographic = false;
      break;
    case kRoleSatellitesShown:
      fix.satellites_shown = leading_int(field);
      fix.satellites_shown_read = true;
      break;
    case kRoleExtraA:
    case kRoleExtraB:
    case kRoleExtraC: {
      const int i = role - kRoleExtraA;
      fix.extras[i] = leading_double(field);
      if (options.show_extras) set_place(fix.extra_places[i], field, sentence.text);
      break;
    }
    default: break;
  }
}

}  // namespace

FixOptions fix_options(int rts_units, InstrumentType instrument_type) {
  return FixOptions{rts_units, !has_trait(instrument_type, Trait::kNoSlamExtras)};
}

GpsFix parse_gps_fix(std::string_view sentence, const FormatTable& table, const FixOptions& options) {
  GpsFix fix;  // returned in place
  ParseState state{fix};
  // Separators up to the last field the format reads (the feet flag of
  // the pseudo-GGA grid values is field 11).
  int last_field = table.format == kFormatPseudoGga ? kFeetFlagField : table.time_field;
  for (int i = 0; i < table.pair_count && i < static_cast<int>(table.pairs.size()); ++i)
    if (table.pairs[i].field > last_field) last_field = table.pairs[i].field;
  FieldIndex fields;
  index_fields(fields, sentence, ',', static_cast<std::size_t>(last_field > 0 ? last_field : 0));
  for (int i = 0; i < table.pair_count && i < static_cast<int>(table.pairs.size()); ++i) {
    std::string_view field;
    const bool found = indexed_field(fields, table.pairs[i].field, field);
    if (!found) field = {};
    apply_role(state, table.pairs[i].role, found, field, fields, table, options);
  }
  std::string_view time_field;
  if (indexed_field(fields, table.time_field, time_field)) fix.time_of_day = time_of_day_seconds(time_field);
  return fix;
}

bool format_has_role(const FormatTable& table, int role) {
  for (int i = 0; i < table.pair_count && i < static_cast<int>(table.pairs.size()); ++i)
    if (table.pairs[i].role == role) return true;
  return false;
}

std::optional<double> gsa_pdop(std::string_view gsa_sentence) {
  constexpr int kPdopField = 16;
  std::string_view field;
  if (!extract_field(gsa_sentence, kPdopField, ',', field)) return std::nullopt;
  return leading_double(field);
}

std::wstring pdop_text(std::string_view gsa_sentence) {
  const std::optional<double> pdop = gsa_pdop(gsa_sentence);
  if (!pdop) return L"N/A";
  return format_wide("%-4.1f", *pdop);
}

std::wstring dilution_text(double dilution) { return format_wide(dilution < 10.0 ? "%3.1f" : "%3.0f", dilution); }

}  // namespace quelor
