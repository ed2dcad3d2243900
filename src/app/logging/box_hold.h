#pragma once
// A box opened by a reading handler or a procedure while readings arrive.
// The instrument readers are held cooperatively (they stop between two
// reads), so no reading is handled while the box is open; what the port
// received meanwhile is read at the release, counted and dropped; the
// connection monitor is excused while the box is open and waits afresh from
// the release. The count is written as one remark ("Discard" and the count).

#include "platform/win32/win32_message_box.h"

namespace quelor {

// Shows the box with the readers held. With `discard_queued` the readings
// framed before the box and not yet handled are dropped (and counted) too:
// a procedure's next step must not take readings from before its question.
int show_box_holding_readings(HWND owner, const OperatorMessage& m, bool discard_queued);

// A box of a handler or procedure is open (the monitor is excused).
bool reading_box_open();

// Writes the remark of the readings a box discarded, once, while logging.
void report_discarded_readings();

}  // namespace quelor
