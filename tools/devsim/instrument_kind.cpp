#include "devsim/instrument_kind.h"

#include <array>
#include <cctype>

namespace quelor::devsim {
namespace {

constexpr std::array<InstrumentKind, 9> kKinds{{
    {"em31mk2", kEm31Mk2, 95.23809523809524, false, false},
    {"em38", kEm38, 91.0, false, false},
    {"em34-3", kEm34_3, 95.23809523809524, true, false},
    {"em38mk2", kEm38Mk2, 47.0, false, false},
    {"em38-4", kEm38_4, 100.0, false, false},
    {"cs21", kCs21, 100.0, true, false},
    {"grad601", kGrad601, 91.0, false, false},
    {"em61lx2", kEm61Lx2, 100.0, true, true},
    {"em61mk2", kEm61Mk2, 100.0, true, true},
}};

constexpr std::array<int, 9> kEm38_4Records{1, 2, 3, 4, 5, 10, 20, 50, 100};

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::span<const InstrumentKind> instrument_kinds() { return kKinds; }

std::optional<InstrumentKind> find_instrument_kind(std::string_view name) {
  for (const InstrumentKind& k : kKinds)
    if (same_name(k.name, name)) return k;
  return std::nullopt;
}

double em38_period_ms(int record_length) { return record_length == 7 ? 72.0 : 91.0; }

int em38_4_records_per_reading(int rate_index) {
  if (rate_index < 0 || rate_index >= static_cast<int>(kEm38_4Records.size())) return 1;
  return kEm38_4Records[static_cast<std::size_t>(rate_index)];
}

}  // namespace quelor::devsim
