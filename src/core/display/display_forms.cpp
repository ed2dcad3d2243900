#include "display/display_forms.h"

#include <algorithm>
#include <cstdio>

#include "display/profile_scale.h"
#include "display/speed_bar.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr TraceColourChoice kColours[] = {
    {"Blue", 0xFF0000}, {"Green", 0x00FF00},  {"Red", 0x0000FF},   {"Magenta", 0xFF00FF},
    {"Cyan", 0xFFFF00}, {"Yellow", 0x00FFFF}, {"Black", 0x000000}, {"Grey", 0x808080},
};

}  // namespace

std::string_view readings_scale_template(InstrumentType type) {
  const InstrumentRow* row = find_instrument(type);
  return row ? row->readings_scale_form : "READINGSCALE";
}

ReadingsScaleForm readings_scale_form(const Settings& s, InstrumentType type) {
  return {s.profile_scale_1, s.profile_scale_2, has_inphase_columns(type)};
}

bool scale_edit_accepted(double minimum, double maximum) { return minimum < maximum; }

void store_readings_scale(ReadingsScaleForm f, Settings& s) {
  const ScaleLimits one = accepted_scale(f.first[0], f.first[1]);
  s.profile_scale_1 = {one.minimum, one.maximum};
  if (!f.two_components) return;
  const ScaleLimits two = accepted_scale(f.second[0], f.second[1]);
  s.profile_scale_2 = {two.minimum, two.maximum};
}

SpeedScaleForm speed_scale_form(const Settings& s) {
  return {s.speed_scale_maximum, s.speed_scale_maximum, std::clamp(s.speed_bar_units, 0, 3)};
}

std::string speed_scale_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

void store_speed_scale(const SpeedScaleForm& f, Settings& s) {
  s.speed_scale_maximum = accepted_speed_maximum(f.entered, {0.0, s.speed_scale_maximum});
  s.speed_bar_units = std::clamp(f.units, 0, 3);
}

std::string_view profile_options_template(InstrumentType type) {
  const InstrumentRow* row = find_instrument(type);
  return row ? row->profile_options_form : "DISPLAYSETUP31";
}

std::span<const TraceColourChoice> trace_colour_choices() { return kColours; }

int trace_colour_index(ColorRef colour) {
  for (std::size_t i = 0; i < std::size(kColours); ++i)
    if (kColours[i].colour == colour) return static_cast<int>(i);
  return static_cast<int>(std::size(kColours));
}

int profile_trace_count(const Settings& s, InstrumentType type) {
  switch (type) {
    case kEm38Mk2: return s.em38mk2_model == 1 ? 2 : 4;
    case kEm38_4:
    case kCs21: return 8;
    case kEm61Mk2: return 4;
    case kEm61Lx2: return s.number_of_sensors == 1 ? 6 : 3;
    case kGrad601: return s.number_of_sensors == 1 ? 2 : 1;
    default: return 2;
  }
}

ProfileOptionsForm profile_options_form(const Settings& s, InstrumentType type) {
  ProfileOptionsForm f;
  f.traces = std::min(profile_trace_count(s, type), kProfileFormTraces);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kProfileFormTraces); ++i) {
    f.width[i] = std::clamp(s.trace_widths[i], 1, 4);
    f.colour[i] = s.trace_colours[i];
  }
  f.channel_choice = has_trait(type, Trait::kChannelGroups);
  f.displayed_channel = s.displayed_channel;
  return f;
}

void store_profile_options(const ProfileOptionsForm& f, Settings& s) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(std::clamp(f.traces, 0, kProfileFormTraces)); ++i) {
    s.trace_widths[i] = std::clamp(f.width[i], 1, 4);
    s.trace_colours[i] = f.colour[i];
  }
  if (f.channel_choice) s.displayed_channel = std::clamp(f.displayed_channel, 0, 8);
  s.profile_option = 1;  // set by the dialog
}

}  // namespace quelor
