#include "grid/survey_samples.h"

#include <algorithm>

#include "background/survey_file.h"
#include "export/export_table.h"
#include "gps/units.h"
#include "variant/instrument.h"

namespace quelor {

std::string default_channel(int instrument_type, const std::vector<std::string>& channels) {
  // The EM61 types map a later time gate by default.
  const InstrumentRow* row = find_instrument(instrument_type);
  if (row && !row->mapped_channel.empty() &&
      std::find(channels.begin(), channels.end(), row->mapped_channel) != channels.end())
    return std::string(row->mapped_channel);
  return channels.empty() ? std::string() : channels.front();
}

SurveySamplesResult survey_samples(std::string_view bytes, std::string_view channel, int zone) {
  SurveySamplesResult result;
  ExportOptions options;
  options.zone = zone;
  const ExportTableResult read = build_export_table(bytes, options);
  if (!read.table) {
    result.error = read.error;
    return result;
  }
  const auto info = read_survey_file_info(bytes);
  return survey_samples(*read.table, info ? info->map_units : 0, channel);
}

SurveySamplesResult survey_samples(const ExportTable& table, int map_units, std::string_view channel) {
  SurveySamplesResult result;
  SurveySamples s;
  s.variant = table.variant;
  s.zone = table.zone;
  s.readings = table.rows.size();
  s.warnings = table.warnings;
  s.map_units = map_units;
  for (const ValueColumn& c : table.columns)
    if (!c.text) s.channels.push_back(c.name);
  s.channel = channel.empty() ? default_channel(table.variant.instrument_type, s.channels) : std::string(channel);
  const auto column = std::find_if(table.columns.begin(), table.columns.end(),
                                   [&](const ValueColumn& c) { return !c.text && c.name == s.channel; });
  if (column == table.columns.end()) {
    result.error = s.channels.empty() ? "the file holds no numeric channel" : "no channel '" + s.channel + "'";
    return result;
  }
  const std::size_t index = static_cast<std::size_t>(column - table.columns.begin());
  bool first_fix = true;
  for (const ExportRow& row : table.rows) {
    if (!row.position || index >= row.numbers.size()) continue;
    const std::optional<double> v = row.numbers[index];
    if (!v) continue;
    if (first_fix && row.position->geographic) {
      s.south = row.position->latitude < 0;
      first_fix = false;
    }
    // Geographic fixes are projected in metres; a total station's grid
    // values come in metres from the fix parser as well.
    const auto unit = row.position->geographic ? metres_to_working_unit : rts_metres_to_working_unit;
    s.samples.push_back({unit(row.position->easting, s.map_units), unit(row.position->northing, s.map_units), *v});
  }
  result.survey = std::move(s);
  return result;
}

}  // namespace quelor
