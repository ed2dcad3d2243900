#pragma once
// Loading, saving and deleting the variant's settings file.

#include "io/file_system.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

enum SettingsFileMode : int { kLoadSettings = 0, kSaveSettings = 1, kDeleteSettings = 2 };

// mode 0 (load): a missing file is created from the current values; a file of
// another version is deleted and rewritten from the current values; a file of
// this version is read into `s`.
// mode 1 (save): the file is rewritten whole from `s`.
// mode 2 (delete): an existing file is deleted (nothing else); a missing file
// is created from the current values.
// Before any write the settings folder and its parent are created when
// missing. Returns 1 when the file was read, written or deleted as asked, 0
// when that failed or for an unknown mode or variant.
int settings_file_operation(int mode, Settings& s, const Variant& v, FileSystem& fs);

// What the main window starts with: initial_settings(v), then the settings
// file loaded over it (mode 0); Grad601 then shows offsets in metres.
Settings settings_at_start(const Variant& v, FileSystem& fs);

}  // namespace quelor
