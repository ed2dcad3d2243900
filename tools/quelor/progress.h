#pragma once
// Progress of a long subcommand on stderr, once it has run longer than a
// second: a bar redrawn in place when stderr is a terminal, otherwise one
// line per step.

#include <functional>
#include <string>

#include "grid/progress_gate.h"

namespace quelor::tool {

class Progress {
 public:
  // `steps`: how many steps the work has; `clock`: seconds of a steady clock.
  Progress(const char* command, int steps, std::function<double()> clock = steady_seconds);
  static double steady_seconds();
  ~Progress();
  void step(const std::string& what);
  // Where the current step has got to, shown after the step's name.
  void detail(const std::string& what);
  void done();

 private:
  void show(int shown, const std::string& text);

  const char* command_;
  int steps_;
  int done_steps_ = 0;
  std::string current_;  // the step under way
  std::function<double()> clock_;
  ProgressGate gate_;
  bool terminal_;
  bool finished_ = false;
};

}  // namespace quelor::tool
