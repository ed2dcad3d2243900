#include "shell/setup_dialog_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "shell/setup_keys.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};
constexpr int kWide = 1280, kNarrow = 580;

std::string name(int command, InstrumentType type, int nav, int width) {
  return std::string(setup_dialog_template(command, {type, nav}, width));
}

// One row per instrument: survey, system (wide / narrow), geometry (wide /
// narrow), profiles.
struct Row {
  InstrumentType type;
  const char* survey;
  const char* system;
  const char* system_narrow;
  const char* geometry;
  const char* geometry_narrow;
  const char* profiles;
};

const Row kTable[] = {
    {kEm31Mk2, "SURVEYSETUP31", "SYSTEM", "SYSTEMNARROW", "ARRAYGEOMETRY31", "ARRAYGEOMETRY31", "DISPLAYSETUP31"},
    {kEm38, "SURVEYSETUP38", "SYSTEM", "SYSTEMNARROW", "ARRAYGEOMETRY38", "ARRAYGEOMETRY38", "DISPLAYSETUP31"},
    {kEm34_3, "SURVEYSETUP34", "SYSTEM", "SYSTEMNARROW", "ARRAYGEOMETRY34", "ARRAYGEOMETRY34", "DISPLAYSETUP34"},
    {kEm38Mk2, "SURVEYSETUP38MK2", "SYSTEM", "SYSTEMNARROW", "ARRAYGEOMETRY38", "ARRAYGEOMETRY38", "DISPLAYSETUP38MK2"},
    {kEm38_4, "SURVEYSETUP384", "SYSTEM384", "SYSTEM384", "ARRAYGEOMETRY384", "ARRAYGEOMETRY384", "DISPLAYSETUP384"},
    {kCs21, "SURVEYSETUP38MK2", "SYSTEMCS21", "SYSTEMCS21", "ARRAYGEOMETRY384", "ARRAYGEOMETRY384", "DISPLAYSETUPCS21"},
    {kGrad601, "SURVEYSETUP601", "SYSTEM601", "SYSTEMNARROW601", "ARRAYGEOMETRY601", "ARRAYGEOMETRY601",
     "DISPLAYSETUP601"},
    {kEm61Lx2, "SURVEYSETUPLX2", "SYSTEMLX2", "SYSTEMLX2V", "ALARMLX2", "ALARMLX2", "DISPLAYSETUPLX2"},
    {kEm61Mk2, "SURVEYSETUP", "SYSTEM", "SYSTEMNARROW", "ARRAYGEOMETRY", "ARRAYGEOMETRYNARROW", "DISPLAYSETUP"},
};

TEST(SetupDialogTemplates, TableByInstrumentInTheNavigationLine) {
  for (const Row& r : kTable) {
    SCOPED_TRACE(r.type);
    EXPECT_EQ(name(kCommandSurveySetup, r.type, 1, kWide), r.survey);
    EXPECT_EQ(name(kCommandSurveySetup, r.type, 1, kNarrow), r.survey);
    EXPECT_EQ(name(kCommandSystemSetup, r.type, 1, kWide), r.system);
    EXPECT_EQ(name(kCommandSystemSetup, r.type, 1, kNarrow), r.system_narrow);
    EXPECT_EQ(name(kCommandGeometrySetup, r.type, 1, kWide), r.geometry);
    EXPECT_EQ(name(kCommandGeometrySetup, r.type, 1, kNarrow), r.geometry_narrow);
    EXPECT_EQ(name(kCommandProfilesOptions, r.type, 1, kWide), r.profiles);
    EXPECT_EQ(name(kCommandProfilesOptions, r.type, 1, kNarrow), r.profiles);
  }
}

TEST(SetupDialogTemplates, RealTimeMapLineDiffersOnlyForEm61Mk2SystemAndMapOptions) {
  for (InstrumentType type : kTypes)
    for (int command : {1, 2, 3, 4, 7})
      for (int width : {500, 620, 700, 1280}) {
        if (type == kEm61Mk2 && command == kCommandSystemSetup) continue;
        EXPECT_EQ(name(command, type, 0, width), name(command, type, 1, width))
            << type << " " << command << " " << width;
      }
  EXPECT_EQ(name(kCommandSystemSetup, kEm61Mk2, 0, 640), "SYSTEMTILT61");
  EXPECT_EQ(name(kCommandSystemSetup, kEm61Mk2, 0, 639), "SYSTEMTILT61NARROW");
}

TEST(SetupDialogTemplates, NarrowThresholdsAreStrictlyBelow) {
  struct Case {
    int command;
    InstrumentType type;
    int nav, width;
    const char* expected;
  };
  const Case cases[] = {
      {kCommandSystemSetup, kEm31Mk2, 1, 640, "SYSTEM"},
      {kCommandSystemSetup, kEm31Mk2, 1, 639, "SYSTEMNARROW"},
      {kCommandSystemSetup, kGrad601, 0, 639, "SYSTEMNARROW601"},
      {kCommandSystemSetup, kEm61Lx2, 0, 639, "SYSTEMLX2V"},
      {kCommandSystemSetup, kEm61Lx2, 0, 640, "SYSTEMLX2"},
      {kCommandGeometrySetup, kEm61Mk2, 0, 600, "ARRAYGEOMETRY"},
      {kCommandGeometrySetup, kEm61Mk2, 0, 599, "ARRAYGEOMETRYNARROW"},
      {kCommandGpsPortSetup, kEm38, 0, 600, "GPSINPUT"},
      {kCommandGpsPortSetup, kEm38, 1, 599, "GPSINPUTNARROW"},
      {kCommandMapOptions, kEm31Mk2, 0, 784, "DISPLAYOPTIONS31"},
      {kCommandMapOptions, kEm31Mk2, 0, 783, "DISPLAYOPTIONS31NARROW"},
      {kCommandMapOptions, kGrad601, 1, 784, "DISPLAYOPTIONS31TRM"},
      {kCommandMapOptions, kGrad601, 1, 783, "DISPLAYOPTIONS31TRMNARROW"},
  };
  for (const Case& c : cases) EXPECT_EQ(name(c.command, c.type, c.nav, c.width), c.expected) << c.expected;
}

TEST(SetupDialogTemplates, CommandsWithoutDialogAndBadVariantsGiveNothing) {
  for (int command : {-1, 0, 5, 8, 9, 10, 420}) {
    EXPECT_FALSE(is_dialog_command(command)) << command;
    EXPECT_TRUE(setup_dialog_template(command, {kEm31Mk2, 1}, kWide).empty()) << command;
    EXPECT_TRUE(setup_dialog_title(command, kEm31Mk2).empty()) << command;
  }
  EXPECT_TRUE(setup_dialog_template(1, {kEm31Mk2, 2}, kWide).empty());
}

TEST(SetupDialogTemplates, EveryTemplateOfEveryVariantIsListedAndEveryListedOneIsUsed) {
  const auto all = all_setup_dialog_templates();
  const std::set<std::string_view> listed(all.begin(), all.end());
  EXPECT_EQ(listed.size(), all.size()) << "duplicate template name";
  std::set<std::string_view> used;
  for (InstrumentType type : kTypes)
    for (int nav : {0, 1})
      for (int command = 0; command <= 9; ++command)
        for (int width : {300, 599, 600, 639, 640, 783, 784, 1280}) {
          const std::string_view t = setup_dialog_template(command, {type, nav}, width);
          EXPECT_EQ(t.empty(), !is_dialog_command(command)) << type << " " << command;
          if (t.empty()) continue;
          EXPECT_TRUE(listed.count(t)) << t;
          used.insert(t);
        }
  EXPECT_EQ(used, listed);
}

TEST(SetupDialogTemplates, Titles) {
  EXPECT_EQ(setup_dialog_title(kCommandSurveySetup, kEm38), "Survey Setup");
  EXPECT_EQ(setup_dialog_title(kCommandSystemSetup, kEm38), "System Setup");
  EXPECT_EQ(setup_dialog_title(kCommandGeometrySetup, kEm38), "Geometry Setup");
  EXPECT_EQ(setup_dialog_title(kCommandGeometrySetup, kEm61Lx2), "Alarm Setup");
  EXPECT_EQ(setup_dialog_title(kCommandGeometrySetup, kEm61Mk2), "Geometry Setup");
  EXPECT_EQ(setup_dialog_title(kCommandGpsPortSetup, kEm38), "GPS Port Setup");
  EXPECT_EQ(setup_dialog_title(kCommandMapOptions, kEm38), "Map Display Options");
  EXPECT_EQ(setup_dialog_title(kCommandProfilesOptions, kEm38), "Profiles Options");
}

}  // namespace
}  // namespace quelor
