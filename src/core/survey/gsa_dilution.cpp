#include "survey/gsa_dilution.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelor {

namespace {

constexpr int kDilutionField = 16;

// Field n (1-based) of a comma-separated sentence; nothing past the end.
std::optional<std::string_view> field(std::string_view sentence, int n) {
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t comma = sentence.find(',', start);
    if (comma == std::string_view::npos) return std::nullopt;
    start = comma + 1;
  }
  std::size_t end = sentence.find_first_of(",*\r\n", start);
  if (end == std::string_view::npos) end = sentence.size();
  return sentence.substr(start, end - start);
}

}  // namespace

namespace {

std::optional<double> number_of(std::string_view text) {
  if (text.empty() || text.size() > 31) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end == copy.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string cell_text(std::optional<double> value) {
  if (!value) return "N/A";
  char text[48];
  std::snprintf(text, sizeof text, "%-4.1f", *value);
  return text;
}

}  // namespace

std::optional<double> gsa_dilution(std::string_view sentence) {
  const std::optional<std::string_view> text = field(sentence, kDilutionField);
  return text ? number_of(*text) : std::nullopt;
}

std::string gsa_dilution_text(std::string_view sentence) { return cell_text(gsa_dilution(sentence)); }

std::string dilution_field_text(std::string_view field) { return cell_text(number_of(field)); }

}  // namespace quelor
