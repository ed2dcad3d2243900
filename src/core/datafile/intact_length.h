#pragma once
// What survives of a data file after a crash or power loss: whole records.
// A kill while a record was being written leaves its first bytes; a power
// loss may leave the file's new end filled with zero bytes. Both are cut
// before a file is continued or repaired, so that new records start on a
// record boundary.

#include <cstddef>
#include <string_view>

namespace quelor {

// The length of `file` without a partial last record and without trailing
// records of zero bytes only. The record length is the first record's (up to
// its first line feed); a file without one is left as it is.
std::size_t intact_length(std::string_view file);

}  // namespace quelor
