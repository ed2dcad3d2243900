#pragma once
// A background file loaded into a survey's map as the program loads it:
// converted into its temporary point file in memory, entered in the file
// table and planned for drawing; then every loaded file planned again, as a
// whole-map redraw does.
#include "background/loader.h"
#include "fuzz_target.h"
#include "memory_file_system.h"

namespace quelor::fuzz {

inline void load_background(std::string_view bytes, const BackgroundLoadOptions& options,
                            const BackgroundSurvey& survey) {
  testing_support::MemoryFileSystem fs;
  const std::wstring source = L"C:\\site\\BACKGRND.TXT";
  fs.files[source] = std::string(bytes);
  BackgroundFileTable table;
  MapFrame frame;
  frame.origin_easting = 600000.0;
  frame.origin_northing = 4830000.0;
  frame.pixels_per_unit = 10.0;
  const BackgroundLoad load = load_background_file(table, source, options, survey, frame, L"C:\\temp\\", fs);
  expect(load.added || load.message.has_value(), "a refused background file says why");
  std::optional<OperatorMessage> failure;
  (void)plan_all_background_files(table, frame, fs, &failure);
}

}  // namespace quelor::fuzz
