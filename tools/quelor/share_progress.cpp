#include "share_progress.h"

#include <cstdio>
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
constexpr std::chrono::milliseconds kQuiet{1000};         // on a terminal, nothing before
constexpr std::chrono::milliseconds kTerminalEvery{250};  // redraws
constexpr std::chrono::milliseconds kLogEvery{1000};      // lines in a log
}  // namespace

ShareProgress::ShareProgress(const char* what, bool always)
    : what_(what), terminal_(QUELOR_ISATTY(QUELOR_FILENO(stderr)) != 0), always_(always), start_(Clock::now()) {}

ShareProgress::~ShareProgress() { done(); }

void ShareProgress::show(double share) {
  const int percent = static_cast<int>(share * 100 + 1e-9);
  if (terminal_) std::fprintf(stderr, "\r%s: %3d %%", what_, percent);
  else std::fprintf(stderr, "%s: %d %%\n", what_, percent);
  std::fflush(stderr);
  shown_ = true;
  last_ = Clock::now();
}

void ShareProgress::operator()(double share) {
  if (finished_ || !(terminal_ || always_)) return;
  const Clock::time_point now = Clock::now();
  if (terminal_ && !always_ && now - start_ < kQuiet) return;
  if (shown_ && now - last_ < (terminal_ ? kTerminalEvery : kLogEvery)) return;
  show(share < 0 ? 0 : share > 1 ? 1 : share);
}

void ShareProgress::done() {
  if (finished_) return;
  finished_ = true;
  if (shown_ || always_) {
    show(1.0);
    if (terminal_) std::fputc('\n', stderr);
  }
}

}  // namespace quelor::tool
