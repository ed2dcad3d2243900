#pragma once
// A zip archive in memory (what a KMZ is): each entry deflated when that
// makes it smaller, else stored, with its CRC-32; local headers, the central
// directory and the end record. Entries carry a fixed date (1980-01-01), so
// the same contents give the same bytes. No zip64: each entry and the whole
// archive below 4 GiB, fewer than 65 535 entries.

#include <string>
#include <vector>

namespace quelor {

struct ZipEntry {
  std::string name;   // path inside the archive, '/' separated
  std::string bytes;  // contents
};

// The archive's bytes; empty when an entry or the whole is too large for
// a zip without zip64 (or deflate fails).
std::string zip_bytes(const std::vector<ZipEntry>& entries);

}  // namespace quelor
