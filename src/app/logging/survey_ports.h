#pragma once
// The ports and reader threads of a survey as the start and the end of a
// survey use them. Kept apart from the survey logic's headers: the serial
// openers' message type and the data-file message type share a name.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "variant/variant.h"

namespace quelor {

// Opens the instrument port: an open port is purged and closed first; up to
// `tries` tries `gap_ms` apart, only the last one reporting its failure.
bool open_instrument_port_with_tries(int tries, std::uint32_t gap_ms);
bool open_survey_gps_port();
bool open_survey_tilt_port();

// The EM38 record length (7 or 12) found on the open port, or nothing.
std::optional<int> detect_em38_length_on_port();
// The EM61 handshake: the instrument answers the two-byte command.
bool em61_handshake();
// The tilt meter answers its output-rate command.
bool tilt_meter_check(int rate_index);

// Starts the instrument reader; the count of records published so far is
// returned in `records_before` for the first-record wait.
bool start_survey_reader(InstrumentType instrument_type, int record_length, bool polled, bool second_mode,
                         bool suspended);
// The instrument reader again as it was last started (the reconnection):
// the same instrument and options; `record_length` above 0 replaces the
// EM38 length. A polled reader starts idle.
bool restart_survey_reader(int record_length);
bool start_survey_tilt_reader();
// Waits up to `ms` for a record after `records_before`.
bool wait_first_record(std::uint32_t records_before, std::uint32_t ms);
std::uint32_t published_records();

// GPS reader: created suspended, resumed once the window is shown.
bool create_survey_gps_reader();
void resume_survey_gps_reader();

// Closing: the GPS port (its reader stopped and awaited), the tilt port, the
// instrument port (a reconnection stopped, a polling reader woken, the
// thread handles closed).
void close_survey_gps();
void close_survey_tilt();
void close_survey_instrument();

// EM61 wheel mode on Go ("H","W": the running reader suspended, the port
// purged, 1300 ms after the answer, purged again, the second-mode reader
// resumed) and back on Pause ("H","X", 100 ms, the timed reader resumed).
// False when the instrument did not answer (the running reader resumes).
bool switch_em61_to_wheel();
bool switch_em61_to_timed();

// The connection monitor's polled EM61-MK2 reading request.
bool request_poll();

// The busy wait between port operations.
void busy_wait_ms(std::uint32_t ms);

}  // namespace quelor
