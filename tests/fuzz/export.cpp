// `quelor export` on any bytes: the table, then every format written from it.
#include <cmath>

#include "data_file_seeds.h"
#include "export/export_formats.h"
#include "export/export_table.h"
#include "gps/projection.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() {
  std::vector<std::string> out = data_file_seeds(true);
  const std::string em31 = read_source_file("tests/golden/export/em31.T31");
  if (!em31.empty()) out.push_back(std::string(1, '\0') + em31);
  return out;
}

void fuzz_one(const FuzzInput& in) {
  ExportOptions options;
  options.zone = in.selector % 4 == 0 ? kAutomaticZone : 1 + in.selector % 60;
  options.height_m = (in.selector & 0x80) ? 0.4 : 0.0;
  const ExportTableResult result = build_export_table(in.rest, options);
  expect(result.table.has_value() || !result.error.empty(), "a refused file says why");
  if (!result.table) return;
  const ExportTable& table = *result.table;
  for (const ExportRow& row : table.rows) {
    expect(row.values.size() == table.columns.size(), "one value per column");
    if (row.position)
      expect(std::isfinite(row.position->easting) && std::isfinite(row.position->northing), "finite position");
  }
  for (ExportFormat f : {ExportFormat::kCsv, ExportFormat::kEmagpyCsv, ExportFormat::kXyz, ExportFormat::kGeoJson,
                         ExportFormat::kKml, ExportFormat::kGpx})
    (void)export_text(table, f);
}

}  // namespace quelor::fuzz
