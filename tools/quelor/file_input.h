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

// Each folder among `files` replaced by the survey data files in it, in name
// order; an error text when a folder cannot be read or holds none.
std::string expand_data_folders(std::vector<std::string>& files);

// The bytes of `path`, or of standard input when `path` is null or "-".
bool read_input(const char* path, std::vector<std::uint8_t>& data);

}  // namespace quelor::tool
