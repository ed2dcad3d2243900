// The settings file as each program reads it at its start: the first byte
// picks one of the 18 programs (and so the family of the file's lines), the
// rest is the file. Loading never fails in a way that leaves the settings
// unusable: the derived values are computed from what was read.
#include "fuzz_target.h"
#include "memory_file_system.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_derived.h"
#include "settings/settings_file.h"
#include "settings/settings_path.h"
#include "variant/variant.h"

namespace quelor::fuzz {

std::vector<std::string> seeds() {
  std::vector<std::string> out;
  const auto rows = variant_table();
  for (std::size_t i = 0; i < rows.size() * 2; ++i) {
    const Variant v = variant_of(static_cast<std::uint8_t>(i));
    // The file the program itself writes on a first start.
    testing_support::MemoryFileSystem fs;
    Settings s = initial_settings(v);
    settings_file_operation(kSaveSettings, s, v, fs);
    const auto file = fs.read_file(settings_file_path(v));
    if (file) out.push_back(std::string(1, static_cast<char>(i)) + *file);
  }
  return out;
}

void fuzz_one(const FuzzInput& in) {
  const Variant v = variant_of(in.selector);
  testing_support::MemoryFileSystem fs;
  fs.files[settings_file_path(v)] = std::string(in.rest);
  Settings s = settings_at_start(v, fs);
  (void)derive_settings(s, v);
  // What was read is written back and read again to the same values.
  settings_file_operation(kSaveSettings, s, v, fs);
  const std::string written = *fs.read_file(settings_file_path(v));
  Settings again = initial_settings(v);
  settings_file_operation(kLoadSettings, again, v, fs);
  settings_file_operation(kSaveSettings, again, v, fs);
  expect(*fs.read_file(settings_file_path(v)) == written, "a saved settings file reads back to the same file");
}

}  // namespace quelor::fuzz
