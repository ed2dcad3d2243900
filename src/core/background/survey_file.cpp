#include "background/survey_file.h"

#include <string>

#include "datafile/file_header.h"
#include "datafile/record_cursor.h"
#include "datafile/stored_gps.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "gps/units.h"

namespace quelor {

std::optional<SurveyFileInfo> read_survey_file_info(std::string_view bytes) {
  const DataFile file = open_data_file(bytes);
  const std::optional<FileHeader> h = read_file_header(file);
  if (!h) return std::nullopt;
  SurveyFileInfo info;
  info.record_length = file.record_length;
  info.variant = h->variant;
  info.map_units = h->fields.map_units;
  info.survey_mode = h->fields.survey_mode;
  info.two_sensors = header_two_sensors(*h);
  if (h->has_gps_digits) {
    info.gps_sentence = h->fields.gps_sentence;
    info.pseudo_gga_variant = h->fields.pseudo_gga_variant;
  }
  if (h->has_g4) info.zone = h->fields.reference_zone;
  return info;
}

std::optional<MapOrigin> first_gps_position(std::string_view bytes, const SurveyFileInfo& info, int rts_units) {
  const DataFile file = open_data_file(bytes);
  if (file.record_length < 3) return std::nullopt;
  const FormatTable table = make_format_table(info.gps_sentence, info.pseudo_gga_variant == 1);
  const FixOptions options = fix_options(rts_units, info.variant.instrument_type);
  const auto origin_of = [&](const StoredSentence& s) -> std::optional<MapOrigin> {
    if (check_stored_sentence(s.text, table) != StoredSentenceCheck::kOk) return std::nullopt;
    GpsFix fix = parse_gps_fix(s.text, table, options);
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
  SentenceAssembly sentences;
  RecordCursor cursor = record_cursor(file);
  while (const auto r = next_record(cursor))
    if (const auto s = feed_sentence(sentences, *r))
      if (auto o = origin_of(*s)) return o;
  const auto last = finish_sentence(sentences);
  return last ? origin_of(*last) : std::nullopt;
}

}  // namespace quelor
