#include "background/loader.h"

#include "background/data_file_conversion.h"
#include "background/point_file.h"
#include "background/text_conversion.h"

namespace quelor {

namespace {

std::string narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

}  // namespace

BackgroundConversion convert_background_file(std::string_view bytes, const BackgroundLoadOptions& o,
                                             const BackgroundSurvey& s) {
  if (o.file_type == kBackgroundDataFile) {
    std::optional<std::string> records = convert_data_file(bytes, {s.map_units, s.zone, s.rts_units, s.instrument_type});
    if (!records) return {{}, OperatorMessage{"FILE ERROR", "Format not supported"}};
    return {std::move(*records), std::nullopt};
  }
  TextFileConversion text = convert_text_file(bytes, {o, s.map_units, s.zone});
  if (text.refused_line == 0) return {std::move(text.records), std::nullopt};
  return {{}, OperatorMessage{"FILE ERROR", "Check background file structure.\r\nLine " +
                                                std::to_string(text.refused_line) + ": " + text.refusal}};
}

BackgroundLoad load_background_file(BackgroundFileTable& table, const std::wstring& source_path,
                                    const BackgroundLoadOptions& o, const BackgroundSurvey& s, const MapFrame& frame,
                                    const std::wstring& temporary_folder, FileSystem& fs) {
  BackgroundLoad load;
  if ((load.message = check_background_room(table))) return load;
  const std::optional<std::string> bytes = fs.read_file(source_path);
  if (!bytes) {
    load.message = unexpected_background_error(1, narrow(source_path));
    return load;
  }
  const BackgroundConversion conversion = convert_background_file(*bytes, o, s);
  if (conversion.refusal) {
    load.message = conversion.refusal;
    return load;
  }
  const std::string& records = conversion.records;
  BackgroundFile file;
  file.index = lowest_free_background_index(table);
  file.source_name = source_path;
  file.temporary_name = temporary_point_file_name(source_path, file.index, temporary_folder);
  file.style = background_style(o.display_type, s.navigation_mode);
  file.labels = o.file_type == kBackgroundLabelledText && s.navigation_mode == 0;
  load.drawing = plan_background_drawing(read_point_file(records), file.style, file.labels, frame);
  load.message = drawing_message(load.drawing);
  if (load.drawing.points == 0) return load;  // nothing to keep
  if (!fs.write_file(file.temporary_name, records)) {
    load.message = unexpected_background_error(2, narrow(source_path));
    load.drawing = {};
    return load;
  }
  table.files.push_back(std::move(file));
  load.added = true;
  return load;
}

std::vector<BackgroundDrawing> plan_all_background_files(const BackgroundFileTable& table, const MapFrame& frame,
                                                         FileSystem& fs, std::optional<OperatorMessage>* failure) {
  std::vector<BackgroundDrawing> plans;
  for (const BackgroundFile& f : table.files) {
    const std::optional<std::string> bytes = fs.read_file(f.temporary_name);
    if (!bytes) {
      if (failure && !*failure) *failure = unexpected_background_error(3, narrow(f.source_name));
      continue;
    }
    plans.push_back(plan_background_drawing(read_point_file(*bytes), f.style, f.labels, frame));
  }
  return plans;
}

}  // namespace quelor
