#pragma once
// The forms of the display dialogs: "Readings Scale", "Set New Speed Bar
// Scale" and the profile display options, as plain data with their rules.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// "READINGSCALE" (Grad601, EM61-LX2, EM61-MK2), "READINGSCALE34" (EM34-3),
// "READINGSCALE31" (the others).
std::string_view readings_scale_template(InstrumentType instrument_type);

struct ReadingsScaleForm {
  std::array<double, 2> first{};  // minimum, maximum
  std::array<double, 2> second{};
  bool two_components = false;  // the "Inphase [ppt]" group
};

ReadingsScaleForm readings_scale_form(const Settings& s, InstrumentType instrument_type);

// An edit of one field is taken only while minimum < maximum.
bool scale_edit_accepted(double minimum, double maximum);

// OK: a minimum at or above its maximum raises the maximum to minimum + 100.
void store_readings_scale(ReadingsScaleForm form, Settings& s);

struct SpeedScaleForm {
  double current = 0.0;  // "Current Speed Bar Scale:"
  double entered = 0.0;  // "New Speed Bar Scale:"
  int units = 0;         // "m/s", "ft/s", "km/h", "mph"
};

SpeedScaleForm speed_scale_form(const Settings& s);
std::string speed_scale_text(double v);  // "%.2f"
// OK: a maximum at or below 0 keeps the current one.
void store_speed_scale(const SpeedScaleForm& form, Settings& s);

// The profile display options (command 107 of the logging window and the
// setup window's Profiles Options).
std::string_view profile_options_template(InstrumentType instrument_type);

inline constexpr int kProfileFormTraces = 8;

struct TraceColourChoice {
  std::string_view name;
  ColorRef colour;  // 0x00BBGGRR
};
// The colours offered for a trace; a trace of another colour keeps it as "Custom".
std::span<const TraceColourChoice> trace_colour_choices();

struct ProfileOptionsForm {
  int traces = 0;                               // rows shown
  std::array<int, kProfileFormTraces> width{};  // 1 ... 4 pixels
  std::array<ColorRef, kProfileFormTraces> colour{};
  int displayed_channel = 0;  // EM38-4 and CS-21: the channel of the profile and colour scale
  bool channel_choice = false;
};

int profile_trace_count(const Settings& s, InstrumentType instrument_type);
ProfileOptionsForm profile_options_form(const Settings& s, InstrumentType instrument_type);
void store_profile_options(const ProfileOptionsForm& form, Settings& s);

// The choice index of a colour, or the count of choices for "Custom".
int trace_colour_index(ColorRef colour);

}  // namespace quelor
