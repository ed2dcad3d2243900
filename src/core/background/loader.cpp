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
    std::optional<std::string> records =
        convert_data_file(bytes, {s.map_units, s.zone, s.rts_units, s.instrument_type});
    if (!records) return {{}, OperatorMessage{"FILE ERROR", "Format not supported"}};
    return {std::move(*records), std::nullopt};
  }
  TextFileConversion text = convert_text_file(bytes, {o, s.map_units, s.zone});
  if (text.refused_line == 0) return {std::move(text.records), std::nullopt};
  return {{},
          OperatorMessage{"FILE ERROR", "Check background file structure.\r\nLine " +
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
  file.options = o;
  file.converted_for = s;
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

bool background_needs_conversion(const BackgroundFile& f, const BackgroundSurvey& s) {
  const BackgroundSurvey& was = f.converted_for;
  if (was.map_units != s.map_units) return true;
  const bool data_file = f.options.file_type == kBackgroundDataFile;
  const bool projected = data_file || f.options.coordinates == kGeodetic;
  return (projected && was.zone != s.zone) || (data_file && was.rts_units != s.rts_units);
}

namespace {

// The file's point file made again for the survey; false when its source
// cannot be read, no longer converts, or the point file cannot be written.
bool convert_again(BackgroundFile& f, const BackgroundSurvey& s, FileSystem& fs) {
  const std::optional<std::string> bytes = fs.read_file(f.source_name);
  if (!bytes) return false;
  const BackgroundConversion conversion = convert_background_file(*bytes, f.options, s);
  if (conversion.refusal || !fs.write_file(f.temporary_name, conversion.records)) return false;
  f.converted_for = s;
  return true;
}

OperatorMessage removed_files_message(const std::vector<std::wstring>& removed) {
  std::string names;
  for (const std::wstring& path : removed) names += (names.empty() ? "" : ", ") + narrow(file_name_part(path));
  const char* head = removed.size() == 1 ? "Background file removed: " : "Background files removed: ";
  return {"WARNING", head + names + "\r\nnot converted again for this survey's\r\nmap units or UTM zone.",
          DialogTemplate::kOk};
}

}  // namespace

BackgroundReconversion reconvert_background_files(BackgroundFileTable& table, const BackgroundSurvey& s,
                                                  FileSystem& fs) {
  BackgroundReconversion r;
  std::vector<BackgroundFile> kept;
  for (BackgroundFile& f : table.files) {
    if (!background_needs_conversion(f, s)) {
      kept.push_back(std::move(f));
    } else if (convert_again(f, s, fs)) {
      ++r.converted;
      kept.push_back(std::move(f));
    } else {
      fs.delete_file(f.temporary_name);
      r.removed.push_back(f.source_name);
    }
  }
  table.files = std::move(kept);
  if (!r.removed.empty()) r.message = removed_files_message(r.removed);
  return r;
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
