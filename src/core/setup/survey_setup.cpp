#include "setup/survey_setup.h"

#include <algorithm>
#include <cmath>

#include "settings/reading_rate.h"
#include "settings/value_text.h"
#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/setup_lists.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kAuto = 0;
constexpr int kWheel = 1;
constexpr int kManual = 2;
constexpr int kSamplesMinimum = 1;
constexpr int kSamplesMaximum = 999;

bool has_rate_field(InstrumentType type) { return !has_trait(type, Trait::kNoRateField); }
int clamp_mode(int mode) { return mode >= kAuto && mode <= kManual ? mode : kAuto; }

std::wstring rate_text_of(const Settings& s) {
  const double rate = s.reading_interval > 0.0 ? 1.0 / s.reading_interval : kFallbackReadingRate;
  return format_entry("%.2f", rate);
}

std::wstring increment_label(InstrumentType type, int mode) {
  if (mode == kWheel) return L"Wheel Increment";
  if (has_trait(type, Trait::kStationReadings) && mode == kAuto) return L"Stn. Increment";
  return L"Station Increment";
}

// Rate field and its label for a mode. `entering` distinguishes the
// dialog's opening ("Not Applicable") from a later mode change ("Not
// Available").
void show_rate(SurveySetupSession& ss, const Settings& /*settings*/, InstrumentType type, int mode, bool opening) {
  DialogControl* rate = ss.form.find(IDC_RATE);
  if (!rate) return;
  ss.form.set_text(IDC_RATE_LABEL, L"Readings/s:");
  rate->read_only = false;
  if (mode == kAuto) {
    rate->text = ss.rate_text;
    return;
  }
  if (has_trait(type, Trait::kStationReadings) && mode == kManual) {
    ss.form.set_text(IDC_RATE_LABEL, L"Samples/Rdg:");
    rate->text = ss.samples_text;
    return;
  }
  rate->read_only = true;
  if (has_trait(type, Trait::kStationReadings))
    rate->text = L"N/A";
  else
    rate->text = opening ? L"Not Applicable" : L"Not Available";
}

void show_dipoles(DialogForm& form, InstrumentType type, int mode, int selection) {
  DialogControl* dipole = form.find(IDC_DIPOLE);
  if (!dipole || !has_trait(type, Trait::kStationReadings)) return;
  const bool manual = mode == kManual;
  dipole->items = dipole_items(type, manual);
  dipole->selection = selection >= 0 && selection < static_cast<int>(dipole->items.size()) ? selection : 0;
  form.set_text(IDC_DIPOLE_LABEL, manual ? L"Configurations:" : L"Dipole/Separ.:");
}

void add_mode_and_rate(SurveySetupSession& ss, const Settings& s, InstrumentType type) {
  ss.form.add_list(IDC_SURVEY_MODE, survey_mode_items(type), selection_of_survey_mode(type, ss.mode));
  if (!has_rate_field(type)) return;
  ss.form.add_label(IDC_RATE_LABEL, L"Readings/s:");
  ss.form.add_edit(IDC_RATE, L"");
  show_rate(ss, s, type, ss.mode, true);
}

void add_component_and_dipole(DialogForm& form, const Settings& s, InstrumentType type, int mode) {
  ListItems components = component_items(type);
  if (!components.empty()) form.add_list(IDC_COMPONENT, std::move(components), s.component);
  if (dipole_items(type, false).empty()) return;
  form.add_label(IDC_DIPOLE_LABEL, L"Dipole:");
  form.add_list(IDC_DIPOLE, dipole_items(type, false), s.dipole_mode);
  show_dipoles(form, type, mode, s.dipole_mode);
}

void add_lines_and_stations(SurveySetupSession& ss, const Settings& s, InstrumentType type) {
  DialogForm& f = ss.form;
  f.add_edit(IDC_SURVEY_LINE, widen_text(s.survey_line)).text_limit = kSurveyLineLimit;
  f.add_edit(IDC_LINE_INCREMENT, format_entry("%.2f", s.line_increment));
  f.add_list(IDC_LINE_SEQUENCE, line_sequence_items(), s.line_sequence);
  f.add_list(IDC_LINE_DIRECTION, line_direction_items(), s.line_direction);
  f.add_edit(IDC_START_STATION, format_entry("%.3f", s.start_station));
  f.add_label(IDC_STATION_INCREMENT_LABEL, increment_label(type, ss.mode));
  f.add_edit(IDC_STATION_INCREMENT, format_entry("%.3f", ss.increments[static_cast<std::size_t>(ss.mode)]));
  if (is_em61(type)) f.add_list(IDC_NULL_VALUES, null_values_items(), s.null_values);
  if (has_trait(type, Trait::kSurveyGpsOffsets)) {
    f.add_edit(IDC_LX2_X_OFFSET, format_entry("%.2f", s.gps_x_offset));
    f.add_edit(IDC_LX2_Y_OFFSET, format_entry("%.2f", s.gps_y_offset));
  }
}

double entered_increment(std::wstring_view text) {
  const double value = entered_number_or_zero(text);
  return value == 0.0 ? 1.0 : value;
}

// The field holds the rate in Auto and the EM34-3 samples in Manual; in
// another mode it shows "N/A" or "Not Applicable" and stores nothing.
void store_rate(const SurveySetupSession& ss, Settings& s, InstrumentType type, int mode) {
  const DialogControl* rate = ss.form.find(IDC_RATE);
  if (!rate) return;
  if (mode == kAuto) {
    s.reading_interval = 1.0 / entered_rate(rate->text);
    return;
  }
  if (!has_trait(type, Trait::kStationReadings) || ss.mode != kManual) return;
  const double samples = entered_number_or_zero(rate->text);
  const double whole = std::trunc(samples);
  s.manual_reading_count = static_cast<int>(std::clamp(whole, double(kSamplesMinimum), double(kSamplesMaximum)));
}

void store_lines(const SurveySetupSession& ss, Settings& s) {
  const std::wstring line = ss.form.text(IDC_SURVEY_LINE);
  s.survey_line = narrow_printable(std::wstring_view(line).substr(0, kSurveyLineLimit));
  s.line_increment = entered_number_or_zero(ss.form.text(IDC_LINE_INCREMENT));
  s.line_sequence = ss.form.selection(IDC_LINE_SEQUENCE, s.line_sequence);
  s.line_direction = ss.form.selection(IDC_LINE_DIRECTION, s.line_direction);
}

}  // namespace

int survey_mode_of_selection(InstrumentType type, int selection) {
  if (has_trait(type, Trait::kStationReadings)) return selection >= 1 ? kManual : kAuto;
  if (has_trait(type, Trait::kWheelMode)) return clamp_mode(selection);
  return kAuto;
}

int selection_of_survey_mode(InstrumentType type, int mode) {
  if (has_trait(type, Trait::kStationReadings)) return mode >= 1 ? 1 : 0;
  if (has_trait(type, Trait::kWheelMode)) return clamp_mode(mode);
  return 0;
}

double entered_rate(std::wstring_view text) { return usable_reading_rate(entered_number_or_zero(text)); }

// The mode the dialog opens in: the stored one where the list can show it
// or OK keeps it (EM38-4 has no mode list entry of its own for Wheel or
// Manual; EM34-3 shows mode 1 as "N/A" readings), else the list's.
int opening_mode(InstrumentType type, int stored) {
  if (has_trait(type, Trait::kModeNotListed) || has_trait(type, Trait::kStationReadings)) return clamp_mode(stored);
  return survey_mode_of_selection(type, selection_of_survey_mode(type, stored));
}

SurveySetupSession survey_setup_session(const Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  SurveySetupSession ss;
  ss.mode = opening_mode(type, s.survey_mode);
  ss.increments = s.station_increments;
  ss.rate_text = rate_text_of(s);
  ss.samples_text = format_entry_int("%3d", s.manual_reading_count);
  add_mode_and_rate(ss, s, type);
  add_component_and_dipole(ss.form, s, type, ss.mode);
  add_lines_and_stations(ss, s, type);
  return ss;
}

void survey_setup_mode_selected(SurveySetupSession& ss, int selection, const Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  const int mode = survey_mode_of_selection(type, selection);
  if (DialogControl* list = ss.form.find(IDC_SURVEY_MODE)) list->selection = selection;
  if (mode == ss.mode) return;
  ss.increments[static_cast<std::size_t>(ss.mode)] = entered_number_or_zero(ss.form.text(IDC_STATION_INCREMENT));
  if (ss.mode == kAuto && ss.form.has(IDC_RATE)) ss.rate_text = ss.form.text(IDC_RATE);
  if (ss.mode == kManual && has_trait(type, Trait::kStationReadings) && ss.form.has(IDC_RATE))
    ss.samples_text = ss.form.text(IDC_RATE);
  ss.mode = mode;
  ss.form.set_text(IDC_STATION_INCREMENT, format_entry("%.3f", ss.increments[static_cast<std::size_t>(mode)]));
  ss.form.set_text(IDC_STATION_INCREMENT_LABEL, increment_label(type, mode));
  show_rate(ss, s, type, mode, false);
  show_dipoles(ss.form, type, mode, ss.form.selection(IDC_DIPOLE, 0));
}

void store_survey_setup(const SurveySetupSession& ss, Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  if (!has_trait(type, Trait::kModeNotListed))
    s.survey_mode = survey_mode_of_selection(type, ss.form.selection(IDC_SURVEY_MODE, s.survey_mode));
  store_rate(ss, s, type, s.survey_mode);
  if (is_t_record_instrument(type) || has_trait(type, Trait::kDipoleSetting)) {
    s.component = ss.form.selection(IDC_COMPONENT, s.component);
    s.dipole_mode = ss.form.selection(IDC_DIPOLE, s.dipole_mode);
  }
  store_lines(ss, s);
  s.start_station = entered_number_or_zero(ss.form.text(IDC_START_STATION));
  s.station_increments = ss.increments;
  const std::size_t mode = static_cast<std::size_t>(clamp_mode(s.survey_mode));
  s.station_increments[mode] = entered_increment(ss.form.text(IDC_STATION_INCREMENT));
  s.null_values = ss.form.selection(IDC_NULL_VALUES, s.null_values);
  if (has_trait(type, Trait::kSurveyGpsOffsets)) {
    s.gps_x_offset = entered_number_or_zero(ss.form.text(IDC_LX2_X_OFFSET));
    s.gps_y_offset = entered_number_or_zero(ss.form.text(IDC_LX2_Y_OFFSET));
  }
}

}  // namespace quelor
