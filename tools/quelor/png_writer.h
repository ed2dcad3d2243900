#pragma once
// 8-bit RGB PNG images over zlib: to a file, band by band, or to memory.

#include <functional>
#include <string>

#include "map/raster.h"

namespace quelor::tool {

// False (with the reason in `error`) when the file cannot be written.
bool write_png(const std::string& path, const Raster& image, std::string& error);

// A width x height image whose rows come in bands: `band(i)` gives the i-th
// band of `band_height` rows, top to bottom.
bool write_png_bands(const std::string& path, int width, int height, int band_height,
                     const std::function<Raster(int)>& band, std::string& error);

// The PNG file's bytes of an image (empty for an empty image).
std::string png_bytes(const Raster& image);

}  // namespace quelor::tool
