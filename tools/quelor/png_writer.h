#pragma once
// 8-bit RGB PNG images over zlib: through a sink (an output file's), band
// by band, or to memory.

#include <functional>
#include <string>

#include "datafile/output_file.h"
#include "map/raster.h"

namespace quelor::tool {

// False when the image is empty or the sink refuses bytes.
bool write_png(const OutputSink& sink, const Raster& image);

// The same with every pixel of `transparent` see-through (a tRNS chunk).
bool write_png(const OutputSink& sink, const Raster& image, PaletteColour transparent);

// A width x height image whose rows come in bands: `band(i)` gives the i-th
// band of `band_height` rows, top to bottom.
bool write_png_bands(const OutputSink& sink, int width, int height, int band_height,
                     const std::function<Raster(int)>& band);

// The PNG file's bytes of an image (empty for an empty image).
std::string png_bytes(const Raster& image);

}  // namespace quelor::tool
