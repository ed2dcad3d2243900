#pragma once
// The instrument's reconnection on timer 1: the core's plan
// (survey/instrument_reconnect.h) carried out. A try closes the port and
// keeps the old reader's thread handle until the reader has ended; an opener
// thread opens the port with its line settings and runs the instrument's
// start check, so that a port that takes seconds to open (a Bluetooth link
// paging its device) never holds up the window thread; the opened port is
// put in place and the reader restarted on a later tick. Nothing here waits.

#include <cstdint>

namespace quelor {

struct MonitorActions;

// After the connection monitor on each tick of timer 1.
void reconnect_instrument_tick(const MonitorActions& monitor, std::uint32_t now);

// Exit, a failed start or the end of the survey: the plan stops at once, a
// try in progress is cancelled and whatever its opener opens is closed; the
// old reader's handle is let go.
void stop_instrument_reconnect();

}  // namespace quelor
