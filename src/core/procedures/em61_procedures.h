#pragma once
// The EM61 procedures of the logging window: nulling (EM61-MK2, EM61-LX2),
// the EM61-LX2 filter-factor calibration and the EM61-MK2 normalisation,
// with the procedure state they share.

#include <array>

#include "datafile/message_box.h"

namespace quelor {

enum ProcedureState : int {
  kProcedureNormal = 1,
  kProcedureNulling = -1,
  kProcedureNormalisation = 0,
  kProcedureFilterNulling = -2,  // nulling as the first part of the filter calibration
  kProcedureFilterFactor = -3,
};

struct NullingRun {
  int counter = 0;  // 0 until the start reading arrived
  int taken = 0;    // readings summed so far
  int samples = 50;
  std::array<double, 4> sums{};
  std::array<double, 4> previous{};           // the offsets before the last nulling
  std::array<double, 4> calibration_saved{};  // EM61-LX2: restored when the filter calibration fails or is cancelled
};

enum class FilterBox { kNone, kPart2, kLeftFailed, kRightFailed, kComplete };

struct FilterCalibrationRun {
  bool two_coils = false;
  int samples = 200;
  int counter = 0;
  std::array<double, 4> sums{};    // a and b of the left coil, then of the right coil
  std::array<double, 2> factor{};  // calculated, per coil
  std::array<bool, 2> restored{};  // the coil kept its previous factor
  std::array<double, 2> previous_factor{};
  std::array<double, 2> ratio{};
  std::array<double, 2> previous_ratio{};
  FilterBox box = FilterBox::kNone;
};

struct Em61Procedures {
  int state = kProcedureNormal;
  NullingRun nulling;
  FilterCalibrationRun filter;
};

inline constexpr int kMk2NullingSamples = 50;
inline constexpr int kLx2NullingSamples = 100;
inline constexpr int kLx2FilterSamples = 200;

inline bool em61_procedure_running(const Em61Procedures& p) { return p.state != kProcedureNormal; }

}  // namespace quelor
