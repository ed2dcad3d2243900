#pragma once
// The Create Data File dialog on GetSaveFileNameW: the variant's file type,
// its default extension, the data folder, and the automatic name filled in
// so that Enter accepts it.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include <optional>
#include <string>

#include "datafile/create_data_file.h"

namespace quelor {

// "Qyn31 Files (*.H31)\0*.H31\0\0" as one wide string with its NULs.
std::wstring save_dialog_filter(const FileTypeEntry& entry);

// The automatic name with the default extension, so that Enter accepts
// "250307_000.H31" as proposed; a name that has an extension stays.
std::wstring proposed_file_name(const std::wstring& stem, const std::wstring& extension);

class Win32SaveFileChooser final : public SaveFileChooser {
 public:
  explicit Win32SaveFileChooser(HWND owner) : owner_(owner) {}
  std::optional<std::wstring> choose(const SaveDialogRequest& request) override;

 private:
  HWND owner_;
};

}  // namespace quelor
