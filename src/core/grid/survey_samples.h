#pragma once
// The readings of one channel of a survey data file as grid samples: read
// through the export's table (positions interpolated by tick between the
// logged fixes; readings without a position, or without a value in that
// channel, are left out), in the file's working unit (metres, feet or US
// survey feet as its first record says), with the zone and hemisphere of the
// fixes. Channels are named as the export names its columns; the default is
// the channel the colour map shows with the instrument's default settings.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid.h"
#include "variant/variant.h"

namespace quelor {

struct SurveySamples {
  Variant variant;
  std::string channel;                 // the channel taken
  std::vector<std::string> channels;   // the file's numeric channels
  std::vector<GridSample> samples;     // in file order
  std::vector<std::size_t> part_ends;  // several files: where each one's samples end but the last's
  std::size_t readings = 0;            // reading records in the file
  int zone = 0;                        // UTM zone; 0: no geographic fix
  bool south = false;                  // southern hemisphere (first fix)
  int map_units = 0;                   // WorkingUnit of x and y
  std::vector<std::string> warnings;
};

struct SurveySamplesResult {
  std::optional<SurveySamples> survey;
  std::string error;
};

// `channel` empty: the default channel. `zone`: 1...60, or kAutomaticZone.
SurveySamplesResult survey_samples(std::string_view bytes, std::string_view channel, int zone);

struct ExportTable;
// The same from a table already read (`map_units`: the file's working unit),
// for a caller that needs the table for more than the samples.
SurveySamplesResult survey_samples(const ExportTable& table, int map_units, std::string_view channel);

// The channel the colour map shows by default, among `channels`.
std::string default_channel(InstrumentType instrument_type, const std::vector<std::string>& channels);

}  // namespace quelor
