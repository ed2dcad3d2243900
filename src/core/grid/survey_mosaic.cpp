#include "grid/survey_mosaic.h"

#include <algorithm>

namespace quelor {

namespace {

// What two parts must share, and how a difference is told.
struct Sameness {
  const char* what;
  bool (*same)(const SurveySamples&, const SurveySamples&);
};
constexpr Sameness kSameness[] = {
    {"instruments", [](const SurveySamples& a,
                       const SurveySamples& b) { return a.variant.instrument_type == b.variant.instrument_type; }},
    {"UTM zones",
     [](const SurveySamples& a, const SurveySamples& b) { return a.zone == b.zone && a.south == b.south; }},
    {"units", [](const SurveySamples& a, const SurveySamples& b) { return a.map_units == b.map_units; }},
};

}  // namespace

std::string mixed_surveys(const std::vector<std::string>& names, const std::vector<const SurveySamples*>& surveys) {
  for (std::size_t i = 1; i < surveys.size(); ++i)
    for (const Sameness& rule : kSameness)
      if (!rule.same(*surveys[0], *surveys[i]))
        return names[0] + " and " + names[i] + " are of different " + rule.what + ": they cannot be one survey";
  return {};
}

bool add_survey_part(SurveyMosaicBuilder& b, SurveyPart part) {
  if (!b.mosaic.error.empty()) return false;
  SurveySamples& s = part.samples;
  if (!b.mosaic.survey) {
    b.names = {part.name};
    b.mosaic.survey = std::move(s);
    SurveySamples& joined = *b.mosaic.survey;
    for (std::string& w : joined.warnings) w = part.name + ": " + w;
    return true;
  }
  SurveySamples& joined = *b.mosaic.survey;
  b.mosaic.error = mixed_surveys({b.names[0], part.name}, {&joined, &s});
  if (!b.mosaic.error.empty()) {
    b.mosaic.survey.reset();
    return false;
  }
  b.names.push_back(part.name);
  joined.part_ends.push_back(joined.samples.size());
  joined.samples.insert(joined.samples.end(), s.samples.begin(), s.samples.end());
  std::vector<GridSample>().swap(s.samples);
  joined.readings += s.readings;
  for (const std::string& w : s.warnings) joined.warnings.push_back(part.name + ": " + w);
  return true;
}

SurveyMosaicResult survey_mosaic(std::vector<SurveyPart> parts) {
  if (parts.empty()) return {std::nullopt, "no data file"};
  SurveyMosaicBuilder b;
  for (SurveyPart& p : parts)
    if (!add_survey_part(b, std::move(p))) break;
  return std::move(b.mosaic);
}

}  // namespace quelor
