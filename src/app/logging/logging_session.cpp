#include "app/logging/logging_session.h"
#include "app/procedures/procedure_actions.h"

#include "app/app_state.h"
#include "app/logging/write_failure_win.h"
#include "app/readers/gps_reader_thread.h"
#include "app/readers/reader_shared.h"
#include "datafile/data_records.h"
#include "survey/tilt_handler.h"

namespace quelor {

namespace {

constexpr char kRemarkTag = 'X';

// A sentence that arrives after the file closed is refused by the sink.
void write_gps_sentence_hook(std::string_view text, std::uint32_t tick, const MarkerSet& markers) {
  logging_session().writer().write_gps_sentence(text, tick, markers);
}

void write_remark_hook(std::string_view text) { write_survey_remark(text, GetTickCount()); }

void write_tilt_comment_hook(std::string_view line) {
  LoggingSession& s = logging_session();
  if (s.data_file_open()) write_tilt_garbage(s.writer(), line, GetTickCount());
}

}  // namespace

DataFileWriter& LoggingSession::writer() {
  if (!file_writer) renew_writer();
  return *file_writer;
}

// A failed write reaches the window thread at once, whichever thread wrote.
void LoggingSession::renew_writer() {
  file_writer.reset();
  file_writer.emplace(sink, g_variant);
  file_writer->set_failure_notice(post_write_failure_notice);
}

LoggingSession& logging_session() {
  static LoggingSession session;
  return session;
}

std::wstring widen(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (unsigned char c : text) out.push_back(static_cast<wchar_t>(c));
  return out;
}

void sync_reader_survey() {
  const LoggingSession& s = logging_session();
  ReaderSurvey& r = reader_shared().survey;
  r.logging.store(s.survey.state == kStateLogging);
  r.survey_mode.store(s.survey.survey_mode);
  r.records_per_reading.store(s.survey.records_per_reading < 1 || procedure_running() ? 1
                                                                                      : s.survey.records_per_reading);
  r.sound_on.store(g_settings.audio_ticks != 0);
}

void install_reader_hooks() {
  ReaderHooks& h = reader_shared().hooks;
  h.write_gps_sentence.store(write_gps_sentence_hook);
  h.write_remark.store(write_remark_hook);
  h.write_tilt_comment.store(write_tilt_comment_hook);
}

void write_survey_remark(std::string_view text, std::uint32_t tick) {
  LoggingSession& s = logging_session();
  if (s.data_file_open()) s.writer().write_remark(text, kRemarkTag, tick);
}

void write_manual_position() {
  LoggingSession& s = logging_session();
  if (!s.gps_used || !s.data_file_open() || s.survey.survey_mode != kModeManual) return;
  const HeldSentences held = manual_gps_buffers().take_pending();
  if (held.position.pending) {
    s.writer().write_gps_sentence(held.position.text, held.position.tick, kGpsForwarded);
    if (held.gsa.pending) s.writer().write_gps_sentence(held.gsa.text, held.gsa.tick, kMarkerSetA);
    return;
  }
  // Already written with an earlier reading: the GPS reader writes the next one.
  manual_gps_buffers().request_record();
}

}  // namespace quelor
