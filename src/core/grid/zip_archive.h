#pragma once
// A zip archive of stored (uncompressed) entries, as a KMZ holds its KML and
// picture: local headers with each entry's CRC-32, the central directory and
// its end record; no zip64, so the whole stays under 4 GB.

#include <string>
#include <vector>

namespace quelor {

struct ZipEntry {
  std::string name;  // path inside the archive, '/' separated
  std::string bytes;
};

// Empty when the entries would not fit a plain zip (4 GB, 65535 entries).
std::string zip_bytes(const std::vector<ZipEntry>& entries);

}  // namespace quelor
