#include "platform/win32/win32_save_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/win32_message_box.h"

namespace quelor {

std::wstring save_dialog_filter(const FileTypeEntry& entry) {
  std::wstring filter = widen_text(entry.label);
  filter.push_back(L'\0');
  filter += widen_text(entry.pattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

std::wstring proposed_file_name(const std::wstring& stem, const std::wstring& extension) {
  if (stem.empty() || extension.empty()) return stem;
  const std::size_t slash = stem.find_last_of(L"\\/");
  const std::size_t dot = stem.find_last_of(L'.');
  if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) return stem;
  return stem + L"." + extension;
}

std::optional<std::wstring> Win32SaveFileChooser::choose(const SaveDialogRequest& request) {
  const std::wstring filter = save_dialog_filter(request.file_type);
  const std::wstring title = widen_text(request.title);
  const std::wstring extension = widen_text(request.default_extension);
  const std::wstring proposed = proposed_file_name(request.proposed_name, extension);
  std::vector<wchar_t> name(MAX_PATH + 1, L'\0');
  lstrcpynW(name.data(), proposed.c_str(), MAX_PATH);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = request.initial_folder.empty() ? nullptr : request.initial_folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  return std::wstring(name.data());
}

}  // namespace quelor
