#pragma once
// One simulated serial device on a pseudo-terminal: the simulator keeps the
// master side for the whole run; the program opens (and may close and reopen)
// the slave side through a stable symbolic link. Both sides are raw. While
// nobody has the slave open, output is dropped as a cable to nowhere would;
// while the program does not read, output waits in a bounded queue and whole
// messages that do not fit are dropped, so that writing never blocks.

#include <cstddef>
#include <string>
#include <string_view>

namespace quelor::devsim {

struct PtyLink {
  int master = -1;
  std::string slave_path;   // /dev/pts/N
  std::string link_path;    // DIR/instrument
  bool open = false;        // the slave is open (the program has the port)
  std::string queue;        // bytes waiting for room in the pty
  std::size_t dropped = 0;  // bytes dropped
};

constexpr std::size_t kLinkQueueLimit = 16384;

// Creates the pty pair, sets raw mode and makes `link_path` point at the
// slave (replacing an old symbolic link there). Returns an error text, empty
// on success.
std::string open_pty_link(PtyLink& link, const std::string& link_path);

// Removes the symbolic link and closes the master.
void close_pty_link(PtyLink& link);

// The link vanishes as an unplugged Bluetooth port does: the symbolic link
// is removed and the master closed (a program holding the slave sees a
// hang-up), but the link path is kept for `replug_pty_link`.
void unplug_pty_link(PtyLink& link);
// A new pty pair behind the same link path. Returns an error text, empty on success.
std::string replug_pty_link(PtyLink& link);
bool pty_link_plugged(const PtyLink& link);

// Is the slave side open by somebody? (No hang-up on the master.)
bool slave_is_open(const PtyLink& link);

// Queues a whole message (dropped when the slave is closed or the queue full).
void send(PtyLink& link, std::string_view bytes);

// Writes what the pty takes now.
void flush(PtyLink& link);

// Reads what the program sent (empty when nothing or closed).
std::string receive(PtyLink& link);

}  // namespace quelor::devsim
