#include "setup/survey_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "settings/instrument_defaults.h"
#include "settings/settings_text.h"
#include "setup/control_ids.h"

namespace quelor {
namespace {

Settings defaults_of(InstrumentType type) { return initial_settings(Variant{type, kNavigation}); }

// Operator entries: an edit's text, or a list selection (the mode list
// goes through its change handling).
struct Entry {
  int id;
  std::wstring text;
  int selection = -1;
};

Settings run_ok(InstrumentType type, const Settings& start, const std::vector<Entry>& entries) {
  const Variant v{type, kNavigation};
  SurveySetupSession ss = survey_setup_session(start, v);
  for (const Entry& e : entries) {
    if (e.id == IDC_SURVEY_MODE) {
      survey_setup_mode_selected(ss, e.selection, start, v);
      continue;
    }
    DialogControl* c = ss.form.find(e.id);
    EXPECT_NE(c, nullptr) << "control " << e.id;
    if (!c) continue;
    if (e.selection >= 0)
      c->selection = e.selection;
    else
      c->text = e.text;
  }
  Settings s = start;
  store_survey_setup(ss, s, v);
  return s;
}

struct OkCase {
  const char* name;
  InstrumentType type;
  std::function<void(Settings&)> before;
  std::vector<Entry> entries;
  std::function<void(const Settings&)> check;
};

TEST(SurveySetup, OkStoresTheEntries) {
  const OkCase cases[] = {
      {"EM34-3 samples 0 become 1",
       kEm34_3,
       [](Settings& s) { s.survey_mode = 2; },
       {{IDC_RATE, L"0"}},
       [](const Settings& s) {
         EXPECT_EQ(s.manual_reading_count, 1);
         EXPECT_EQ(s.survey_mode, 2);
       }},
      {"EM34-3 samples 2000 become 999",
       kEm34_3,
       [](Settings& s) { s.survey_mode = 2; },
       {{IDC_RATE, L"2000"}},
       [](const Settings& s) { EXPECT_EQ(s.manual_reading_count, 999); }},
      {"EM34-3 samples keep the integer part",
       kEm34_3,
       [](Settings& s) { s.survey_mode = 2; },
       {{IDC_RATE, L" 12.9"}},
       [](const Settings& s) { EXPECT_EQ(s.manual_reading_count, 12); }},
      {"EM34-3 selection 1 is Manual",
       kEm34_3,
       nullptr,
       {{IDC_SURVEY_MODE, L"", 1}, {IDC_RATE, L"7"}, {IDC_DIPOLE, L"", 3}},
       [](const Settings& s) {
         EXPECT_EQ(s.survey_mode, 2);
         EXPECT_EQ(s.manual_reading_count, 7);
         EXPECT_EQ(s.dipole_mode, 3);
         EXPECT_DOUBLE_EQ(s.reading_interval, 0.2);
       }},
      {"rate 4 per second",
       kEm31Mk2,
       nullptr,
       {{IDC_RATE, L"4"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 0.25); }},
      {"rate 0 becomes 1",
       kEm31Mk2,
       nullptr,
       {{IDC_RATE, L"0"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 1.0); }},
      {"negative rate becomes 1",
       kEm38,
       nullptr,
       {{IDC_RATE, L"-3"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 1.0); }},
      {"infinite rate is no number",
       kEm31Mk2,
       nullptr,
       {{IDC_RATE, L"inf"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 1.0); }},
      {"overflowing rate is no number",
       kEm38Mk2,
       nullptr,
       {{IDC_RATE, L"1e999"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 1.0); }},
      {"nan rate is no number",
       kEm61Mk2,
       nullptr,
       {{IDC_RATE, L"nan"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.reading_interval, 1.0); }},
      {"component, dipole and lines",
       kEm31Mk2,
       nullptr,
       {{IDC_COMPONENT, L"", 1},
        {IDC_DIPOLE, L"", 1},
        {IDC_SURVEY_LINE, L"C12"},
        {IDC_LINE_INCREMENT, L"2.5"},
        {IDC_LINE_SEQUENCE, L"", 1},
        {IDC_LINE_DIRECTION, L"", 3},
        {IDC_START_STATION, L"-10.125"},
        {IDC_STATION_INCREMENT, L"0.5"}},
       [](const Settings& s) {
         EXPECT_EQ(s.component, 1);
         EXPECT_EQ(s.dipole_mode, 1);
         EXPECT_EQ(s.survey_line, "C12");
         EXPECT_DOUBLE_EQ(s.line_increment, 2.5);
         EXPECT_EQ(s.line_sequence, 1);
         EXPECT_EQ(s.line_direction, 3);
         EXPECT_DOUBLE_EQ(s.start_station, -10.125);
         EXPECT_DOUBLE_EQ(s.station_increments[0], 0.5);
       }},
      {"line names cannot break a settings line",
       kEm38,
       nullptr,
       {{IDC_SURVEY_LINE, std::wstring(L"A") + wchar_t(0x040A) + L"B" + wchar_t(0x040D) + wchar_t(0xE9)}},
       [](const Settings& s) { EXPECT_EQ(s.survey_line, "A?B?\xE9"); }},
      {"line names keep 15 characters",
       kEm38,
       nullptr,
       {{IDC_SURVEY_LINE, L"0123456789ABCDEFGH"}},
       [](const Settings& s) { EXPECT_EQ(s.survey_line, "0123456789ABCDE"); }},
      {"station increment 0 becomes 1",
       kEm38Mk2,
       nullptr,
       {{IDC_STATION_INCREMENT, L"0"}},
       [](const Settings& s) { EXPECT_DOUBLE_EQ(s.station_increments[0], 1.0); }},
      {"EM61-MK2 Wheel keeps each mode's increment",
       kEm61Mk2,
       nullptr,
       {{IDC_STATION_INCREMENT, L"3"},
        {IDC_SURVEY_MODE, L"", 1},
        {IDC_STATION_INCREMENT, L"0.25"},
        {IDC_NULL_VALUES, L"", 1}},
       [](const Settings& s) {
         EXPECT_EQ(s.survey_mode, 1);
         EXPECT_DOUBLE_EQ(s.station_increments[0], 3.0);
         EXPECT_DOUBLE_EQ(s.station_increments[1], 0.25);
         EXPECT_DOUBLE_EQ(s.station_increments[2], 2.0);
         EXPECT_DOUBLE_EQ(s.reading_interval, 0.2);
         EXPECT_EQ(s.null_values, 1);
       }},
      {"EM61-LX2 offsets",
       kEm61Lx2,
       nullptr,
       {{IDC_LX2_X_OFFSET, L"0.75"}, {IDC_LX2_Y_OFFSET, L"-1.5"}},
       [](const Settings& s) {
         EXPECT_DOUBLE_EQ(s.gps_x_offset, 0.75);
         EXPECT_DOUBLE_EQ(s.gps_y_offset, -1.5);
       }},
      {"EM38-4 keeps its survey mode",
       kEm38_4,
       [](Settings& s) { s.survey_mode = 1; },
       {},
       [](const Settings& s) { EXPECT_EQ(s.survey_mode, 1); }},
  };
  for (const OkCase& c : cases) {
    SCOPED_TRACE(c.name);
    Settings start = defaults_of(c.type);
    if (c.before) c.before(start);
    c.check(run_ok(c.type, start, c.entries));
  }
}

TEST(SurveySetup, AutoWheelAutoRestoresEachModesIncrement) {
  const Variant v{kEm61Mk2, kNavigation};
  const Settings s = defaults_of(kEm61Mk2);
  SurveySetupSession ss = survey_setup_session(s, v);
  struct Step {
    int selection;
    const wchar_t* increment_shown;
    const wchar_t* label;
    const wchar_t* rate;
    bool rate_read_only;
  };
  const Step steps[] = {
      {1, L"0.200", L"Wheel Increment", L"Not Available", true},
      {0, L"1.000", L"Station Increment", L"5.00", false},
      {2, L"2.000", L"Station Increment", L"Not Available", true},
      {0, L"1.000", L"Station Increment", L"5.00", false},
  };
  EXPECT_EQ(ss.form.text(IDC_STATION_INCREMENT), L"1.000");
  for (const Step& step : steps) {
    survey_setup_mode_selected(ss, step.selection, s, v);
    EXPECT_EQ(ss.form.text(IDC_STATION_INCREMENT), step.increment_shown) << step.selection;
    EXPECT_EQ(ss.form.text(IDC_STATION_INCREMENT_LABEL), step.label);
    EXPECT_EQ(ss.form.text(IDC_RATE), step.rate);
    EXPECT_EQ(ss.form.find(IDC_RATE)->read_only, step.rate_read_only);
  }
}

TEST(SurveySetup, Em34ModeChangeRefillsTheDipoleList) {
  const Variant v{kEm34_3, kNavigation};
  Settings s = defaults_of(kEm34_3);
  s.dipole_mode = 4;
  SurveySetupSession ss = survey_setup_session(s, v);
  EXPECT_EQ(ss.form.text(IDC_DIPOLE_LABEL), L"Dipole/Separ.:");
  EXPECT_EQ(ss.form.find(IDC_DIPOLE)->items[4], L"Horizontal-20m");
  EXPECT_EQ(ss.form.text(IDC_STATION_INCREMENT_LABEL), L"Stn. Increment");
  survey_setup_mode_selected(ss, 1, s, v);
  const DialogControl* dipole = ss.form.find(IDC_DIPOLE);
  EXPECT_EQ(ss.form.text(IDC_DIPOLE_LABEL), L"Configurations:");
  EXPECT_EQ(dipole->items.front(), L"1 reading");
  EXPECT_EQ(dipole->items.back(), L"6 readings");
  EXPECT_EQ(dipole->selection, 4);
  EXPECT_EQ(ss.form.text(IDC_RATE_LABEL), L"Samples/Rdg:");
  EXPECT_EQ(ss.form.text(IDC_RATE), L" 10");
  EXPECT_FALSE(ss.form.find(IDC_RATE)->read_only);
}

TEST(SurveySetup, ListsFollowTheInstrument) {
  struct Row {
    InstrumentType type;
    std::size_t modes;
    bool component, dipole, rate, null_values, offsets;
  };
  const Row rows[] = {
      {kEm31Mk2, 1, true, true, true, false, false},    {kEm38, 1, true, true, true, false, false},
      {kEm34_3, 2, false, true, true, false, false},    {kEm38Mk2, 1, false, true, true, false, false},
      {kEm38_4, 1, false, false, false, false, false},  {kCs21, 1, false, false, true, false, false},
      {kGrad601, 1, false, false, false, false, false}, {kEm61Lx2, 1, false, false, true, true, true},
      {kEm61Mk2, 3, false, false, true, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    const SurveySetupSession ss = survey_setup_session(defaults_of(r.type), Variant{r.type, kNavigation});
    EXPECT_EQ(ss.form.find(IDC_SURVEY_MODE)->items.size(), r.modes);
    EXPECT_EQ(ss.form.has(IDC_COMPONENT), r.component);
    EXPECT_EQ(ss.form.has(IDC_DIPOLE), r.dipole);
    EXPECT_EQ(ss.form.has(IDC_RATE), r.rate);
    EXPECT_EQ(ss.form.has(IDC_NULL_VALUES), r.null_values);
    EXPECT_EQ(ss.form.has(IDC_LX2_X_OFFSET), r.offsets);
    EXPECT_EQ(ss.form.find(IDC_SURVEY_LINE)->text_limit, kSurveyLineLimit);
  }
}

// A file's survey mode that the mode list cannot show: EM38-4 keeps its
// mode on OK, so the field shows and stores that mode's increment.
TEST(SurveySetup, Em38_4ShowsAndStoresTheActiveModesIncrement) {
  Settings start = defaults_of(kEm38_4);
  start.survey_mode = 1;
  start.station_increments = {1.0, 0.2, 2.0};
  const SurveySetupSession ss = survey_setup_session(start, Variant{kEm38_4, kNavigation});
  EXPECT_EQ(ss.form.text(IDC_STATION_INCREMENT), L"0.200");
  const Settings s = run_ok(kEm38_4, start, {{IDC_STATION_INCREMENT, L"0.5"}});
  EXPECT_EQ(s.survey_mode, 1);
  EXPECT_EQ(s.station_increments, (std::array<double, 3>{1.0, 0.5, 2.0}));
}

TEST(SurveySetup, Em34ModeOneShowsNoRateAndKeepsTheSamples) {
  Settings start = defaults_of(kEm34_3);
  start.survey_mode = 1;
  start.manual_reading_count = 10;
  const SurveySetupSession ss = survey_setup_session(start, Variant{kEm34_3, kNavigation});
  EXPECT_EQ(ss.form.selection(IDC_SURVEY_MODE, -1), 1);
  EXPECT_EQ(ss.form.text(IDC_RATE_LABEL), L"Readings/s:");
  EXPECT_EQ(ss.form.text(IDC_RATE), L"N/A");
  EXPECT_TRUE(ss.form.find(IDC_RATE)->read_only);
  EXPECT_EQ(ss.form.text(IDC_DIPOLE_LABEL), L"Dipole/Separ.:");
  const Settings s = run_ok(kEm34_3, start, {});
  EXPECT_EQ(s.survey_mode, 2);  // the list's Manual
  EXPECT_EQ(s.manual_reading_count, 10);
}

TEST(SurveySetup, Em34SamplesTypedInManualSurviveAModeChange) {
  const Settings start = defaults_of(kEm34_3);
  const Settings s = run_ok(kEm34_3, start,
                            {{IDC_SURVEY_MODE, L"", 1},
                             {IDC_RATE, L"25"},
                             {IDC_SURVEY_MODE, L"", 0},
                             {IDC_RATE, L"4"},
                             {IDC_SURVEY_MODE, L"", 1}});
  EXPECT_EQ(s.manual_reading_count, 25);
  EXPECT_EQ(s.survey_mode, 2);
  const Variant v{kEm34_3, kNavigation};
  SurveySetupSession ss = survey_setup_session(start, v);
  survey_setup_mode_selected(ss, 1, start, v);
  ss.form.set_text(IDC_RATE, L"25");
  survey_setup_mode_selected(ss, 0, start, v);
  EXPECT_EQ(ss.form.text(IDC_RATE), L"5.00");
  survey_setup_mode_selected(ss, 1, start, v);
  EXPECT_EQ(ss.form.text(IDC_RATE), L"25");
}

TEST(SurveySetup, RatesThatGiveNoFiniteIntervalReadAsOne) {
  const struct {
    const wchar_t* text;
    double rate;
  } cases[] = {{L"2", 2.0},      {L"0", 1.0},        {L"-3", 1.0},        {L"abc", 1.0},
               {L"1e-320", 1.0}, {L"4.9e-324", 1.0}, {L"1e-300", 1e-300}, {L"1e308", 1e308}};
  for (const auto& c : cases) {
    EXPECT_EQ(entered_rate(c.text), c.rate) << c.text;
    EXPECT_TRUE(std::isfinite(1.0 / entered_rate(c.text))) << c.text;
  }
  const Settings s = run_ok(kEm38, defaults_of(kEm38), {{IDC_RATE, L"1e-320"}});
  EXPECT_EQ(s.reading_interval, 1.0);
}

// An interval from a settings file opens the dialog with the rate OK then
// stores, unchanged: a subnormal or non-finite one as 1 s ("1.00").
TEST(SurveySetup, AnIntervalFromTheSettingsFileIsShownAsOkStoresIt) {
  const struct {
    const char* line;
    double interval;
    const wchar_t* shown;
  } cases[] = {{"1e-310", 1.0, L"1.00"}, {"-4.9e-324", 1.0, L"1.00"}, {"inf", 1.0, L"1.00"}, {"-inf", 1.0, L"1.00"},
               {"nan", 1.0, L"1.00"},    {"1e999", 1.0, L"1.00"},     {"0.5", 0.5, L"2.00"}, {"0.25", 0.25, L"4.00"}};
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kCs21, kEm61Lx2, kEm61Mk2})
    for (const auto& c : cases) {
      const Variant v{type, kNavigation};
      Settings written = defaults_of(type);
      written.survey_mode = 0;  // Auto: the field holds the rate
      written.reading_interval = 0.123456;
      std::string text = settings_values_text(written, v);
      text.replace(text.find("0.123456"), 8, c.line);
      Settings read = defaults_of(type);
      read_settings_text(text, read, v);
      EXPECT_EQ(read.reading_interval, c.interval) << type << " " << c.line;
      const SurveySetupSession ss = survey_setup_session(read, v);
      EXPECT_EQ(ss.form.text(IDC_RATE), c.shown) << type << " " << c.line;
      Settings stored = read;
      store_survey_setup(ss, stored, v);
      EXPECT_EQ(stored.reading_interval, read.reading_interval) << type << " " << c.line;
    }
}

}  // namespace
}  // namespace quelor
