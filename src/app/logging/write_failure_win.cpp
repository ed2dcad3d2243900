#include "app/logging/write_failure_win.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/logging/box_hold.h"
#include "app/logging/logging_actions.h"
#include "app/logging/logging_session.h"
#include "app/logging/status_panel.h"
#include "app/sound/sound_player.h"
#include "datafile/write_failure.h"

namespace quelor {

namespace {

std::string file_name() {
  std::string name;
  for (wchar_t c : logging_session().sink.path()) name.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return name;
}

void show_box(HWND window, const OperatorMessage& m) { show_box_holding_readings(GetParent(window), m, false); }

}  // namespace

void report_write_failure(HWND window) {
  LoggingSession& s = logging_session();
  if (!s.file_writer || !s.file_writer->failing()) return;
  play_sound(Sound::kRing);
  if (s.survey.state == kStateLogging) pause_action(window, 0);
  invalidate_status_area(window);
  const DataFileWriter& w = *s.file_writer;
  show_box(window, write_failure_message(w.failure_cause(), file_name(), w.held_records()));
  invalidate_status_area(window);
}

bool write_held_records(HWND window) {
  LoggingSession& s = logging_session();
  if (!s.file_writer || !s.file_writer->failing()) return true;
  DataFileWriter& w = *s.file_writer;
  const bool written = w.retry(GetTickCount());
  invalidate_status_area(window);
  if (written) return true;
  play_sound(Sound::kRing);
  show_box(window, write_retry_failed_message(w.failure_cause(), file_name(), w.held_records()));
  return false;
}

void settle_held_records(HWND window) {
  LoggingSession& s = logging_session();
  if (!s.file_writer || !s.file_writer->failing()) return;
  DataFileWriter& w = *s.file_writer;
  if (w.retry(GetTickCount())) return;
  const std::size_t lost = w.held_records() + w.lost_records();
  w.forget_held();
  show_box(window, write_lost_message(file_name(), lost));
}

bool held_records_label(std::string& file_label) {
  const LoggingSession& s = logging_session();
  if (!s.file_writer || !s.file_writer->failing()) return false;
  char text[48];
  std::snprintf(text, sizeof text, "File error: %zu held", s.file_writer->held_records());
  file_label = text;
  return true;
}

}  // namespace quelor
