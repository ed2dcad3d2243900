#include "background/survey_file.h"

#include <array>
#include <cctype>
#include <string>

#include "datafile/naming.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "gps/units.h"

namespace quelor {

namespace {

int digit_at(std::string_view r, std::size_t column) {
  return column < r.size() && r[column] >= '0' && r[column] <= '9' ? r[column] - '0' : 0;
}

std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

std::string trimmed_piece(std::string_view record) {
  std::string_view p = record.substr(1);
  while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
  return std::string(p);
}

}  // namespace

std::optional<SurveyFileInfo> read_survey_file_info(std::string_view bytes) {
  const std::size_t lf = bytes.substr(0, 128).find('\n');
  if (lf == std::string_view::npos || lf < 20) return std::nullopt;
  SurveyFileInfo info;
  info.record_length = static_cast<int>(lf + 1);
  const std::string_view r1 = bytes.substr(0, lf);
  const auto v = variant_of_program_code(r1);
  if (!v) return std::nullopt;
  info.variant = *v;
  info.map_units = digit_at(r1, 15);
  info.survey_mode = digit_at(r1, 17);
  if (v->instrument_type == kGrad601) info.two_sensors = digit_at(r1, 19) == 1;
  if (v->instrument_type == kEm61Lx2) info.two_sensors = digit_at(r1, 22) == 1 || upper(r1).find("LX2") != std::string::npos;
  const std::size_t L = lf + 1;
  for (std::size_t at = L; at + L <= bytes.size() && at < 8 * L; at += L) {
    const std::string_view r = bytes.substr(at, L - 1);
    if (r[0] != 'G') continue;
    if (r.size() > 20 && r[16] == '7') {  // record 3
      info.gps_sentence = r[17] == 'A' ? 8 : digit_at(r, 19);
      info.pseudo_gga_variant = digit_at(r, 18);
    } else if (info.zone == 0 && r.size() > 17 && r[15] == ' ' && std::isdigit(static_cast<unsigned char>(r[16]))) {
      info.zone = digit_at(r, 16) * 10 + digit_at(r, 17);  // record 4
    }
  }
  return info;
}

std::optional<MapOrigin> first_gps_position(std::string_view bytes, const SurveyFileInfo& info, int rts_units) {
  const std::size_t L = static_cast<std::size_t>(info.record_length);
  if (L < 3) return std::nullopt;
  const FormatTable table = make_format_table(info.gps_sentence, info.pseudo_gga_variant == 1);
  const FixOptions options = fix_options(rts_units, info.variant.instrument_type);
  std::string sentence;
  const auto try_sentence = [&]() -> std::optional<MapOrigin> {
    if (sentence.empty()) return std::nullopt;
    GpsFix fix = parse_gps_fix(sentence, table, options);
    sentence.clear();
    if (!fix.valid) return std::nullopt;
    MapOrigin o;
    if (fix.geographic) {
      SurveyZone zone = make_survey_zone(info.zone >= 1 && info.zone <= 60 ? info.zone : kAutomaticZone);
      project_fix(zone, fix);
      o.zone = fix.zone;
      o.easting = metres_to_working_unit(fix.easting, info.map_units);
      o.northing = metres_to_working_unit(fix.northing, info.map_units);
    } else {
      o.easting = rts_metres_to_working_unit(fix.easting, info.map_units);
      o.northing = rts_metres_to_working_unit(fix.northing, info.map_units);
    }
    return o;
  };
  for (std::size_t at = 0; at + L <= bytes.size(); at += L) {
    const std::string_view r = bytes.substr(at, L - 1);
    if (r[0] == '#' && !sentence.empty()) {
      sentence += trimmed_piece(r);
      continue;
    }
    if (auto o = try_sentence()) return o;
    if (r[0] == '@') sentence = trimmed_piece(r);
  }
  return try_sentence();
}

}  // namespace quelor
