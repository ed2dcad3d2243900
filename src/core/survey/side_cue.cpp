#include "survey/side_cue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelor {

SideIndication side_indication(double a1, double a2, bool f1, bool f2, double k, bool alarm_enabled) {
  SideIndication s;
  if (!f1 && !f2) {
    if (alarm_enabled) s.fields = {CueField::kWhite, CueField::kWhite, CueField::kWhite};
    return s;
  }
  const double dv = std::fabs(a1 - a2);
  const double smaller = std::fabs(a1) < std::fabs(a2) ? std::fabs(a1) : std::fabs(a2);
  const double d = std::fabs(k * smaller);
  if (d > dv) {
    s.code = kSideBetween;
    s.fields = {CueField::kWhite, CueField::kRed, CueField::kWhite};
    return s;
  }
  s.code = f2 ? (f1 ? kSideBoth : kSideRight) : kSideLeft;
  s.fields = {f1 ? CueField::kRed : CueField::kWhite, CueField::kWhite, f2 ? CueField::kRed : CueField::kWhite};
  return s;
}

std::vector<std::string> side_indicator_rows(std::span<const double> channels, bool marker) {
  static constexpr std::array<const char*, 6> kLabels{"LE:", "LL:", "LF:", "RE:", "RL:", "RF:"};
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < kLabels.size() && i < channels.size(); ++i) {
    char text[48];
    std::snprintf(text, sizeof text, "%s %9.1f", kLabels[i], channels[i]);
    rows.emplace_back(text);
  }
  if (marker) rows.emplace_back("MARKER");
  return rows;
}

SideIndicatorLayout side_indicator_layout(int width, int height, int line_height, int rows) {
  constexpr int kMargin = 5, kGap = 2;
  SideIndicatorLayout l;
  const int band_top = height - kCueFieldHeight - kGap;
  const int room = std::max(0, band_top - kGap - l.first_row_y);
  l.row_step = line_height;
  if (rows > 0 && rows * line_height > room) {
    l.small_font = true;
    l.row_step = room / rows;
  }
  const int field_width = (width - 4 * kMargin) / 3;
  for (int i = 0; i < 3; ++i) {
    const int left = kMargin + i * (field_width + kMargin);
    l.fields[static_cast<std::size_t>(i)] = {left, band_top, left + field_width, band_top + kCueFieldHeight};
  }
  return l;
}

std::string_view side_voice(int code) {
  switch (code) {
    case kSideLeft: return "LEFTSOUND";
    case kSideBetween: return "BETWEENSOUND";
    case kSideRight: return "RIGHTSOUND";
    case kSideBoth: return "LEFTRIGHTSOUND";
    default: return {};
  }
}

}  // namespace quelor
