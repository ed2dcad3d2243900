#pragma once
// A data file the writer can no longer write (a full disk, a card pulled
// out, a file made read-only): the surveyor hears the connection alarm, the
// survey goes to Stand By as Pause does and a box names the file, the cause
// and the records held. Go writes the held records first; Exit tells what
// could not be written.

#include <windows.h>

#include <string>

namespace quelor {

// Any thread: the writer's failure notice (posts to the logging window).
void post_write_failure_notice();

// Window thread, on that notice.
void report_write_failure(HWND window);

// Go, before logging starts again: true when nothing is held or the held
// records and the gap remark are written; false (with the box again) when
// the file still cannot be written, and the survey stays in Stand By.
bool write_held_records(HWND window);

// Exit, before the file closes: a last try, then the count that is lost.
void settle_held_records(HWND window);

// "Held: %zu records" in place of the file's name while the file fails.
bool held_records_label(std::string& file_label);

}  // namespace quelor
