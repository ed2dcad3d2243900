#pragma once
// A survey data file read back as a table for the export formats: one row
// per reading record in file order, with its line, station, tick, the
// position interpolated from the logged GPS fixes and the decoded values;
// and the fixes themselves as a track.

#include <cstdint>
#include <functional>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/path_interpolation.h"
#include "export/reading_values.h"
#include "gps/projection.h"
#include "variant/variant.h"

namespace quelor {

struct ExportOptions {
  int zone = kAutomaticZone;  // 1...60, or automatic: the file's reference zone, else the first fix's
  double height_m = 0.0;      // instrument height in the EMagPy coil names
};

struct ExportRow {
  std::string line;    // the line name of its line block
  int line_block = 0;  // 1 for the first line block of the file
  double station = 0.0;
  std::uint32_t tick = 0;
  std::optional<PathPosition> position;
  std::vector<std::string> values;             // one per column of the table
  std::vector<std::optional<double>> numbers;  // the same before formatting; nothing for text or an empty cell
};

struct ExportTable {
  Variant variant;
  std::string program_code;
  int zone = 0;                      // 0: no geographic fix (or a total station's grid)
  std::vector<ValueColumn> columns;  // the value columns the file has values for
  std::vector<ExportRow> rows;
  std::vector<std::vector<PathFix>> track;  // the fixes of each path segment
  std::vector<std::string> warnings;
};

struct ExportTableResult {
  std::optional<ExportTable> table;
  std::string error;  // why the bytes are no survey data file
};

ExportTableResult build_export_table(std::string_view bytes, const ExportOptions& options);

// The same walk of the records without keeping rows, for a reader that keeps
// only what it needs of each reading (the grid's samples, the report's
// readings): `reading` is called for every reading record in file order with
// the decoding in effect there, and `positions` once each path segment ends,
// with the positions of the readings handed over since its last call, in
// order. The table returned holds no rows; its columns are all those the
// first header names (build_export_table keeps only those with a value).
struct ReadingHead {
  const std::string& line;
  int line_block = 0;
  double station = 0.0;
  std::uint32_t tick = 0;
  const std::vector<ValueColumn>& columns;
};
struct ReadingVisitor {
  std::function<void(const ReadingHead&, const DecodeContext&, std::string_view body)> reading;
  std::function<void(std::span<const std::optional<PathPosition>>)> positions;
};
ExportTableResult walk_survey_readings(std::string_view bytes, const ExportOptions& options,
                                       const ReadingVisitor& visitor);

}  // namespace quelor
