#include "survey/map_title.h"

#include <array>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

namespace {

struct TitleRow {
  InstrumentType instrument_type;
  int view;
  std::string_view title;
  std::string_view review;
};

// Every instrument's mapped readings by colour map view. The CS-21 pairs
// its vertical-dipole coil (views 1 and 2) with its horizontal-dipole one
// (views 3 and 4), and its 2 m coils likewise (views 5-8); the EM61-LX2's
// right coil views map the coil pairs of its left coil views; the Grad601
// maps its sensors' gradient.
constexpr std::array<TitleRow, 36> kTitles{{
    {kEm31Mk2, 1, "Conductivity", "Review Conductivity"},
    {kEm31Mk2, 2, "Inphase", "Review Inphase"},
    {kEm38, 1, "Conductivity", "Review Conductivity"},
    {kEm38, 2, "Inphase", "Review Inphase"},
    {kEm34_3, 1, "Conductivity", "Review Conductivity"},
    {kEm38Mk2, 1, "Conductivity 1 m", "Review Conductivity 1 m"},
    {kEm38Mk2, 2, "Inphase 1 m", "Review Inphase 1 m"},
    {kEm38Mk2, 3, "Conductivity 0.5 m", "Review Conductivity 0.5 m"},
    {kEm38Mk2, 4, "Inphase 0.5 m", "Review Inphase 0.5 m"},
    {kEm38_4, 1, "Coil1 Conductivity", "Review Coil1 Conductivity"},
    {kEm38_4, 2, "Coil1 Inphase", "Review Coil1 Inphase"},
    {kEm38_4, 3, "Coil2 Conductivity", "Review Coil2 Conductivity"},
    {kEm38_4, 4, "Coil2 Inphase", "Review Coil2 Inphase"},
    {kEm38_4, 5, "Coil3 Conductivity", "Review Coil3 Conductivity"},
    {kEm38_4, 6, "Coil3 Inphase", "Review Coil3 Inphase"},
    {kEm38_4, 7, "Coil4 Conductivity", "Review Coil4 Conductivity"},
    {kEm38_4, 8, "Coil4 Inphase", "Review Coil4 Inphase"},
    {kCs21, 1, "Conductivity VDM", "Review Conductivity VDM"},
    {kCs21, 2, "Inphase VDM", "Review Inphase VDM"},
    {kCs21, 3, "Conductivity HDM", "Review Conductivity HDM"},
    {kCs21, 4, "Inphase HDM", "Review Inphase HDM"},
    {kCs21, 5, "Conductivity VDM", "Review Conductivity VDM"},
    {kCs21, 6, "Inphase VDM", "Review Inphase VDM"},
    {kCs21, 7, "Conductivity HDM", "Review Conductivity HDM"},
    {kCs21, 8, "Inphase HDM", "Review Inphase HDM"},
    {kEm61Mk2, 1, "Channel 1", "Review Ch1"},
    {kEm61Mk2, 2, "Channel 2", "Review Ch2"},
    {kEm61Mk2, 3, "Channel 3", "Review Ch3"},
    {kEm61Mk2, 4, "Channel 4/T", "Review Ch4/T"},
    {kEm61Lx2, 1, "Ch E", "Review ChE"},
    {kEm61Lx2, 2, "Ch L", "Review ChL"},
    {kEm61Lx2, 3, "Ch F", "Review ChF"},
    {kEm61Lx2, 4, "Ch E", "Review ChE"},
    {kEm61Lx2, 5, "Ch L", "Review ChL"},
    {kEm61Lx2, 6, "Ch F", "Review ChF"},
    {kGrad601, 1, "Gradient", "Review Gradient"},
}};

constexpr std::array<char, 3> kAlarmLetters{'E', 'L', 'F'};

}  // namespace

std::string map_title(InstrumentType instrument_type, int colour_map_view, bool review) {
  for (const TitleRow& row : kTitles)
    if (row.instrument_type == instrument_type && row.view == colour_map_view)
      return std::string(review ? row.review : row.title);
  return {};
}

char alarm_channel_letter(int monitored_channel) {
  if (monitored_channel < 0 || monitored_channel >= static_cast<int>(kAlarmLetters.size())) return 0;
  return kAlarmLetters[static_cast<std::size_t>(monitored_channel)];
}

}  // namespace quelor
