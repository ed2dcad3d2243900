#include "datafile/create_data_file.h"

#include <string_view>

#include "datafile/intact_length.h"

namespace quelor {

namespace {

bool instrument_used(const Settings& s) { return s.instrument_state > 0; }

// A GPS-only survey: the antenna is the sensor, so its header records no
// antenna offsets. The settings keep theirs for the next instrument survey.
void header_offsets_for_survey(CreateDataFileContext& c) {
  if (instrument_used(c.settings)) return;
  c.header.gps_x_offset = c.header.gps_y_offset = 0.0;
}

std::string read_all(DataSink& sink) {
  std::string out;
  char buffer[4096];
  sink.seek_start();
  for (std::size_t n; (n = sink.read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  return out;
}

}  // namespace

FileKind classify_existing_file(DataSink& sink, InstrumentType instrument_type) {
  const std::string_view marker = file_marker(instrument_type);
  std::string bytes(marker.size(), '\0');
  const std::size_t n = sink.read(bytes.data(), bytes.size());
  if (n < marker.size()) return FileKind::kOwn;
  sink.seek_start();
  return bytes == marker ? FileKind::kOwn : FileKind::kForeign;
}

bool write_survey_start(CreateDataFileContext& c, bool continuing) {
  c.sink.seek_end();
  bool ok = c.writer.write_header(c.header, continuing);
  ok = c.writer.write_line_block(c.line, c.local_time.local_time(), c.clock.now_ms()) && ok;
  // Flushed as well as closed and reopened: the blocks must really be on disk.
  return c.writer.commit_to_disk(c.save_settings) && ok;
}

CreateDataFileResult create_data_file(CreateDataFileContext& c) {
  const bool used = instrument_used(c.settings);
  const std::string_view extension = data_file_extension(c.variant, used);
  CreateDataFileResult result;
  for (;;) {
    SaveDialogRequest request;
    request.file_type = file_type_entry(c.variant, used);
    request.default_extension = default_extension(c.variant, used);
    request.initial_folder = c.settings.data_folder;
    request.proposed_name =
        automatic_name(c.file_system, c.settings.data_folder, c.local_time.local_time(), extension).value_or(L"");
    std::optional<std::wstring> chosen = c.chooser.choose(request);
    if (!chosen) return result;
    result.path = with_default_extension(*chosen, request.default_extension);
    result.name = data_file_name(result.path);
    const bool exists = c.file_system.file_exists(result.path);
    if (exists && c.variant.navigation_mode == kNavigation) {
      c.messages.show({"WARNING", "The file already exisits. Please enter another name", DialogTemplate::kOk});
      continue;
    }
    if (!c.sink.open(result.path)) {
      result.outcome = CreateOutcome::kOpenFailed;
      return result;
    }
    const FileKind kind = exists ? classify_existing_file(c.sink, c.variant.instrument_type) : FileKind::kNew;
    c.settings.data_folder = folder_of(result.path);
    c.header.file_name = result.name;
    c.line.file_name = result.name;
    if (kind == FileKind::kOwn) {
      result.outcome = CreateOutcome::kOwnFile;
      return result;
    }
    header_offsets_for_survey(c);
    write_survey_start(c, false);
    if (kind == FileKind::kForeign) {
      c.messages.show({"INFORMATION", foreign_file_notice(c.variant), DialogTemplate::kOk});
      result.outcome = CreateOutcome::kForeignFile;
    } else {
      result.outcome = CreateOutcome::kNewFile;
    }
    return result;
  }
}

ContinueResult continue_data_file(CreateDataFileContext& c, const AppendSituation& situation, MapFrame frame) {
  ContinueResult r;
  c.sink.seek_start();
  std::string head(static_cast<std::size_t>(4 * c.writer.record_length()), '\0');
  head.resize(c.sink.read(head.data(), head.size()));
  r.check = check_append(c.variant, head, c.settings, situation);
  if (!r.check.passed) {
    if (r.check.message) c.messages.show(*r.check.message);
    c.sink.close();
    return r;
  }
  if (r.check.origin) {
    frame.origin_easting = r.check.origin->easting;
    frame.origin_northing = r.check.origin->northing;
  }
  header_offsets_for_survey(c);
  // A survey that ended in a crash may have left a partial last record: the
  // continuation starts on a record boundary.
  const std::string before = read_all(c.sink);
  const std::size_t intact = intact_length(before);
  if (intact < before.size() && !c.sink.cut_to(intact)) {
    c.messages.show({"FILE ERROR",
                     "The incomplete last record of the file\r\ncould not be removed.\r\nThe file will be closed.",
                     DialogTemplate::kOk});
    c.sink.close();
    return r;
  }
  write_survey_start(c, true);
  if (c.settings.gps_enabled > 0) {
    const std::string file = read_all(c.sink);
    c.sink.seek_end();
    r.scan = scan_appended_file(file, c.writer.record_length(), frame, &c.clock, c.scan_busy);
    c.messages.show(r.scan->message);
    if (!r.scan->ok) {
      r.must_exit = r.scan->must_exit;
      c.sink.close();
      return r;
    }
  }
  r.ok = true;
  return r;
}

}  // namespace quelor
