#pragma once
// The readings of one channel of one or more data files as one survey,
// read a file at a time: what the gridding needs before its frame is known
// is taken as each file is read, and the readings are dropped; the
// gridding then asks for them again, a file at a time. One file's readings
// are kept (reading it again would only cost time). What is held grows with
// one file and the grid, not with the files.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/grid.h"
#include "grid/survey_mosaic.h"

namespace quelor::tool {

struct SurveyFiles {
  std::vector<std::string> files;
  std::string channel;  // as asked (empty: the default)
  int zone = 0;
  SurveyMosaicResult mosaic;  // instrument, zone, unit, readings count and warnings of the files
  GridSurvey grid;
  std::vector<std::size_t> fingerprints;  // of each file's bytes, to know it again
  std::vector<std::string> kept;          // per file, the bytes of one that cannot be read again (a pipe), else empty
};

// `on_file` (may be empty) is told each file as its reading begins; `kept`:
// the bytes an earlier reading of the same files kept (or none).
SurveyFiles read_survey_files(const std::vector<std::string>& files, const std::string& channel, int zone,
                              const std::function<void(const std::string&)>& on_file,
                              const std::vector<std::string>& kept = {});

// The readings again, a file at a time, for `grid_survey`.
GridFiles survey_grid_files(const SurveyFiles& s);

std::size_t bytes_fingerprint(std::string_view bytes);

// Each file's readings of `channel` read again and handed to `visit`;
// `kept`: per file, the bytes of one that cannot be read again (a pipe),
// else empty (or no entries at all). False when a file is not as it was.
bool read_files_again(const std::vector<std::string>& paths, const std::vector<std::string>& kept,
                      const std::vector<std::size_t>& fingerprints, const std::string& channel, int zone,
                      const GridFileVisitor& visit);

}  // namespace quelor::tool
