#pragma once
// EM61-LX2 coil filter: the factor F the operator sees and the code c the
// instrument works with, F = 108c + 18 up to c = 3.1 (F = 352.8) and
// F = 128c - 44 above; factors are valid from 125 to 1000.

#include <optional>

#include "datafile/message_box.h"

namespace quelor {

inline constexpr double kFilterFactorMinimum = 125.0;
inline constexpr double kFilterFactorMaximum = 1000.0;
inline constexpr double kFilterFactorKnee = 352.8;

double filter_factor_of_code(double code);
double filter_code_of_factor(double factor);

// False for NaN too.
bool filter_factor_in_range(double factor);

enum class Coil { kLeft, kRight };

// "Filter Factor Left Coil" (or Right) with the entered and the kept factor.
OperatorMessage filter_factor_range_message(Coil coil, double entered, double kept);

// The factor to keep after an entry: the entry when it is in range,
// otherwise `current` with the message to show.
struct FilterFactorEntry {
  double factor = 0.0;
  std::optional<OperatorMessage> message;
};
FilterFactorEntry enter_filter_factor(Coil coil, double entered, double current);

}  // namespace quelor
