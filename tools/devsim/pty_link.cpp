#include "devsim/pty_link.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace quelor::devsim {
namespace {

std::string system_error(const std::string& what) { return what + ": " + std::strerror(errno); }

void make_raw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

std::string open_pty_link(PtyLink& link, const std::string& link_path) {
  link.master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (link.master < 0) return system_error("posix_openpt");
  if (grantpt(link.master) != 0 || unlockpt(link.master) != 0) return system_error("grantpt/unlockpt");
  const char* name = ptsname(link.master);
  if (!name) return system_error("ptsname");
  link.slave_path = name;
  // Raw mode before anybody opens the slave, so nothing is echoed or
  // translated; the settings stay with the pty while the master is open.
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave < 0) return system_error("open " + link.slave_path);
  make_raw(slave);
  ::close(slave);
  make_raw(link.master);

  struct stat st {};
  if (lstat(link_path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) return link_path + " exists and is not a symbolic link";
    ::unlink(link_path.c_str());
  }
  if (::symlink(name, link_path.c_str()) != 0) return system_error("symlink " + link_path);
  link.link_path = link_path;
  return {};
}

namespace {

// Only our own link: another run may have replaced it.
void remove_own_link(const PtyLink& link) {
  if (link.link_path.empty()) return;
  char target[256] = {};
  const ssize_t n = ::readlink(link.link_path.c_str(), target, sizeof target - 1);
  if (n > 0 && link.slave_path == std::string(target, static_cast<std::size_t>(n))) ::unlink(link.link_path.c_str());
}

}  // namespace

void close_pty_link(PtyLink& link) {
  remove_own_link(link);
  link.link_path.clear();
  if (link.master >= 0) ::close(link.master);
  link.master = -1;
}

void unplug_pty_link(PtyLink& link) {
  remove_own_link(link);
  if (link.master >= 0) ::close(link.master);
  link.master = -1;
  link.open = false;
  link.queue.clear();
}

std::string replug_pty_link(PtyLink& link) {
  if (link.master >= 0) return {};
  const std::string path = link.link_path;
  std::string error = open_pty_link(link, path);
  if (!error.empty()) {
    if (link.master >= 0) ::close(link.master);
    link.master = -1;
    link.link_path = path;  // tried again on the next look
  }
  return error;
}

bool pty_link_plugged(const PtyLink& link) { return link.master >= 0; }

bool slave_is_open(const PtyLink& link) {
  if (link.master < 0) return false;
  pollfd p{link.master, 0, 0};
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

void send(PtyLink& link, std::string_view bytes) {
  if (!link.open || link.queue.size() + bytes.size() > kLinkQueueLimit) {
    link.dropped += bytes.size();
    return;
  }
  link.queue.append(bytes);
}

void flush(PtyLink& link) {
  while (!link.queue.empty()) {
    const ssize_t n = ::write(link.master, link.queue.data(), link.queue.size());
    if (n > 0) {
      link.queue.erase(0, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {  // EIO: the slave went away
      link.dropped += link.queue.size();
      link.queue.clear();
    }
    return;
  }
}

std::string receive(PtyLink& link) {
  std::string in;
  char buf[512];
  for (;;) {
    const ssize_t n = ::read(link.master, buf, sizeof buf);
    if (n > 0) {
      in.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return in;  // EAGAIN, or EIO while nobody has the slave open
  }
}

}  // namespace quelor::devsim
