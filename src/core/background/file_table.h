#pragma once
// The table of loaded background files (at most 10), kept in load order.
// Each file has a load index 1-10 that names its temporary point file; a new
// file takes the lowest index no loaded file holds, so a reused index never
// overwrites the temporary file of a file still loaded.

#include <optional>
#include <string>
#include <vector>

#include "background/load_options.h"
#include "datafile/message_box.h"
#include "io/file_system.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kMaxBackgroundFiles = 10;

// What a point file's coordinates depend on: the survey's map unit, its UTM
// zone and (data files of a total station) its RTS units.
struct BackgroundSurvey {
  int map_units = 0;
  int zone = 1;  // the survey's UTM zone
  int rts_units = 0;
  InstrumentType instrument_type = kEm31Mk2;
  int navigation_mode = 1;
};

struct BackgroundFile {
  int index = 1;                // 1-10
  std::wstring source_name;     // full path of the loaded file
  std::wstring temporary_name;  // full path of its point file
  BackgroundStyle style;
  bool labels = false;
  BackgroundLoadOptions options;   // how the source is read
  BackgroundSurvey converted_for;  // the survey its point file was converted for
};

struct BackgroundFileTable {
  std::vector<BackgroundFile> files;  // load order
};

// "Maximum 10 background files already loaded" when the table is full.
std::optional<OperatorMessage> check_background_room(const BackgroundFileTable& table);

// "No background files to remove" when the table is empty.
std::optional<OperatorMessage> check_background_to_remove(const BackgroundFileTable& table);

// The lowest index 1-10 no loaded file holds; 0 when full.
int lowest_free_background_index(const BackgroundFileTable& table);

// The rows of "Remove BackGround Files": "  1." ... " 10." and the file name.
std::vector<std::wstring> background_remove_rows(const BackgroundFileTable& table);
std::wstring background_row_number(int row);  // "%3d."

// Removes the files whose rows are selected (row i of the list is files[i])
// and deletes their temporary files. Returns the number removed.
int remove_background_files(BackgroundFileTable& table, const std::vector<bool>& selected, FileSystem& fs);

// Removes every file and its temporary file (end of the program).
void clear_background_files(BackgroundFileTable& table, FileSystem& fs);

}  // namespace quelor

namespace quelor {

// "Enter Background Files": room for one more file, then a valid GPS
// position ("Valid GPS position must be ", "received to use this option.").
std::optional<OperatorMessage> check_enter_background(const BackgroundFileTable& table, bool have_valid_fix);

}  // namespace quelor
