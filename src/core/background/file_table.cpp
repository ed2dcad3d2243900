#include "background/file_table.h"

#include <algorithm>
#include <cwchar>

#include "background/point_file.h"

namespace quelor {

std::optional<OperatorMessage> check_background_room(const BackgroundFileTable& t) {
  if (static_cast<int>(t.files.size()) < kMaxBackgroundFiles) return std::nullopt;
  return OperatorMessage{"INFORMATION", "Maximum 10 background files already loaded"};
}

std::optional<OperatorMessage> check_background_to_remove(const BackgroundFileTable& t) {
  if (!t.files.empty()) return std::nullopt;
  return OperatorMessage{"INFORMATION", "No background files to remove"};
}

int lowest_free_background_index(const BackgroundFileTable& t) {
  for (int index = 1; index <= kMaxBackgroundFiles; ++index)
    if (std::none_of(t.files.begin(), t.files.end(), [&](const BackgroundFile& f) { return f.index == index; }))
      return index;
  return 0;
}

std::wstring background_row_number(int row) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%3d.", row);
  return text;
}

std::vector<std::wstring> background_remove_rows(const BackgroundFileTable& t) {
  std::vector<std::wstring> rows;
  for (std::size_t i = 0; i < t.files.size(); ++i)
    rows.push_back(background_row_number(static_cast<int>(i) + 1) + L" " + file_name_part(t.files[i].source_name));
  return rows;
}

int remove_background_files(BackgroundFileTable& t, const std::vector<bool>& selected, FileSystem& fs) {
  std::vector<BackgroundFile> kept;
  int removed = 0;
  for (std::size_t i = 0; i < t.files.size(); ++i) {
    if (i < selected.size() && selected[i]) {
      fs.delete_file(t.files[i].temporary_name);
      ++removed;
    } else {
      kept.push_back(std::move(t.files[i]));
    }
  }
  t.files = std::move(kept);
  return removed;
}

void clear_background_files(BackgroundFileTable& t, FileSystem& fs) {
  for (const BackgroundFile& f : t.files) fs.delete_file(f.temporary_name);
  t.files.clear();
}

}  // namespace quelor

namespace quelor {

std::optional<OperatorMessage> check_enter_background(const BackgroundFileTable& table, bool have_valid_fix) {
  if (auto full = check_background_room(table)) return full;
  if (have_valid_fix) return std::nullopt;
  return OperatorMessage{"INFORMATION", "Valid GPS position must be \r\nreceived to use this option."};
}

}  // namespace quelor
