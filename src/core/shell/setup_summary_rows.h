#pragma once
// The "CURRENT PROGRAM SETTINGS" block of the setup screen: the rows of the
// current instrument, each a label and its value text, in the sections
// "SURVEY PARAMETERS" and "SYSTEM SETUP".

#include <string>
#include <vector>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr const char* kSummaryTitle = "CURRENT PROGRAM SETTINGS";
inline constexpr const char* kSurveySectionTitle = "SURVEY PARAMETERS";
inline constexpr const char* kSystemSectionTitle = "SYSTEM SETUP";

struct SummaryRow {
  std::string label;  // "Survey Mode:"
  std::string value;  // "AUTO"
  bool operator==(const SummaryRow&) const = default;
};

struct SettingsSummary {
  std::vector<SummaryRow> survey;  // "SURVEY PARAMETERS"
  std::vector<SummaryRow> system;  // "SYSTEM SETUP"
};

// The rows of the variant's instrument with the values of `s` (8-bit text;
// the survey line is shown as stored). An invalid variant gives no rows.
SettingsSummary settings_summary(const Settings& s, const Variant& v);

// The swath width in metres the summary shows as "Swath bar:": the Map
// Options choice (0.25 .. 10 m) on the EM31/EM38/EM34 families, the coil
// width times the swath factor on EM61, the sensor spacing on Grad601.
double summary_swath_width(const Settings& s, InstrumentType instrument_type);

}  // namespace quelor
