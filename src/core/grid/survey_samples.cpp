#include "grid/survey_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "background/survey_file.h"
#include "datafile/record_cursor.h"
#include "export/export_table.h"
#include "gps/units.h"
#include "variant/instrument.h"

namespace quelor {

std::string default_channel(InstrumentType instrument_type, const std::vector<std::string>& channels) {
  // The EM61 types map a later time gate by default.
  const InstrumentRow* row = find_instrument(instrument_type);
  if (row && !row->mapped_channel.empty() &&
      std::find(channels.begin(), channels.end(), row->mapped_channel) != channels.end())
    return std::string(row->mapped_channel);
  return channels.empty() ? std::string() : channels.front();
}

namespace {

// The numeric channels among `columns`.
std::vector<std::string> numeric_channels(const std::vector<ValueColumn>& columns, const std::vector<bool>* used) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (!columns[i].text && (!used || (*used)[i])) out.push_back(columns[i].name);
  return out;
}

std::optional<std::size_t> numeric_column(const std::vector<ValueColumn>& columns, const std::string& name) {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (!columns[i].text && columns[i].name == name) return i;
  return std::nullopt;
}

// Geographic fixes are projected in metres; a total station's grid values
// come in metres from the fix parser as well.
GridSample sample_at(const PathPosition& p, double value, int map_units) {
  const auto unit = p.geographic ? metres_to_working_unit : rts_metres_to_working_unit;
  return {unit(p.easting, map_units), unit(p.northing, map_units), value};
}

// Decoded values are finite: NaN marks a reading without one.
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// One walk of the file keeping the value of one column of each reading
// until its position is known, and which columns hold any value.
struct SampleWalk {
  std::string channel;  // as asked; empty: the default
  int map_units = 0;
  std::optional<std::size_t> column;  // taken; chosen at the first reading
  bool chosen = false;
  std::vector<bool> used;
  std::vector<std::optional<double>> numbers;  // of the reading being read
  std::vector<double> pending;                 // the taken value of readings awaiting positions (kNoValue: none)
  std::size_t placed = 0;                      // of them, those given their positions
  SurveySamples s;
  bool first_fix = true;

  void choose(InstrumentType instrument_type, const std::vector<ValueColumn>& columns) {
    chosen = true;
    used.assign(columns.size(), false);
    const std::string name =
        channel.empty() ? default_channel(instrument_type, numeric_channels(columns, nullptr)) : channel;
    column = numeric_column(columns, name);
  }

  void reading(const ReadingHead& head, const DecodeContext& decode, std::string_view body) {
    if (!chosen) choose(decode.instrument_type, head.columns);
    reading_numbers(decode, body, numbers);
    for (std::size_t i = 0; i < used.size() && i < numbers.size(); ++i)
      if (numbers[i]) used[i] = true;
    const std::optional<double> v = column && *column < numbers.size() ? numbers[*column] : std::nullopt;
    pending.push_back(v.value_or(kNoValue));
    ++s.readings;
  }

  void positions(std::span<const std::optional<PathPosition>> at) {
    for (std::size_t i = 0; i < at.size() && placed < pending.size(); ++i) {
      const double v = pending[placed++];
      if (!at[i] || std::isnan(v)) continue;
      if (first_fix && at[i]->geographic) {
        s.south = at[i]->latitude < 0;
        first_fix = false;
      }
      s.samples.push_back(sample_at(*at[i], v, map_units));
    }
    if (placed == pending.size()) {
      pending.clear();
      placed = 0;
    }
  }
};

// Walks `bytes` taking `column` (nothing: chosen at the first reading).
SampleWalk walk_samples(std::string_view bytes, const ExportOptions& options, const std::string& channel, int map_units,
                        std::string& error, std::optional<ExportTable>& table) {
  SampleWalk walk;
  // A sample a reading at most: room for them all at once.
  if (const DataFile file = open_data_file(bytes); file.record_length > 0)
    walk.s.samples.reserve(bytes.size() / static_cast<std::size_t>(file.record_length));
  walk.channel = channel;
  walk.map_units = map_units;
  ReadingVisitor visitor;
  visitor.reading = [&](const ReadingHead& h, const DecodeContext& d, std::string_view b) { walk.reading(h, d, b); };
  visitor.positions = [&](std::span<const std::optional<PathPosition>> at) { walk.positions(at); };
  ExportTableResult read = walk_survey_readings(bytes, options, visitor);
  error = read.error;
  table = std::move(read.table);
  return walk;
}

}  // namespace

SurveySamplesResult survey_samples(std::string_view bytes, std::string_view channel, int zone) {
  SurveySamplesResult result;
  ExportOptions options;
  options.zone = zone;
  const auto info = read_survey_file_info(bytes);
  const int map_units = info ? info->map_units : 0;
  std::optional<ExportTable> table;
  SampleWalk walk = walk_samples(bytes, options, std::string(channel), map_units, result.error, table);
  if (!table) return result;
  // The channels are those with a value somewhere in the file: the default
  // is chosen among them, which the first reading could not know.
  const bool any = std::find(walk.used.begin(), walk.used.end(), true) != walk.used.end();
  const std::vector<std::string> channels = numeric_channels(table->columns, any ? &walk.used : nullptr);
  const std::string name =
      channel.empty() ? default_channel(table->variant.instrument_type, channels) : std::string(channel);
  if (std::find(channels.begin(), channels.end(), name) == channels.end()) {
    result.error = channels.empty() ? "the file holds no numeric channel" : "no channel '" + name + "'";
    return result;
  }
  if (numeric_column(table->columns, name) != walk.column)
    walk = walk_samples(bytes, options, name, map_units, result.error, table);
  SurveySamples& s = walk.s;
  s.variant = table->variant;
  s.zone = table->zone;
  s.warnings = std::move(table->warnings);
  s.map_units = map_units;
  s.channels = channels;
  s.channel = name;
  result.survey = std::move(s);
  return result;
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
    s.samples.push_back(sample_at(*row.position, *v, s.map_units));
  }
  result.survey = std::move(s);
  return result;
}

}  // namespace quelor
