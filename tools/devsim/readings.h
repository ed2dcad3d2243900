#pragma once
// What each instrument measures at a place of the walk: the site's response
// seen through the instrument's coils or sensors, plus instrument noise when a
// random generator is given. Pure functions of the site and the position.

#include <array>
#include <random>

#include "devsim/binary_record.h"
#include "devsim/em31_record.h"
#include "devsim/line_record.h"
#include "devsim/site.h"
#include "devsim/walk.h"

namespace quelor::devsim {

using Rng = std::mt19937_64;

// Geometry and settings of the instrument on the walk.
struct InstrumentSetup {
  bool vertical = true;     // dipole of the EM31/EM38/EM34/EM38-MK2
  int em34_spacing = 20;    // metres
  int sensors = 2;          // Grad601 and EM61-LX2: 1 or 2
  bool high_power = false;  // EM61-MK2 coil
  double noise = 1.0;       // scale of the instrument noise, 0 for none
};

// A point `right` metres to the right of the direction of travel.
SurveyPoint sensor_point(const WalkPoint& w, double survey_heading, double right);

// Coil pairs: spacing, height and exploration depth of each instrument.
CoilPair em31_coils(bool vertical);
CoilPair em38_coils(bool vertical);
CoilPair em34_coils(int spacing, bool vertical);
CoilPair em38mk2_coils(int coil, bool vertical);  // coil 1 (1 m) or 2 (0.5 m)
CoilPair em38_4_coils(std::size_t index);         // record order
CoilPair cs21_hcp_coils(int group);               // 1: 1 m, 2: 2 m
CoilPair cs21_prp_coils(int group);               // 1: 1.1 m, 2: 2.1 m

// EM61 gate times (ms): four gates of the EM61-MK2, two per coil of the LX2.
constexpr std::array<double, 4> kEm61Mk2Gates{0.216, 0.366, 0.660, 1.266};
constexpr std::array<double, 2> kEm61Lx2Gates{0.216, 0.660};

// Lateral offsets of the two sensors (Grad601 tubes, EM61-LX2 coils).
constexpr double kTwinSensorOffset = 0.5;

Em31Reading em31_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
// EM38: the conductivity and the in-phase of one place.
Em31Reading em38_values(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
Em34Reading em34_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
Em38Mk2Reading em38mk2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
Em38_4Reading em38_4_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
// The CS-21's $PDLM1 (group 1) or $PDLM2 (group 2) values of one place.
Cs21Reading cs21_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng, int group = 1);
GradReading grad601_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
// Channels only; the letter, current and battery are the instrument model's.
Em61Reading em61mk2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);
Em61Reading em61lx2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng);

}  // namespace quelor::devsim
