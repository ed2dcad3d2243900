#pragma once
// Progress of a long subcommand on stderr: a bar redrawn in place when
// stderr is a terminal, otherwise one line per step for long inputs only.

#include <string>

namespace quelor::tool {

class Progress {
 public:
  // `steps`: how many steps the work has; `long_work`: report in a log too.
  Progress(const char* command, int steps, bool long_work);
  ~Progress();
  void step(const std::string& what);
  void done();

 private:
  const char* command_;
  int steps_;
  int done_steps_ = 0;
  bool terminal_;
  bool log_;
  bool finished_ = false;
};

}  // namespace quelor::tool
