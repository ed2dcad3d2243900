#include "grid/zip_archive.h"

#include <zlib.h>

#include <cstdint>

namespace quelor {

namespace {

constexpr std::uint16_t kVersion = 20;    // 2.0: what stored entries need
constexpr std::uint16_t kDosDate = 0x21;  // 1980-01-01: no time of its own
constexpr std::uint64_t kLimit = 0xFFFFFFFFu;

template <typename T>
void put(std::string& out, T v) {
  for (std::size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i) & 0xFF);
}

// The fields a local header and its central directory record share.
void common_fields(std::string& out, std::uint32_t crc, std::uint32_t size, std::uint16_t name_length) {
  put<std::uint16_t>(out, 0);  // flags
  put<std::uint16_t>(out, 0);  // stored
  put<std::uint16_t>(out, 0);  // time
  put<std::uint16_t>(out, kDosDate);
  put<std::uint32_t>(out, crc);
  put<std::uint32_t>(out, size);  // compressed
  put<std::uint32_t>(out, size);  // uncompressed
  put<std::uint16_t>(out, name_length);
  put<std::uint16_t>(out, 0);  // extra field
}

}  // namespace

std::string zip_bytes(const std::vector<ZipEntry>& entries) {
  if (entries.size() > 0xFFFF) return {};
  std::string out, directory;
  for (const ZipEntry& e : entries) {
    if (e.bytes.size() >= kLimit || e.name.size() > 0xFFFF || out.size() + e.bytes.size() + 1024 >= kLimit) return {};
    const auto crc = static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(e.bytes.data()), static_cast<uInt>(e.bytes.size())));
    const auto size = static_cast<std::uint32_t>(e.bytes.size());
    const auto name_length = static_cast<std::uint16_t>(e.name.size());
    put<std::uint32_t>(directory, 0x02014b50);
    put<std::uint16_t>(directory, kVersion);  // made by
    put<std::uint16_t>(directory, kVersion);  // needed
    common_fields(directory, crc, size, name_length);
    put<std::uint16_t>(directory, 0);  // comment
    put<std::uint16_t>(directory, 0);  // disk
    put<std::uint16_t>(directory, 0);  // internal attributes
    put<std::uint32_t>(directory, 0);  // external attributes
    put<std::uint32_t>(directory, static_cast<std::uint32_t>(out.size()));
    directory += e.name;
    put<std::uint32_t>(out, 0x04034b50);
    put<std::uint16_t>(out, kVersion);
    common_fields(out, crc, size, name_length);
    out += e.name;
    out += e.bytes;
  }
  const auto directory_at = static_cast<std::uint32_t>(out.size());
  out += directory;
  put<std::uint32_t>(out, 0x06054b50);
  put<std::uint16_t>(out, 0);  // this disk
  put<std::uint16_t>(out, 0);  // the directory's disk
  put<std::uint16_t>(out, static_cast<std::uint16_t>(entries.size()));
  put<std::uint16_t>(out, static_cast<std::uint16_t>(entries.size()));
  put<std::uint32_t>(out, static_cast<std::uint32_t>(directory.size()));
  put<std::uint32_t>(out, directory_at);
  put<std::uint16_t>(out, 0);  // comment
  return out;
}

}  // namespace quelor
