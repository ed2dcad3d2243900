#include "export/reading_values.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "reading/reading_meaning.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

std::string number(double v) {
  if (!std::isfinite(v)) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v == 0.0 ? 0.0 : v);  // no "-0"
  return buf;
}

std::string emagpy_coil(const char* orientation, double separation, double frequency, double height, bool inphase) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%gf%gh%g%s", orientation, separation, frequency, height, inphase ? "_inph" : "");
  return buf;
}

// The EM38-4's raw in-phase is in mS/m, every other in-phase in ppt.
const char* inphase_unit(bool raw_inphase) { return raw_inphase ? "_mS_m" : "_ppt"; }

}  // namespace

std::vector<ValueColumn> reading_value_columns(const DecodeContext& decode, double h) {
  std::vector<ValueColumn> out;
  const InstrumentRow* row = find_instrument(decode.instrument_type);
  if (!row) return out;
  for (const ValueColumnSpec& c : row->value_columns) {
    if (c.kind == ColumnKind::kNumber || c.kind == ColumnKind::kText) {
      out.push_back({std::string(c.label), "", c.kind == ColumnKind::kText});
      continue;
    }
    const std::string orientation(c.orientation);
    out.push_back({"conductivity_" + std::string(c.label) + "_mS_m",
                   emagpy_coil(orientation.c_str(), c.separation, c.frequency, h, false)});
    if (c.kind == ColumnKind::kCoil)
      out.push_back({"inphase_" + std::string(c.label) + inphase_unit(decode.em38_4_raw_inphase),
                     emagpy_coil(orientation.c_str(), c.separation, c.frequency, h, true)});
  }
  return out;
}

void reading_numbers(const DecodeContext& decode, std::string_view body, std::vector<std::optional<double>>& out) {
  out.clear();
  if (is_em61(decode.instrument_type)) out.emplace_back();  // the marker letter's text column
  const ReadingMeaning m = interpret_reading(decode, body);
  for (int i = 0; i < m.column_count; ++i) {
    const std::optional<double>& v = m.columns[static_cast<std::size_t>(i)];
    out.push_back(v && std::isfinite(*v) ? v : std::nullopt);
  }
}

ReadingCells reading_cells(const DecodeContext& decode, std::string_view body) {
  ReadingCells out;
  reading_numbers(decode, body, out.numbers);
  for (const std::optional<double>& v : out.numbers) out.values.push_back(v ? number(*v) : std::string());
  if (is_em61(decode.instrument_type)) out.values[0] = body.empty() ? std::string() : std::string(1, body[0]);
  return out;
}

}  // namespace quelor
