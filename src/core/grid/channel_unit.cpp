#include "grid/channel_unit.h"

namespace quelor {

namespace {

struct UnitEnding {
  const char* ending;
  const char* unit;
};
constexpr UnitEnding kUnitEndings[] = {{"_mS_m", "mS/m"}, {"_ppt", "ppt"}, {"_mV", "mV"}, {"_nT", "nT"}};

}  // namespace

std::string channel_unit(std::string_view channel) {
  for (const UnitEnding& u : kUnitEndings) {
    const std::string_view ending = u.ending;
    if (channel.size() > ending.size() && channel.substr(channel.size() - ending.size()) == ending) return u.unit;
  }
  return {};
}

}  // namespace quelor
