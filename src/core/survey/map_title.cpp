#include "survey/map_title.h"

#include <array>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

namespace {

struct TitleRow {
  int instrument_type;
  int view;
  std::string_view title;
  std::string_view review;
};

constexpr std::array<TitleRow, 11> kTitles{{
    {kEm31Mk2, 1, "Conductivity", "Review Conductivity"},
    {kEm31Mk2, 2, "Inphase", "Review Inphase"},
    {kEm38, 1, "Conductivity", "Review Conductivity"},
    {kEm38, 2, "Inphase", "Review Inphase"},
    {kEm61Mk2, 1, "Channel 1", "Review Ch1"},
    {kEm61Mk2, 2, "Channel 2", "Review Ch2"},
    {kEm61Mk2, 3, "Channel 3", "Review Ch3"},
    {kEm61Mk2, 4, "Channel 4/T", "Review Ch4/T"},
    {kEm61Lx2, 1, "Ch E", "Review ChE"},
    {kEm61Lx2, 2, "Ch L", "Review ChL"},
    {kEm61Lx2, 3, "Ch F", "Review ChF"},
}};

constexpr std::array<char, 3> kAlarmLetters{'E', 'L', 'F'};

}  // namespace

std::string map_title(int instrument_type, int colour_map_view, bool review) {
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
