#include "grid/grid_kmz.h"

#include "grid/kml_overlay.h"
#include "grid/overlay_picture.h"
#include "grid/zip_archive.h"

namespace quelor {

namespace {

// The picture's name inside the archive: the data file's, with anything but
// letters, digits, '.', '-' and '_' as '_' (the KML refers to it as a URL).
std::string picture_name(const std::string& name) {
  std::string out = name.empty() ? std::string("grid") : name;
  for (char& ch : out) {
    const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                       ch == '.' || ch == '-' || ch == '_';
    if (!plain) ch = '_';
  }
  return out + ".png";
}

}  // namespace

std::string grid_kmz_bytes(const Grid& grid, const UtmFrame& frame, const std::string& name,
                           const std::string& description, double low, double high) {
  std::string picture = overlay_png_bytes(grid, low, high);
  if (picture.empty()) return {};
  const std::string image = picture_name(name);
  const LatLonBox box = overlay_box(grid, frame.zone, frame.south, frame.map_units);
  // doc.kml first: the file Google Earth opens.
  return zip_bytes({{"doc.kml", ground_overlay_kml(name, description, image, box)}, {image, std::move(picture)}});
}

}  // namespace quelor
