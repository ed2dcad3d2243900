// devsim: the instruments, the GPS receiver and the tilt meter of a survey,
// simulated on pseudo-terminals for the acquisition program and its tests.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/event_loop.h"
#include "devsim/offline.h"
#include "devsim/options.h"
#include "devsim/pty_link.h"
#include "devsim/simulator.h"
#include "quelor/json.h"

namespace {

std::atomic<bool> g_stop{false};

void on_signal(int) { g_stop.store(true); }

std::string program_dir() {
  char path[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string p(path, static_cast<std::size_t>(n));
  const std::size_t slash = p.rfind('/');
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

bool make_dirs(const std::string& dir) {
  for (std::size_t i = 1; i <= dir.size(); ++i) {
    if (i < dir.size() && dir[i] != '/') continue;
    const std::string part = dir.substr(0, i);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

void install_signals() {
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

// UTC now: seconds of the day and the date the receiver reports.
double utc_now(quelor::devsim::GpsConfig& gps) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  const std::time_t t = ts.tv_sec;
  std::tm tm{};
  gmtime_r(&t, &tm);
  gps.day = tm.tm_mday;
  gps.month = tm.tm_mon + 1;
  gps.year = tm.tm_year + 1900;
  return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + ts.tv_nsec / 1e9;
}

std::string json_path(const quelor::devsim::PtyLink* link) {
  return link ? quelor::tool::json_string(link->link_path) : "null";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quelor::devsim;
  if (argc > 1 && std::string_view(argv[1]) == "survey") return run_survey_command(argc - 1, argv + 1);
  if (argc > 1 && std::string_view(argv[1]) == "truth") return run_truth_command(argc - 1, argv + 1);
  std::vector<std::string_view> args(argv + 1, argv + argc);
  OptionsParse parsed = parse_options(args);
  if (parsed.options.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "devsim: %s\n%s", parsed.error.c_str(), usage_text().c_str());
    return 2;
  }
  Options& o = parsed.options;
  std::string dir = o.dir.empty() ? program_dir() + "/devsim-run" : o.dir;
  if (!make_dirs(dir)) {
    std::fprintf(stderr, "devsim: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
    return 1;
  }
  if (char* full = ::realpath(dir.c_str(), nullptr)) {  // absolute paths in the JSON line
    dir = full;
    std::free(full);
  }
  const std::uint64_t seed = o.seed ? *o.seed : std::random_device{}();
  const double start = utc_now(o.gps);
  Simulator sim = make_simulator(o, seed, start);

  install_signals();
  std::array<PtyLink, 3> links;
  LoopIo io;
  const std::array<const char*, 3> names{"instrument", "gps", "tilt"};
  for (Device d : {Device::kInstrument, Device::kGps, Device::kTilt}) {
    if (!device_enabled(sim, d)) continue;
    const auto i = static_cast<std::size_t>(d);
    const std::string error = open_pty_link(links[i], dir + "/" + names[i]);
    if (!error.empty()) {
      std::fprintf(stderr, "devsim: %s\n", error.c_str());
      for (PtyLink& l : links) close_pty_link(l);
      return 1;
    }
    io.links[i] = &links[i];
  }
  if (!o.control_path.empty()) {
    struct stat st {};
    if (::stat(o.control_path.c_str(), &st) != 0 && ::mkfifo(o.control_path.c_str(), 0600) != 0) {
      std::fprintf(stderr, "devsim: cannot make the FIFO %s: %s\n", o.control_path.c_str(), std::strerror(errno));
      for (PtyLink& l : links) close_pty_link(l);
      return 1;
    }
    io.control_fd = ::open(o.control_path.c_str(), O_RDWR | O_NONBLOCK);  // read-write: never at EOF
    if (io.control_fd < 0) {
      std::fprintf(stderr, "devsim: cannot open %s: %s\n", o.control_path.c_str(), std::strerror(errno));
      for (PtyLink& l : links) close_pty_link(l);
      return 1;
    }
  }
  if (!o.gps_capture_path.empty()) {
    io.gps_capture = std::fopen(o.gps_capture_path.c_str(), "ab");
    if (!io.gps_capture) {
      std::fprintf(stderr, "devsim: cannot open %s: %s\n", o.gps_capture_path.c_str(), std::strerror(errno));
      for (PtyLink& l : links) close_pty_link(l);
      return 1;
    }
  }
  // Read only when poll says so: the shared terminal is not made non-blocking.
  io.stdin_fd = STDIN_FILENO;
  io.stop = &g_stop;

  std::printf("{\"instrument\":%s,\"gps\":%s,\"tilt\":%s}\n", json_path(io.links[0]).c_str(),
              json_path(io.links[1]).c_str(), json_path(io.links[2]).c_str());
  std::fflush(stdout);

  const int rc = run_loop(sim, io);
  for (PtyLink& l : links) close_pty_link(l);
  if (io.control_fd >= 0) ::close(io.control_fd);
  return rc;
}
