#include "procedures/procedure_step.h"

#include <algorithm>

#include "datafile/writer.h"

namespace quelor {

namespace {

template <std::size_t N>
std::array<ConstantPair, N> fixed_pairs(const std::vector<ConstantPair>& pairs) {
  std::array<ConstantPair, N> out{};
  std::copy_n(pairs.begin(), std::min(pairs.size(), N), out.begin());
  return out;
}

bool write_one(DataFileWriter& writer, const ConstantWrite& w) {
  switch (w.kind) {
    case ConstantWrite::Kind::kNullValues: {
      std::array<double, 4> values{}, previous{};
      for (std::size_t i = 0; i < 4 && i < w.pairs.size(); ++i) {
        values[i] = w.pairs[i].first;
        previous[i] = w.pairs[i].second;
      }
      return writer.write_null_values(values, previous, w.with_previous);
    }
    case ConstantWrite::Kind::kLx2Constants: return writer.write_lx2_constants(fixed_pairs<2>(w.pairs));
    case ConstantWrite::Kind::kEm38Mk2Constants: return writer.write_em38mk2_constants(fixed_pairs<6>(w.pairs));
    case ConstantWrite::Kind::kEm38_4Constants: return writer.write_em38_4_constants(fixed_pairs<28>(w.pairs));
  }
  return false;
}

}  // namespace

OperatorMessage procedure_box(std::string title, const std::vector<std::string>& lines, DialogTemplate t) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return {std::move(title), std::move(text), t};
}

bool write_procedure_records(DataFileWriter* writer, const std::vector<ConstantWrite>& writes) {
  if (writer == nullptr) return true;
  bool ok = true;
  for (const ConstantWrite& w : writes) ok = write_one(*writer, w) && ok;
  return ok;
}

}  // namespace quelor
