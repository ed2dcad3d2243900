#pragma once
// What the reader threads share with the window thread: the three port
// handles, the last records, the ticks, the decimation values, the reader
// states and flags, the survey values the readers look at, and the hooks the
// logging window and the data file fill in. Every value touched by two
// threads is an atomic, a RecordSlot or the instrument record queue.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/readers/record_slot.h"
#include "gps/markers.h"
#include "platform/win32/serial_port_win32.h"
#include "serial/frame_step.h"
#include "serial/record_queue.h"

namespace quelor {

inline constexpr int kReaderRunning = 2;
inline constexpr int kReaderFinished = 1;

// Survey values the readers read on every record; the logging window writes them.
struct ReaderSurvey {
  std::atomic<int> records_per_reading{1};              // RecordsPerReading
  std::atomic<bool> sound_on{false};                    // audio ticks
  std::atomic<bool> disconnection_alarm{true};          // GPS reconnection ring
  std::atomic<bool> logging{false};                     // survey state is Logging
  std::atomic<int> survey_mode{0};                      // 0 Auto, 1 Wheel, 2 Manual
  std::atomic<int> sound_every{0};                      // EM61 polled / second-mode tick count
  std::atomic<bool> marker{false};                      // EM38-4 marker flag (+8)
  std::atomic<int> status_port{0};                      // EM38-4: one-based port whose modem status is read
  std::atomic<std::uint32_t> polling_timeout_ms{1000};  // EM61-MK2 polled reader
};

// Hooks: null means "nothing to do". They run on the reader thread.
struct ReaderHooks {
  // Repaints the status area after the displays were blanked.
  std::atomic<void (*)()> repaint_status_area{nullptr};
  // Blanks the two tilt fields of the logging window.
  std::atomic<void (*)()> blank_tilt_fields{nullptr};
  // Writes a bad tilt line as a comment record (leading backslash) while logging.
  std::atomic<void (*)(std::string_view line)> write_tilt_comment{nullptr};
  // The GPS reader's data-file writes: a sentence with its start tick and
  // markers, and a remark record.
  std::atomic<void (*)(std::string_view text, std::uint32_t tick, const MarkerSet& markers)> write_gps_sentence{
      nullptr};
  std::atomic<void (*)(std::string_view text)> write_remark{nullptr};
  // Blanks the six GPS fields of the status area.
  std::atomic<void (*)()> blank_gps_fields{nullptr};
};

// A window-thread request that a reader stop reading for a while (a box is
// open, or the window thread talks to the instrument itself). The reader
// looks at it between two reads, acknowledges and waits on `release`; it is
// never frozen from outside, so it never stops holding a lock.
struct ReaderHold {
  std::atomic<bool> requested{false};
  std::atomic<bool> held{false};         // the reader's acknowledgement
  std::atomic<bool> discard{false};      // at release: read what the port holds, count its readings, deliver none
  std::atomic<HANDLE> release{nullptr};  // manual-reset event, set when the hold ends
};

struct ReaderShared {
  // Port handles: invalid = closed = the reader's order to stop.
  PortHandleSlot instrument_port{INVALID_HANDLE_VALUE};
  PortHandleSlot gps_port{INVALID_HANDLE_VALUE};
  PortHandleSlot tilt_port{INVALID_HANDLE_VALUE};

  // Where the readers send their messages (ScreenLogWnd).
  std::atomic<HWND> log_window{nullptr};

  // InstrumentRecord: every delivered reading with its arrival tick, taken
  // once each by the handler; `framed_records` counts every valid record.
  // The EM61-MK2 second-mode reader has its own queue (one producer each:
  // a reader suspended in the middle of a push cannot spoil the other's).
  InstrumentRecordQueue instrument_records;
  InstrumentRecordQueue second_mode_records;
  std::atomic<std::uint32_t> framed_records{0};
  RecordSlot tilt_sentence;  // TiltSentence
  RecordSlot gps_sentence;   // GpsSentence

  std::atomic<std::uint32_t> last_record_tick{0};  // LastRecordTick
  std::atomic<std::uint32_t> arrival_tick{0};
  std::atomic<std::uint32_t> tilt_tick{0};
  std::atomic<int> record_length{12};  // RecordLength

  std::atomic<int> instrument_reader_state{0};
  std::atomic<int> gps_reader_state{0};
  std::atomic<int> tilt_reader_state{0};

  std::atomic<bool> display_cleared{false};
  std::atomic<bool> connection_lost{false};
  // The window thread is reconnecting the instrument after a break: the GPS
  // goes on logging meanwhile.
  std::atomic<bool> instrument_reconnecting{false};
  // Raised whenever the instrument port is closed under its reader: a reader
  // of an older generation ends and delivers nothing more, even when its
  // read of the closed port returns only after a new port is in place.
  std::atomic<std::uint32_t> instrument_generation{0};
  // The instrument reader's reads of its open port fail (a Bluetooth link
  // that vanished): the break of the instruments without a time-out.
  std::atomic<bool> instrument_port_failing{false};
  std::atomic<bool> polled_idle{true};
  // The polled reader's outstanding request: when 'A' was sent, and whether
  // the previous one was answered (a record or a rejected one came).
  std::atomic<std::uint32_t> poll_tick{0};
  std::atomic<bool> poll_answered{true};

  // The pause of each instrument reader, and the readings a box discarded
  // (in the queue, or read from the port at the release).
  ReaderHold instrument_hold;
  ReaderHold second_mode_hold;
  std::atomic<std::uint32_t> discarded_readings{0};

  std::atomic<int> gps_port_closing{0};  // set by exchange while the GPS port closes
  std::atomic<int> instrument_answer{0};

  // Thread handles (the GPS reader's start and close, the reconnection).
  std::atomic<HANDLE> instrument_thread{nullptr};
  std::atomic<HANDLE> second_mode_thread{nullptr};
  std::atomic<HANDLE> gps_thread{nullptr};
  std::atomic<HANDLE> tilt_thread{nullptr};
  std::atomic<HANDLE> poll_event{nullptr};  // manual-reset event of the polled EM61 reader

  ReaderSurvey survey;
  ReaderHooks hooks;
};

// The one instance of the program.
ReaderShared& reader_shared();

// Sets the window the readers notify (the logging window).
void set_reading_window(HWND window);

// The oldest instrument reading not yet handled (window thread only).
std::optional<QueuedRecord> take_instrument_record();
// Readings the readers dropped on a full queue since the last call.
std::uint32_t take_dropped_readings();

// Copies of the shared sentence buffers for the message handlers: always a
// complete sentence, the newest one.
RecordBytes tilt_sentence();
RecordBytes gps_sentence();

// The connection monitor waits afresh from `now`: both the ticks it may
// watch (LastRecordTick, and the arrival tick of the EM38-4).
void restart_connection_wait(std::uint32_t now);

// The survey values of FrameContext as the readers see them now.
FrameContext reader_frame_context();

}  // namespace quelor
