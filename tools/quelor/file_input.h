#pragma once
// Reading the subcommands' input files whole.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelor::tool {

// The bytes of the file at `path`, or nothing when it cannot be read.
std::optional<std::string> read_file_bytes(const std::string& path);

// At most a reading a record: the files' sizes over the record length of
// `first` (the first file's bytes); 0 when not known (a pipe among them).
std::size_t readings_bound(const std::vector<std::string>& files, std::string_view first);

// Each folder among `files` replaced by the survey data files in it, in name
// order; an error text when a folder cannot be read or holds none.
std::string expand_data_folders(std::vector<std::string>& files);

// The bytes of `path`, or of standard input when `path` is null or "-".
bool read_input(const char* path, std::vector<std::uint8_t>& data);

}  // namespace quelor::tool
