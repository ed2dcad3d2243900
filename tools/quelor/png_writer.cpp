#include "png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>

namespace quelor::tool {

bool write_png(const std::string& path, const Raster& image, std::string& error) {
  return write_png_bands(path, image.width, image.height, image.height, [&](int) { return image; }, error);
}

bool write_png_bands(const std::string& path, int width, int height, int band_height,
                     const std::function<Raster(int)>& band, std::string& error) {
  if (width <= 0 || height <= 0 || band_height <= 0) {
    error = "empty image";
    return false;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    error = "cannot encode " + path;
    return false;
  }
  png_init_io(png, out);
  png_set_compression_level(png, Z_BEST_SPEED);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int b = 0; b * band_height < height; ++b) {
    const Raster rows = band(b);
    for (int y = 0; y < rows.height && b * band_height + y < height; ++y)
      png_write_row(png, rows.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rows.width) * 3);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool closed = std::fclose(out) == 0;
  if (!closed) error = "cannot write " + path;
  return closed;
}

}  // namespace quelor::tool
