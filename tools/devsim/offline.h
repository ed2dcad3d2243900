#pragma once
// The simulator's commands that need no serial links: `devsim survey` (the
// data file the program would log on the walk) and `devsim truth` (the
// site's true response on a grid frame, as a GeoTIFF).

namespace quelor::devsim {

// argv[0] is the command name. Exit status: 0, or 2 for bad input.
int run_survey_command(int argc, char** argv);
int run_truth_command(int argc, char** argv);

}  // namespace quelor::devsim
