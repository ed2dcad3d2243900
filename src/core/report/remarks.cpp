#include "report/remarks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace quelor {

namespace {

// Longest prefix first where one starts another.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kRemarks{{
    {"$STARTED", "logging started"},
    {"PAUSED BMP", "pause (map edge reached)"},
    {"PAUSED", "pause"},
    {"1CONN BRK 1", "instrument connection break"},
    {"1CONN RCN 1", "instrument reconnected"},
    {"$CONN END", "reconnection ended by the operator"},
    {"GPS CONN BR", "GPS connection break"},
    {"Lost", "readings lost"},
    {"FGAP", "data file could not be written (gap)"},
}};

}  // namespace

std::string_view remark_meaning(char tag, std::string_view text) {
  if (tag == 'C') return "comment";
  for (const auto& [prefix, meaning] : kRemarks)
    if (text.starts_with(prefix)) return meaning;
  return "remark";
}

std::vector<RemarkGroup> remark_groups(const std::vector<SurveyRemark>& remarks) {
  std::vector<RemarkGroup> out;
  for (const SurveyRemark& r : remarks) {
    const std::string_view meaning = remark_meaning(r.tag, r.text);
    auto g = std::find_if(out.begin(), out.end(), [&](const RemarkGroup& x) { return x.meaning == meaning; });
    if (g == out.end()) g = out.insert(out.end(), RemarkGroup{std::string(meaning), 0, r.time, r.time});
    ++g->count;
    if (std::isfinite(r.time)) {
      if (!std::isfinite(g->first)) g->first = r.time;
      g->last = r.time;
    }
  }
  return out;
}

long lost_readings(std::string_view text) {
  if (!text.starts_with("Lost ")) return 0;
  return std::strtol(std::string(text.substr(5)).c_str(), nullptr, 10);
}

}  // namespace quelor
