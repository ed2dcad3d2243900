#include "devsim/event_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace quelor::devsim {
namespace {

constexpr double kMaxWait = 0.02;  // seconds between looks at the links

constexpr std::array<Device, 3> kDevices{Device::kInstrument, Device::kGps, Device::kTilt};

struct ControlSource {
  int fd = -1;
  std::string pending;
};

// Unplugs and plugs the links as the control commands asked.
void track_plugs(Simulator& sim, LoopIo& io, double now) {
  for (Device d : kDevices) {
    PtyLink* link = io.links[static_cast<std::size_t>(d)];
    if (!link) continue;
    const bool wanted = device_plugged(sim, d, now);
    if (!wanted && pty_link_plugged(*link)) {
      unplug_pty_link(*link);
    } else if (wanted && !pty_link_plugged(*link)) {
      const std::string error = replug_pty_link(*link);
      if (!error.empty()) {
        std::fprintf(io.err, "devsim: plug %s: %s\n", std::string(device_name(d)).c_str(), error.c_str());
        std::fflush(io.err);
      }
    }
  }
}

void track_open_state(Simulator& sim, LoopIo& io, double now) {
  for (Device d : kDevices) {
    PtyLink* link = io.links[static_cast<std::size_t>(d)];
    if (!link) continue;
    const bool open = slave_is_open(*link);
    if (open && !link->open) link_opened(sim, d, now);
    if (!open) link->queue.clear();
    link->open = open;
  }
}

void deliver(LoopIo& io, DeviceOutput& out) {
  for (Device d : kDevices) {
    std::string& bytes = out.of(d);
    if (PtyLink* link = io.links[static_cast<std::size_t>(d)]; link && !bytes.empty()) send(*link, bytes);
    bytes.clear();
  }
  for (PtyLink* link : io.links)
    if (link && link->open) flush(*link);
}

void run_control_line(Simulator& sim, LoopIo& io, const std::string& line, double now, DeviceOutput& out) {
  const ControlParse p = parse_control_line(line);
  if (!p.error.empty()) {
    std::fprintf(io.err, "devsim: %s\n", p.error.c_str());
    std::fflush(io.err);
    return;
  }
  if (!p.command) return;
  const std::string reply = apply_control(sim, *p.command, now, out);
  if (!reply.empty()) {
    std::fprintf(io.out, "%s\n", reply.c_str());
    std::fflush(io.out);
  }
}

// Reads what is there; returns false at end of input.
bool read_control(ControlSource& src, Simulator& sim, LoopIo& io, double now, DeviceOutput& out) {
  char buf[1024];
  const ssize_t n = ::read(src.fd, buf, sizeof buf);
  if (n == 0) return false;
  if (n < 0) return errno == EAGAIN || errno == EINTR || errno == EWOULDBLOCK;
  src.pending.append(buf, static_cast<std::size_t>(n));
  for (std::size_t nl; (nl = src.pending.find('\n')) != std::string::npos;) {
    run_control_line(sim, io, src.pending.substr(0, nl), now, out);
    src.pending.erase(0, nl + 1);
  }
  if (src.pending.size() > 4096) src.pending.clear();
  return true;
}

}  // namespace

double monotonic_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

int run_loop(Simulator& sim, LoopIo& io) {
  const double t0 = monotonic_seconds();
  std::vector<ControlSource> controls;
  if (io.stdin_fd >= 0) controls.push_back({io.stdin_fd, {}});
  if (io.control_fd >= 0) controls.push_back({io.control_fd, {}});
  DeviceOutput out;
  for (;;) {
    double now = monotonic_seconds() - t0;
    if (io.stop && io.stop->load()) break;
    if (sim.options.duration > 0 && now >= sim.options.duration) break;
    track_plugs(sim, io, now);
    track_open_state(sim, io, now);
    advance(sim, now, out);
    deliver(io, out);

    std::vector<pollfd> fds;
    std::vector<int> owner;  // index in controls, or -1 - device
    for (std::size_t i = 0; i < controls.size(); ++i) {
      fds.push_back({controls[i].fd, POLLIN, 0});
      owner.push_back(static_cast<int>(i));
    }
    for (Device d : kDevices) {
      PtyLink* link = io.links[static_cast<std::size_t>(d)];
      if (!link || !link->open) continue;  // a closed slave would report a hang-up at once
      const short events = static_cast<short>(POLLIN | (link->queue.empty() ? 0 : POLLOUT));
      fds.push_back({link->master, events, 0});
      owner.push_back(-1 - static_cast<int>(d));
    }
    double wait = std::clamp(next_event(sim) - now, 0.0, kMaxWait);
    if (sim.options.duration > 0) wait = std::min(wait, std::max(0.0, sim.options.duration - now));
    const int ms = static_cast<int>(std::ceil(wait * 1000.0));
    if (::poll(fds.data(), fds.size(), ms) < 0 && errno != EINTR) break;

    now = monotonic_seconds() - t0;
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      if (owner[i] >= 0) {
        ControlSource& src = controls[static_cast<std::size_t>(owner[i])];
        if (!read_control(src, sim, io, now, out)) src.fd = -1;  // EOF: stop listening, keep running
        continue;
      }
      const Device d = static_cast<Device>(-1 - owner[i]);
      PtyLink& link = *io.links[static_cast<std::size_t>(d)];
      if (fds[i].revents & POLLIN) {
        const std::string in = receive(link);
        if (!in.empty() && d == Device::kGps && io.gps_capture) {
          std::fwrite(in.data(), 1, in.size(), io.gps_capture);
          std::fflush(io.gps_capture);
        }
        if (!in.empty()) out.of(d) += device_input(sim, d, in, now);
      }
    }
    std::erase_if(controls, [](const ControlSource& c) { return c.fd < 0; });
    tick(sim, now);
    deliver(io, out);
    if (sim.quit) break;
  }
  return 0;
}

}  // namespace quelor::devsim
