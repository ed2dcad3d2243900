#pragma once
// Several data files gridded as one survey: their readings of one channel
// joined in the order of the files, refused with one line when the files
// are of different instruments, UTM zones, hemispheres or units.

#include <optional>
#include <string>
#include <vector>

#include "grid/survey_samples.h"

namespace quelor {

struct SurveyPart {
  std::string name;  // how messages call the file
  SurveySamples samples;
};

struct SurveyMosaicResult {
  std::optional<SurveySamples> survey;  // the first part's instrument, zone and unit; every part's readings
  std::string error;
};

SurveyMosaicResult survey_mosaic(std::vector<SurveyPart> parts);

// The same a file at a time, so that only the joined readings and one
// file's are held: `add_survey_part` joins `part` (its readings moved out)
// or sets `mosaic.error`.
struct SurveyMosaicBuilder {
  SurveyMosaicResult mosaic;
  std::vector<std::string> names;
};
bool add_survey_part(SurveyMosaicBuilder& b, SurveyPart part);

// Why files cannot be one survey ("a.T31 and b.T31 are of different ..."),
// or empty when they can; `names` and `surveys` side by side.
std::string mixed_surveys(const std::vector<std::string>& names, const std::vector<const SurveySamples*>& surveys);

}  // namespace quelor
