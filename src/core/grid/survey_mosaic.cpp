#include "grid/survey_mosaic.h"

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

SurveyMosaicResult survey_mosaic(std::vector<SurveyPart> parts) {
  SurveyMosaicResult out;
  if (parts.empty()) {
    out.error = "no data file";
    return out;
  }
  std::vector<std::string> names;
  std::vector<const SurveySamples*> surveys;
  for (const SurveyPart& p : parts) {
    names.push_back(p.name);
    surveys.push_back(&p.samples);
  }
  out.error = mixed_surveys(names, surveys);
  if (!out.error.empty()) return out;
  SurveySamples joined = std::move(parts[0].samples);
  for (std::string& w : joined.warnings) w = parts[0].name + ": " + w;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const SurveySamples& s = parts[i].samples;
    joined.samples.insert(joined.samples.end(), s.samples.begin(), s.samples.end());
    joined.readings += s.readings;
    for (const std::string& w : s.warnings) joined.warnings.push_back(parts[i].name + ": " + w);
  }
  out.survey = std::move(joined);
  return out;
}

}  // namespace quelor
