#pragma once
// A progress line on stderr for work that reports the share done (0...1),
// such as gridding: "gridding: 40 %". On a terminal it is redrawn in place,
// first shown once the work has taken a second and then at most four times
// a second; finished, the line ends at 100 %. When stderr is not a terminal
// nothing is shown, unless asked (`always`): then every line is shown from
// the start, at most one a second, each on its own line (for logs), and the
// 100 % line at the end.

#include <chrono>

namespace quelor::tool {

class ShareProgress {
 public:
  ShareProgress(const char* what, bool always);
  ~ShareProgress();
  void operator()(double share);
  void done();

 private:
  using Clock = std::chrono::steady_clock;
  void show(double share);
  const char* what_;
  bool terminal_;
  bool always_;
  Clock::time_point start_, last_;
  bool shown_ = false;
  bool finished_ = false;
};

}  // namespace quelor::tool
