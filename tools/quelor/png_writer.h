#pragma once
// 8-bit RGB PNG files with libpng.

#include <string>

#include "map/raster.h"

namespace quelor::tool {

// False (with the reason in `error`) when the file cannot be written.
bool write_png(const std::string& path, const Raster& image, std::string& error);

}  // namespace quelor::tool
