#pragma once
// The Survey Setup dialog: its controls filled from the settings, the survey
// mode list's effect on the other fields, and what OK stores, in its order.

#include <array>

#include "settings/settings.h"
#include "setup/dialog_form.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kSurveyLineLimit = 15;

// The dialog's own state beside its controls: the shown mode and a working
// copy of the three per-mode station increments and of the rate entry.
struct SurveySetupSession {
  DialogForm form;
  int mode = 0;  // survey mode shown (0 Auto, 1 Wheel, 2 Manual)
  std::array<double, 3> increments{};
  std::wstring rate_text;     // the Auto rate entry while another mode is shown
  std::wstring samples_text;  // EM34-3: the Manual samples entry while another mode is shown
};

// Survey mode of a list selection (EM34-3: selection 1 is Manual) and back.
int survey_mode_of_selection(InstrumentType instrument_type, int selection);
int selection_of_survey_mode(InstrumentType instrument_type, int survey_mode);

SurveySetupSession survey_setup_session(const Settings& s, const Variant& v);

// The mode list now shows `selection`: keeps the increment shown for the
// previous mode, shows the new mode's one and relabels the rate and (EM34-3)
// dipole fields. Nothing when the mode did not change.
void survey_setup_mode_selected(SurveySetupSession& session, int selection, const Settings& s, const Variant& v);

// OK: stores the entries into `s` (the caller saves the settings file).
void store_survey_setup(const SurveySetupSession& session, Settings& s, const Variant& v);

// The rate a rate entry gives: no number, 0 or less, and a rate whose
// reading interval is out of the double range ("1e-320") give 1 reading a
// second.
double entered_rate(std::wstring_view text);

}  // namespace quelor
