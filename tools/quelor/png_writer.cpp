#include "png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>

namespace quelor::tool {

namespace {

using Sink = OutputSink;

void put_u32(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

bool chunk(const Sink& sink, const char type[4], const std::string& data) {
  std::string c;
  put_u32(c, static_cast<std::uint32_t>(data.size()));
  c.append(type, 4);
  c += data;
  const auto* typed = reinterpret_cast<const Bytef*>(c.data() + 4);
  put_u32(c, static_cast<std::uint32_t>(crc32(0L, typed, static_cast<uInt>(data.size() + 4))));
  return sink(c.data(), c.size());
}

// Rows go through one deflate stream; every full buffer becomes an IDAT chunk.
class IdatStream {
 public:
  explicit IdatStream(const Sink& sink) : sink_(sink) { ok_ = deflateInit(&z_, Z_BEST_SPEED) == Z_OK; }
  ~IdatStream() { deflateEnd(&z_); }
  bool row(const std::uint8_t* rgb, std::size_t bytes) {
    static const std::uint8_t kNoFilter = 0;
    return feed(&kNoFilter, 1, Z_NO_FLUSH) && feed(rgb, bytes, Z_NO_FLUSH);
  }
  bool finish() { return feed(nullptr, 0, Z_FINISH); }

 private:
  bool feed(const std::uint8_t* data, std::size_t size, int flush) {
    if (!ok_) return false;
    z_.next_in = const_cast<Bytef*>(data);
    z_.avail_in = static_cast<uInt>(size);
    for (;;) {
      z_.next_out = out_.data();
      z_.avail_out = static_cast<uInt>(out_.size());
      const int status = deflate(&z_, flush);
      if (status == Z_STREAM_ERROR) return ok_ = false;
      const std::size_t produced = out_.size() - z_.avail_out;
      if (produced > 0 && !chunk(sink_, "IDAT", std::string(reinterpret_cast<char*>(out_.data()), produced)))
        return ok_ = false;
      if (flush == Z_FINISH ? status == Z_STREAM_END : (z_.avail_in == 0 && z_.avail_out != 0)) return true;
    }
  }

  const Sink& sink_;
  z_stream z_{};
  bool ok_ = false;
  std::array<Bytef, 1 << 16> out_{};
};

bool encode(const Sink& sink, int width, int height, int band_height, const std::function<Raster(int)>& band,
            const PaletteColour* transparent = nullptr) {
  static const char kSignature[] = "\x89PNG\r\n\x1a\n";
  if (!sink(kSignature, 8)) return false;
  std::string header;
  put_u32(header, static_cast<std::uint32_t>(width));
  put_u32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no filter method, no interlace
  if (!chunk(sink, "IHDR", header)) return false;
  if (transparent) {
    const std::string key = {0, static_cast<char>(transparent->red), 0, static_cast<char>(transparent->green),
                             0, static_cast<char>(transparent->blue)};
    if (!chunk(sink, "tRNS", key)) return false;
  }
  IdatStream idat(sink);
  const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
  for (int b = 0; b * band_height < height; ++b) {
    const Raster rows = band(b);
    for (int y = 0; y < band_height && b * band_height + y < height; ++y) {
      const bool inside = y < rows.height && rows.width == width;
      std::vector<std::uint8_t> white;
      const std::uint8_t* row = nullptr;
      if (inside) {
        row = rows.rgb.data() + static_cast<std::size_t>(y) * row_bytes;
      } else {
        white.assign(row_bytes, 255);
        row = white.data();
      }
      if (!idat.row(row, row_bytes)) return false;
    }
  }
  return idat.finish() && chunk(sink, "IEND", {});
}

}  // namespace

bool write_png(const OutputSink& sink, const Raster& image) {
  return write_png_bands(sink, image.width, image.height, image.height, [&](int) { return image; });
}

bool write_png(const OutputSink& sink, const Raster& image, PaletteColour transparent) {
  if (image.width <= 0 || image.height <= 0) return false;
  return encode(
      sink, image.width, image.height, image.height, [&](int) { return image; }, &transparent);
}

bool write_png_bands(const OutputSink& sink, int width, int height, int band_height,
                     const std::function<Raster(int)>& band) {
  if (width <= 0 || height <= 0 || band_height <= 0) return false;
  return encode(sink, width, height, band_height, band);
}

std::string png_bytes(const Raster& image) {
  std::string out;
  if (image.width <= 0 || image.height <= 0) return out;
  const Sink sink = [&](const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
    return true;
  };
  encode(sink, image.width, image.height, image.height, [&](int) { return image; });
  return out;
}

}  // namespace quelor::tool
