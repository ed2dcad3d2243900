#pragma once
// The export table written in the formats of the processing tools: CSV
// (plain or with EMagPy's coil names), Geosoft XYZ, GeoJSON, KML and GPX.
// Every format has the columns line, station, tick, easting, northing,
// zone, latitude, longitude, fix_quality, then the value columns; grid
// values are metres of UTM on WGS 84 in the table's zone.

#include <optional>
#include <string>
#include <string_view>

#include "export/export_table.h"

namespace quelor {

enum class ExportFormat { kCsv, kEmagpyCsv, kXyz, kGeoJson, kKml, kGpx };

// `bytes` with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD: a damaged file's texts never make the output malformed.
std::string utf8_text(std::string_view bytes);

std::optional<ExportFormat> export_format_named(std::string_view name, bool emagpy);

std::string export_text(const ExportTable& table, ExportFormat format);

std::string csv_text(const ExportTable& table, bool emagpy);
std::string xyz_text(const ExportTable& table);
std::string geojson_text(const ExportTable& table);
std::string kml_text(const ExportTable& table);
std::string gpx_text(const ExportTable& table);

}  // namespace quelor
