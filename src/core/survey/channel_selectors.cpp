#include "survey/channel_selectors.h"

#include "map/colour_views.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

// EM38-4 and CS-21: selector of channel n = 1..8.
constexpr std::array<int, kMaxChannelSelectors> kGroupedSelectors{0, 4, 1, 5, 2, 6, 3, 7};

bool grouped(InstrumentType type) { return has_trait(type, Trait::kChannelGroups); }

bool never_shown(InstrumentType type) { return has_trait(type, Trait::kHiddenChannelSelectors); }

}  // namespace

int channel_selector_count(InstrumentType type, int em38mk2_model, int number_of_sensors) {
  switch (type) {
    case kEm38Mk2: return em38mk2_model == 1 ? 2 : 4;
    case kEm38_4:
    case kCs21: return 8;
    case kEm61Mk2: return 4;
    case kEm61Lx2: return number_of_sensors >= 1 ? 6 : 3;
    case kGrad601: return 3;
    default: return 2;
  }
}

int selector_of_channel(InstrumentType type, int channel) {
  if (channel < 1 || channel > kMaxChannelSelectors) return -1;
  if (grouped(type)) return kGroupedSelectors[static_cast<std::size_t>(channel - 1)];
  return channel - 1;
}

int channel_of_selector(InstrumentType type, int selector) {
  for (int n = 1; n <= kMaxChannelSelectors; ++n)
    if (selector_of_channel(type, n) == selector) return n;
  return 0;
}

int selected_channel(const Settings& s, InstrumentType type) {
  return grouped(type) ? s.displayed_channel : s.colour_map_view;
}

void select_channel(Settings& s, InstrumentType type, int channel) {
  if (grouped(type)) s.displayed_channel = channel;
  s.colour_map_view = channel;
}

SelectorView channel_selector_view(const SelectorInput& in) {
  SelectorView v;
  const bool hidden = in.state == kStateLogging || in.state == kStateClosed || in.navigation_mode == kNavigation ||
                      !in.gps_enabled || !in.map_view || in.channel == 0 || never_shown(in.instrument_type);
  if (hidden) return v;
  const int count = channel_selector_count(in.instrument_type, in.em38mk2_model, in.number_of_sensors);
  const ViewSetup views{in.instrument_type, in.em38mk2_model, in.number_of_sensors, 0};
  for (int i = 0; i < count; ++i)
    v.shown[static_cast<std::size_t>(i)] = view_exists(views, channel_of_selector(in.instrument_type, i));
  if (has_trait(in.instrument_type, Trait::kInphaseOnlyComponent) && in.em31_inphase_only) v.shown[0] = false;
  const int checked = selector_of_channel(in.instrument_type, in.channel);
  v.checked = checked >= 0 && checked < count && v.shown[static_cast<std::size_t>(checked)] ? checked : -1;
  return v;
}

}  // namespace quelor
