#pragma once
// The colour map views of each instrument: view 0 is the positions view,
// view k >= 1 the k-th mapped reading value. One rule says which views
// exist (the channel selectors, the "Map Display Options" list and the
// painter all follow it), and how the list's entries stand for views.

#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// What decides the views of an instrument beside its type.
struct ViewSetup {
  InstrumentType instrument_type = kEm31Mk2;
  int em38mk2_model = 0;      // 1: the one-coil EM38-MK2-1
  int number_of_sensors = 0;  // EM61-LX2 and Grad601: 1 for two sensors
  int component = 0;          // EM38: 1 in-phase
};

ViewSetup view_setup(const Settings& s, InstrumentType instrument_type);

// Views the map draws, the positions view aside: EM31-MK2 2, EM38 2 (its
// one list entry maps the component of the Survey Setup), EM34-3 1,
// EM38-MK2 4 (2 for the EM38-MK2-1), EM38-4 and CS-21 8, EM61-MK2 4,
// EM61-LX2 3 (6 with two sensors), Grad601 1.
int mapped_view_count(const ViewSetup& setup);

bool view_exists(const ViewSetup& setup, int view);

// A stored view the map cannot draw becomes the positions view; the EM38's
// view follows its component (2 in-phase, 1 conductivity).
int usable_view(const ViewSetup& setup, int view);

// The "Map Display Options" list: the positions view, then one entry per
// view (the EM38 one entry for both of its views).
std::vector<std::string_view> colour_view_names(const ViewSetup& setup);

// The list entry that shows a view, and the view an entry stands for.
int list_entry_of_view(const ViewSetup& setup, int view);
int view_of_list_entry(const ViewSetup& setup, int entry);

}  // namespace quelor
