#include "grid/zip_archive.h"

#include <zlib.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace quelor {

namespace {

constexpr std::uint16_t kVersion = 20;         // 2.0: deflate
constexpr std::uint16_t kStored = 0, kDeflated = 8;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
constexpr std::uint16_t kUtf8Names = 1 << 11;
constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();

void put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

// Raw deflate (no zlib wrapper), as zip wants it.
std::optional<std::string> deflated(const std::string& in) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return std::nullopt;
  std::string out(deflateBound(&z, static_cast<uLong>(in.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

struct Written {
  std::uint16_t method;
  std::uint32_t crc, packed, size, offset;
};

// The fields local header and central directory share, from "version needed" on.
void common_fields(std::string& s, const ZipEntry& e, const Written& w) {
  put16(s, kVersion);
  put16(s, kUtf8Names);
  put16(s, w.method);
  put16(s, 0);  // time 00:00:00
  put16(s, kDosDate);
  put32(s, w.crc);
  put32(s, w.packed);
  put32(s, w.size);
  put16(s, static_cast<std::uint32_t>(e.name.size()));
  put16(s, 0);  // no extra field
}

}  // namespace

std::string zip_bytes(const std::vector<ZipEntry>& entries) {
  if (entries.size() >= 0xFFFF) return {};
  std::string out, directory;
  for (const ZipEntry& e : entries) {
    if (e.bytes.size() >= kLimit || e.name.empty() || e.name.size() >= 0xFFFF) return {};
    const std::optional<std::string> packed = deflated(e.bytes);
    if (!packed) return {};
    const bool deflate = packed->size() < e.bytes.size();
    const std::string& data = deflate ? *packed : e.bytes;
    const Written w{deflate ? kDeflated : kStored,
                    static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(e.bytes.data()),
                                                     static_cast<uInt>(e.bytes.size()))),
                    static_cast<std::uint32_t>(data.size()), static_cast<std::uint32_t>(e.bytes.size()),
                    static_cast<std::uint32_t>(out.size())};
    put32(out, 0x04034b50);
    common_fields(out, e, w);
    out += e.name;
    out += data;
    if (out.size() >= kLimit) return {};

    put32(directory, 0x02014b50);
    put16(directory, kVersion);  // made by: MS-DOS attributes, 2.0
    common_fields(directory, e, w);
    put16(directory, 0);  // comment length
    put16(directory, 0);  // disk number
    put16(directory, 0);  // internal attributes
    put32(directory, 0);  // external attributes
    put32(directory, w.offset);
    directory += e.name;
  }
  const std::uint64_t directory_offset = out.size();
  if (directory_offset + directory.size() >= kLimit) return {};
  out += directory;
  put32(out, 0x06054b50);
  put16(out, 0);  // this disk
  put16(out, 0);  // disk of the directory
  put16(out, static_cast<std::uint32_t>(entries.size()));
  put16(out, static_cast<std::uint32_t>(entries.size()));
  put32(out, static_cast<std::uint32_t>(directory.size()));
  put32(out, static_cast<std::uint32_t>(directory_offset));
  put16(out, 0);  // comment length
  return out;
}

}  // namespace quelor
