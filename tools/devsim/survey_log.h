#pragma once
// The data file the acquisition program logs on the simulated walk, written
// straight through the core's data-file writer: the header, one line block,
// every instrument record as the program's reader frames it, and every GPS
// sentence at the tick it is sent. For gridding and export tests that need a
// whole survey without running the program. The EM31-MK2 and the Grad601
// (one sensor) are logged; other instruments are refused.

#include <cstdint>
#include <string>

#include "devsim/options.h"

namespace quelor::devsim {

struct SurveyLog {
  std::string bytes;  // the data file
  std::string error;  // not empty: nothing logged
  std::size_t readings = 0;
};

// `map_units`: 0 metres, 1 feet, 2 US survey feet (the file's working unit).
SurveyLog log_simulated_survey(const Options& options, std::uint64_t seed, int map_units);

}  // namespace quelor::devsim
