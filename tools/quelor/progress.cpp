#include "progress.h"

#include <chrono>
#include <cstdio>
#include <utility>
#ifdef _WIN32
#include <io.h>
#define QUELOR_ISATTY _isatty
#define QUELOR_FILENO _fileno
#else
#include <unistd.h>
#define QUELOR_ISATTY isatty
#define QUELOR_FILENO fileno
#endif

namespace quelor::tool {

namespace {
constexpr int kBarWidth = 30;
}

Progress::Progress(const char* command, int steps, std::function<double()> clock)
    : command_(command),
      steps_(steps > 0 ? steps : 1),
      clock_(std::move(clock)),
      gate_{clock_(), false},
      terminal_(QUELOR_ISATTY(QUELOR_FILENO(stderr)) != 0) {}

double Progress::steady_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Progress::~Progress() { done(); }

void Progress::step(const std::string& what) {
  const int shown = done_steps_ < steps_ ? done_steps_ : steps_;
  ++done_steps_;
  current_ = what;
  if (progress_due(gate_, clock_())) show(shown, what);
}

void Progress::detail(const std::string& what) {
  if (done_steps_ == 0) return;
  const int shown = (done_steps_ < steps_ ? done_steps_ : steps_) - 1;
  if (progress_due(gate_, clock_())) show(shown, current_ + ": " + what);
}

void Progress::show(int shown, const std::string& text) {
  if (terminal_) {
    const int filled = shown * kBarWidth / steps_;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%% %-40.40s", command_, filled, "##############################",
                 kBarWidth - filled, "", shown * 100 / steps_, text.c_str());
    std::fflush(stderr);
  } else {
    std::fprintf(stderr, "%s: %d/%d %s\n", command_, shown + 1, steps_, text.c_str());
  }
}

void Progress::done() {
  if (finished_) return;
  finished_ = true;
  const bool shown = gate_.open;
  if (!progress_due(gate_, clock_())) return;
  if (!terminal_) {
    if (!shown) std::fprintf(stderr, "%s: done in %.1f s\n", command_, clock_() - gate_.started);
    return;
  }
  if (done_steps_ > 0)
    std::fprintf(stderr, "\r%s [%.*s] 100%% %-40s\n", command_, kBarWidth, "##############################", "done");
}

}  // namespace quelor::tool
