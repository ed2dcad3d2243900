#pragma once
// Loading one background file: room in the table, the conversion by type
// into a temporary point file in the program's temporary folder, the entry
// in the table and the drawing plan of the new file with its message; and
// the plans of every loaded file for a whole-map redraw.

#include <optional>
#include <string>
#include <vector>

#include "background/draw_plan.h"
#include "background/file_table.h"
#include "background/load_options.h"
#include "datafile/append_scan.h"
#include "datafile/message_box.h"
#include "io/file_system.h"

namespace quelor {

struct BackgroundConversion {
  std::string records;
  // "FILE ERROR": a data file of a format that is not supported, or the
  // line of a text file whose coordinate is no number.
  std::optional<OperatorMessage> refusal;
};

// The temporary point file's records for the source bytes: text files by
// the options, data files by their own records.
BackgroundConversion convert_background_file(std::string_view bytes, const BackgroundLoadOptions& options,
                                             const BackgroundSurvey& survey);

struct BackgroundLoad {
  bool added = false;
  std::optional<OperatorMessage> message;  // failure, or the drawing's warning
  BackgroundDrawing drawing;               // of the file just added
};

BackgroundLoad load_background_file(BackgroundFileTable& table, const std::wstring& source_path,
                                    const BackgroundLoadOptions& options, const BackgroundSurvey& survey,
                                    const MapFrame& frame, const std::wstring& temporary_folder, FileSystem& fs);

// Whether the file's point file was converted for another map unit, or
// (where the conversion uses them: data files, geodetic text files) another
// zone or RTS unit than `survey` has.
bool background_needs_conversion(const BackgroundFile& file, const BackgroundSurvey& survey);

struct BackgroundReconversion {
  int converted = 0;                       // point files made again
  std::vector<std::wstring> removed;       // sources gone or refused now
  std::optional<OperatorMessage> message;  // "WARNING" naming the removed files
};

// Kept across surveys, the files are converted again from their sources for
// a survey of another map unit or zone. A file whose source is gone (or no
// longer converts) is taken off the table, its point file deleted, and the
// surveyor told, rather than drawn at the old survey's coordinates.
BackgroundReconversion reconvert_background_files(BackgroundFileTable& table, const BackgroundSurvey& survey,
                                                  FileSystem& fs);

// Plans of every loaded file in load order, without messages; a temporary
// file that cannot be read gives the "Unexpected error B$" message and is
// skipped.
std::vector<BackgroundDrawing> plan_all_background_files(const BackgroundFileTable& table, const MapFrame& frame,
                                                         FileSystem& fs,
                                                         std::optional<OperatorMessage>* failure = nullptr);

}  // namespace quelor
