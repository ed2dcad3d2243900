#include "grid/survey_mosaic.h"

namespace quelor {

namespace {

// What two parts must share, and how a difference is told.
struct Sameness {
  const char* what;
  bool (*same)(const SurveySamples&, const SurveySamples&);
};
constexpr Sameness kSameness[] = {
    {"instruments", [](const SurveySamples& a, const SurveySamples& b) { return a.variant.instrument_type == b.variant.instrument_type; }},
    {"UTM zones", [](const SurveySamples& a, const SurveySamples& b) { return a.zone == b.zone && a.south == b.south; }},
    {"units", [](const SurveySamples& a, const SurveySamples& b) { return a.map_units == b.map_units; }},
};

}  // namespace

SurveyMosaicResult survey_mosaic(std::vector<SurveyPart> parts) {
  SurveyMosaicResult out;
  if (parts.empty()) {
    out.error = "no data file";
    return out;
  }
  SurveySamples joined = std::move(parts[0].samples);
  for (std::string& w : joined.warnings) w = parts[0].name + ": " + w;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const SurveySamples& s = parts[i].samples;
    for (const Sameness& rule : kSameness)
      if (!rule.same(joined, s)) {
        out.error = parts[0].name + " and " + parts[i].name + " are of different " + rule.what + ": grid them apart";
        return out;
      }
    joined.samples.insert(joined.samples.end(), s.samples.begin(), s.samples.end());
    joined.readings += s.readings;
    for (const std::string& w : s.warnings) joined.warnings.push_back(parts[i].name + ": " + w);
  }
  out.survey = std::move(joined);
  return out;
}

}  // namespace quelor
