#include "display/numbers_rows.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::array<std::string_view, 4> kCs21Labels{"HC #1:", "HI  #1:", "PC #1:", "PI  #1:"};
constexpr std::array<std::string_view, 2> kGradLabels{"G #1:", "G #2:"};
constexpr std::array<std::string_view, 3> kLx2OneLabels{"ChE:", "ChL:", "ChF:"};
constexpr std::array<std::string_view, 6> kLx2TwoLabels{"LE:", "LL:", "LF:", "RE:", "RL:", "RF:"};
constexpr std::array<std::string_view, 4> kMk2Labels{"Ch1:", "Ch2:", "Ch3:", "Ch4/T:"};
constexpr std::array<std::string_view, 4> kEm38Mk2Labels{"C 1.0m:", "I 1.0m:", "C 0.5m:", "I 0.5m:"};

std::span<const std::string_view> labels_of(const NumbersInput& in) {
  switch (in.instrument_type) {
    case kCs21: return kCs21Labels;
    case kGrad601: return kGradLabels;
    case kEm61Lx2: return in.two_sensors ? std::span<const std::string_view>(kLx2TwoLabels) : kLx2OneLabels;
    case kEm61Mk2: return kMk2Labels;
    case kEm38Mk2: return kEm38Mk2Labels;
    default: return {};
  }
}

// EM38-4: one row per coil pair, conductivity then in-phase, so that the
// four pairs fit the window's four lines.
void add_coil_pair_rows(const NumbersInput& in, std::vector<std::string>& rows) {
  for (std::size_t pair = 0; 2 * pair + 1 < in.channels.size(); ++pair) {
    char text[64];
    std::snprintf(text, sizeof text, "#%zu: %.2f %.2f", pair + 1, in.channels[2 * pair], in.channels[2 * pair + 1]);
    rows.emplace_back(text);
  }
}

}  // namespace

std::vector<std::string> t_record_numbers_rows(const TRecordNumbers& in) {
  if (!in.have_reading) return {"C: "};
  std::vector<std::string> rows;
  char text[48];
  std::snprintf(text, sizeof text, in.first_is_inphase ? "I:  %8.2f" : "C: %8.2f", in.first_value);
  rows.emplace_back(text);
  if (has_trait(in.instrument_type, Trait::kCoilConfigurations)) {
    std::snprintf(text, sizeof text, "Sep:  %4d m", in.coil_spacing_m);
    rows.emplace_back(text);
  } else if (in.second_value) {
    std::snprintf(text, sizeof text, "I:  %8.2f", *in.second_value);
    rows.emplace_back(text);
  }
  if (in.marker) rows.emplace_back("Marker");
  if (!in.reading_count.empty()) rows.push_back(in.reading_count);
  std::snprintf(text, sizeof text, "Gain: %5d", static_cast<int>(in.range));
  rows.emplace_back(text);
  rows.emplace_back(in.dipole == 'H' ? "Dipole: Horiz." : "Dipole: Vertical");
  if (in.lines >= 0 && rows.size() > static_cast<std::size_t>(in.lines))
    rows.resize(static_cast<std::size_t>(in.lines));
  return rows;
}

std::vector<std::string> numbers_rows(const NumbersInput& in) {
  std::vector<std::string> rows;
  if (in.instrument_type == kEm38_4) add_coil_pair_rows(in, rows);
  const std::span<const std::string_view> labels = labels_of(in);
  for (std::size_t i = 0; i < labels.size() && i < in.channels.size(); ++i) {
    char text[48];
    std::snprintf(text, sizeof text, "%s %7.2f", std::string(labels[i]).c_str(), in.channels[i]);
    rows.emplace_back(text);
  }
  if (in.marker) rows.emplace_back(is_em61(in.instrument_type) ? "MARKER" : "Marker");
  return rows;
}

}  // namespace quelor
