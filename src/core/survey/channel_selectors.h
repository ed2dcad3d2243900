#pragma once
// The channel selectors beside the numbers window: small radio buttons
// (ids 480 upward), one per displayed channel.

#include <array>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kFirstChannelSelectorId = 480;
inline constexpr int kMaxChannelSelectors = 8;

// Selectors created: EM31-MK2, EM34-3, EM38 2; EM38-MK2 4 (2 for the
// EM38-MK2-1 type); EM38-4, CS-21 8; EM61-MK2 4; EM61-LX2 3, 6 with two
// sensors; Grad601 3.
int channel_selector_count(InstrumentType instrument_type, int em38mk2_model, int number_of_sensors);

// The selector (0-based) that shows channel n (1-based): EM38-4 and CS-21 list
// the channels of one coil group first (1, 5, 2, 6, 3, 7, 4, 8); the others
// in order. -1 for no channel.
int selector_of_channel(InstrumentType instrument_type, int channel);

// The selector (0-based) back to its channel (1-based); 0 for none.
int channel_of_selector(InstrumentType instrument_type, int selector);

// The channel the selectors mark: the EM38-4's and CS-21's displayed
// channel (of the profile and the colour scale), the mapped channel (colour
// map view) of the others; 0 none.
int selected_channel(const Settings& s, InstrumentType instrument_type);

// A selector's click: the channel becomes the mapped one (colour map view),
// and the EM38-4's and CS-21's displayed channel as well; the next reading
// is profiled and mapped on it.
void select_channel(Settings& s, InstrumentType instrument_type, int channel);

struct SelectorInput {
  InstrumentType instrument_type = kEm31Mk2;
  int navigation_mode = 0;
  int state = 0;
  bool gps_enabled = true;
  bool map_view = true;  // the map is shown
  int channel = 0;       // the selected channel, 0 none
  int em38mk2_model = 0;
  int number_of_sensors = 0;
  bool em31_inphase_only = false;
};

struct SelectorView {
  std::array<bool, kMaxChannelSelectors> shown{};
  int checked = -1;  // the selector marked, -1 none
};

// Hidden while logging, in the navigation line, without GPS, without the
// map view and with no channel selected; shown in Monitoring and Stand By
// otherwise, each only when the map draws its channel's view (EM38 and
// Grad601 never show theirs; the EM31-MK2 in-phase-only display hides the
// first).
SelectorView channel_selector_view(const SelectorInput& input);

}  // namespace quelor
