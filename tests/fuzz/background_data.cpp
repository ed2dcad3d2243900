// A survey data file loaded as a background file: its identification, its
// logged GPS sentences converted like live fixes into the survey's zone,
// the temporary point file read back and planned for drawing.
#include "background/data_file_conversion.h"
#include "background/point_file.h"
#include "background_survey.h"
#include "data_file_seeds.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() { return data_file_seeds(true); }

void fuzz_one(const FuzzInput& in) {
  const Variant v = variant_of(in.selector);
  BackgroundSurvey survey;
  survey.map_units = (in.selector >> 5) % 3;
  survey.zone = 17;
  survey.rts_units = (in.selector >> 3) % 3;
  survey.instrument_type = v.instrument_type;
  survey.navigation_mode = v.navigation_mode;
  const auto records =
      convert_data_file(in.rest, {survey.map_units, survey.zone, survey.rts_units, survey.instrument_type});
  if (records) {
    expect(records->size() % kPointRecordLength == 0, "whole point records");
    (void)read_point_file(*records);
  }
  BackgroundLoadOptions options;
  options.file_type = kBackgroundDataFile;
  options.display_type = in.selector % 4;
  load_background(in.rest, options, survey);
}

}  // namespace quelor::fuzz
