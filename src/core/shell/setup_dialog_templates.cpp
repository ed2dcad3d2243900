#include "shell/setup_dialog_templates.h"

#include <array>

#include "shell/setup_keys.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// A template and its narrow form (empty when the template has none).
struct TemplatePair {
  std::string_view wide;
  std::string_view narrow;
};

// Indexed by instrument type + 4: Grad601, (unused), EM61-LX2, EM61-MK2,
// EM31-MK2, (unused), (unused), EM38, EM34-3, (unused), (unused), EM38-MK2,
// EM38-4, CS-21.
constexpr int kTypeSlots = 14;
using PerType = std::array<TemplatePair, kTypeSlots>;

constexpr PerType kSurveySetup{{
    {"SURVEYSETUP601", ""},
    {},
    {"SURVEYSETUPLX2", ""},
    {"SURVEYSETUP", ""},
    {"SURVEYSETUP31", ""},
    {},
    {},
    {"SURVEYSETUP38", ""},
    {"SURVEYSETUP34", ""},
    {},
    {},
    {"SURVEYSETUP38MK2", ""},
    {"SURVEYSETUP384", ""},
    {"SURVEYSETUP38MK2", ""},
}};

// EM61-MK2 here is the navigation line's; the real-time map line has the
// tilt-meter templates.
constexpr PerType kSystemSetup{{
    {"SYSTEM601", "SYSTEMNARROW601"},
    {},
    {"SYSTEMLX2", "SYSTEMLX2V"},
    {"SYSTEM", "SYSTEMNARROW"},
    {"SYSTEM", "SYSTEMNARROW"},
    {},
    {},
    {"SYSTEM", "SYSTEMNARROW"},
    {"SYSTEM", "SYSTEMNARROW"},
    {},
    {},
    {"SYSTEM", "SYSTEMNARROW"},
    {"SYSTEM384", ""},
    {"SYSTEMCS21", ""},
}};
constexpr TemplatePair kSystemTilt61{"SYSTEMTILT61", "SYSTEMTILT61NARROW"};

constexpr PerType kGeometrySetup{{
    {"ARRAYGEOMETRY601", ""},
    {},
    {"ALARMLX2", ""},
    {"ARRAYGEOMETRY", "ARRAYGEOMETRYNARROW"},
    {"ARRAYGEOMETRY31", ""},
    {},
    {},
    {"ARRAYGEOMETRY38", ""},
    {"ARRAYGEOMETRY34", ""},
    {},
    {},
    {"ARRAYGEOMETRY38", ""},
    {"ARRAYGEOMETRY384", ""},
    {"ARRAYGEOMETRY384", ""},
}};

constexpr PerType kProfilesOptions{{
    {"DISPLAYSETUP601", ""},
    {},
    {"DISPLAYSETUPLX2", ""},
    {"DISPLAYSETUP", ""},
    {"DISPLAYSETUP31", ""},
    {},
    {},
    {"DISPLAYSETUP31", ""},
    {"DISPLAYSETUP34", ""},
    {},
    {},
    {"DISPLAYSETUP38MK2", ""},
    {"DISPLAYSETUP384", ""},
    {"DISPLAYSETUPCS21", ""},
}};

constexpr TemplatePair kGpsInput{"GPSINPUT", "GPSINPUTNARROW"};
constexpr std::array<TemplatePair, 2> kMapOptions{{
    {"DISPLAYOPTIONS31", "DISPLAYOPTIONS31NARROW"},
    {"DISPLAYOPTIONS31TRM", "DISPLAYOPTIONS31TRMNARROW"},
}};

constexpr std::array<std::string_view, 40> kAllTemplates{
    "SURVEYSETUP31",
    "SURVEYSETUP38",
    "SURVEYSETUP34",
    "SURVEYSETUP38MK2",
    "SURVEYSETUP384",
    "SURVEYSETUP601",
    "SURVEYSETUPLX2",
    "SURVEYSETUP",
    "SYSTEM",
    "SYSTEMNARROW",
    "SYSTEM384",
    "SYSTEMCS21",
    "SYSTEM601",
    "SYSTEMNARROW601",
    "SYSTEMLX2",
    "SYSTEMLX2V",
    "SYSTEMTILT61",
    "SYSTEMTILT61NARROW",
    "ARRAYGEOMETRY31",
    "ARRAYGEOMETRY38",
    "ARRAYGEOMETRY34",
    "ARRAYGEOMETRY384",
    "ARRAYGEOMETRY601",
    "ALARMLX2",
    "ARRAYGEOMETRY",
    "ARRAYGEOMETRYNARROW",
    "GPSINPUT",
    "GPSINPUTNARROW",
    "DISPLAYOPTIONS31",
    "DISPLAYOPTIONS31TRM",
    "DISPLAYOPTIONS31NARROW",
    "DISPLAYOPTIONS31TRMNARROW",
    "DISPLAYSETUP31",
    "DISPLAYSETUP34",
    "DISPLAYSETUP38MK2",
    "DISPLAYSETUP384",
    "DISPLAYSETUPCS21",
    "DISPLAYSETUP601",
    "DISPLAYSETUPLX2",
    "DISPLAYSETUP",
};

std::string_view pick(const TemplatePair& pair, int client_width, int narrow_below) {
  if (!pair.narrow.empty() && client_width < narrow_below) return pair.narrow;
  return pair.wide;
}

std::string_view per_type(const PerType& table, InstrumentType instrument_type, int client_width, int narrow_below) {
  return pick(table[type_index(instrument_type)], client_width, narrow_below);
}

}  // namespace

bool is_dialog_command(int command) {
  return command >= kCommandSurveySetup && command <= kCommandProfilesOptions && command != kCommandGpsMonitoring;
}

std::string_view setup_dialog_template(int command, const Variant& v, int client_width) {
  if (!is_valid_variant(v)) return {};
  const InstrumentType type = v.instrument_type;
  switch (command) {
    case kCommandSurveySetup: return per_type(kSurveySetup, type, client_width, 0);
    case kCommandSystemSetup:
      if (has_trait(type, Trait::kTiltMeter) && v.navigation_mode == kRealTimeMap)
        return pick(kSystemTilt61, client_width, kNarrowSystemWidth);
      return per_type(kSystemSetup, type, client_width, kNarrowSystemWidth);
    case kCommandGeometrySetup: return per_type(kGeometrySetup, type, client_width, kNarrowGeometryWidth);
    case kCommandGpsPortSetup: return pick(kGpsInput, client_width, kNarrowGpsWidth);
    case kCommandMapOptions:
      return pick(kMapOptions[v.navigation_mode == kNavigation ? 1 : 0], client_width, kNarrowMapOptionsWidth);
    case kCommandProfilesOptions: return per_type(kProfilesOptions, type, client_width, 0);
    default: return {};
  }
}

std::string_view setup_dialog_title(int command, InstrumentType instrument_type) {
  switch (command) {
    case kCommandSurveySetup: return "Survey Setup";
    case kCommandSystemSetup: return "System Setup";
    case kCommandGeometrySetup:
      return has_trait(instrument_type, Trait::kAlarmSetup) ? "Alarm Setup" : "Geometry Setup";
    case kCommandGpsPortSetup: return "GPS Port Setup";
    case kCommandMapOptions: return "Map Display Options";
    case kCommandProfilesOptions: return "Profiles Options";
    default: return {};
  }
}

std::span<const std::string_view> all_setup_dialog_templates() { return kAllTemplates; }

}  // namespace quelor
