#pragma once
// The Create Data File step and the continuation of an own file: naming,
// the new / own / foreign decision, the header and line block of a new file,
// the append check, the continuation header and the scan.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "datafile/append_check.h"
#include "datafile/append_scan.h"
#include "datafile/data_records.h"
#include "datafile/data_sink.h"
#include "datafile/header_records.h"
#include "datafile/local_time.h"
#include "datafile/message_box.h"
#include "datafile/naming.h"
#include "datafile/writer.h"
#include "io/file_system.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

struct SaveDialogRequest {
  std::string title = "Create Data File";
  FileTypeEntry file_type;
  std::string default_extension;  // without dot, upper case
  std::wstring initial_folder;
  std::wstring proposed_name;  // empty when all names of the day exist
};

// The system save-file dialog; nothing on Cancel.
class SaveFileChooser {
 public:
  virtual ~SaveFileChooser() = default;
  virtual std::optional<std::wstring> choose(const SaveDialogRequest& request) = 0;
};

enum class FileKind { kNew, kOwn, kForeign };

// After opening an existing file: its first bytes against the variant's
// marker. A file shorter than the marker counts as own (the append check
// refuses it); the read position returns to the start.
FileKind classify_existing_file(DataSink& sink, InstrumentType instrument_type);

enum class CreateOutcome { kCancelled, kOpenFailed, kNewFile, kForeignFile, kOwnFile };

struct CreateDataFileContext {
  Variant variant;
  Settings& settings;
  FileSystem& file_system;
  SaveFileChooser& chooser;
  MessageBox& messages;
  DataSink& sink;
  DataFileWriter& writer;
  LocalTimeSource& local_time;
  Clock& clock;
  HeaderFields header;   // the file name is filled in here
  LineBlockFields line;  // likewise
  std::function<void()> save_settings;
  std::function<void()> scan_busy = {};  // advances the map's busy indicator
};

struct CreateDataFileResult {
  CreateOutcome outcome = CreateOutcome::kCancelled;
  std::wstring path;
  std::string name;  // data file name for 'H', 'L' and "File: %s"
};

// Steps 1-10 of Create Data File. An own file is left open at its start for
// continue_data_file.
CreateDataFileResult create_data_file(CreateDataFileContext& context);

// Writes header (continuing or not), line block and time mark at the end of
// the open file, then flushes, closes, saves the settings and reopens.
bool write_survey_start(CreateDataFileContext& context, bool continuing);

struct ContinueResult {
  bool ok = false;
  bool must_exit = false;
  AppendCheckResult check;
  std::optional<ScanResult> scan;
};

// Append check, continuation blocks and (GPS enabled) the scan of an own file
// opened by create_data_file. A refused file is closed with nothing written.
ContinueResult continue_data_file(CreateDataFileContext& context, const AppendSituation& situation, MapFrame frame);

}  // namespace quelor
