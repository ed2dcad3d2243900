#include "background/option_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace quelor {

namespace {

struct Word {
  std::string_view word;
  int BackgroundLoadOptions::*member;
  int value;
};

constexpr Word kWords[] = {
    {"data", &BackgroundLoadOptions::file_type, kBackgroundDataFile},
    {"text", &BackgroundLoadOptions::file_type, kBackgroundText},
    {"labels", &BackgroundLoadOptions::file_type, kBackgroundLabelledText},
    {"geodetic", &BackgroundLoadOptions::coordinates, kGeodetic},
    {"utm-m", &BackgroundLoadOptions::coordinates, kUtmMetres},
    {"utm-ft", &BackgroundLoadOptions::coordinates, kUtmFeet},
    {"utm-usft", &BackgroundLoadOptions::coordinates, kUtmUsFeet},
    {"space", &BackgroundLoadOptions::delimiter, 0},
    {"comma", &BackgroundLoadOptions::delimiter, 1},
    {"tab", &BackgroundLoadOptions::delimiter, 2},
    {"semicolon", &BackgroundLoadOptions::delimiter, 3},
};

struct Key {
  std::string_view key;
  int BackgroundLoadOptions::*member;
  bool column;  // 1-based on the command line
};

constexpr Key kKeys[] = {
    {"type", &BackgroundLoadOptions::file_type, false},
    {"coordinates", &BackgroundLoadOptions::coordinates, false},
    {"delimiter", &BackgroundLoadOptions::delimiter, false},
    {"easting", &BackgroundLoadOptions::easting_column, true},
    {"lon", &BackgroundLoadOptions::easting_column, true},
    {"northing", &BackgroundLoadOptions::northing_column, true},
    {"lat", &BackgroundLoadOptions::northing_column, true},
    {"labels", &BackgroundLoadOptions::labels_column, true},
    {"display", &BackgroundLoadOptions::display_type, false},
};

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> split(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (true) {
    const std::size_t comma = s.find(',', at);
    parts.push_back(s.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at));
    if (comma == std::string_view::npos) return parts;
    at = comma + 1;
  }
}

std::optional<int> small_number(std::string_view s) {
  if (s.empty() || s.size() > 3 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::atoi(std::string(s).c_str());
}

bool text_extension(std::string_view file) {
  const std::size_t dot = file.find_last_of('.');
  const std::size_t slash = file.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return false;
  const std::string ext = lower(file.substr(dot + 1));
  return ext == "txt" || ext == "asc" || ext == "dat" || ext == "xyz" || ext == "csv";
}

// The value of a key: a word of the key's member, or a number.
std::optional<int> key_value(const Key& k, std::string_view value) {
  for (const Word& w : kWords)
    if (w.member == k.member && w.word == lower(value)) return w.value;
  const std::optional<int> n = small_number(value);
  if (!n) return std::nullopt;
  if (k.column) return *n >= 1 && *n <= kBackgroundColumns ? std::optional<int>(*n - 1) : std::nullopt;
  return n;
}

int list_size(int BackgroundLoadOptions::*member, int navigation_mode) {
  if (member == &BackgroundLoadOptions::file_type)
    return static_cast<int>(background_file_type_texts(navigation_mode).size());
  if (member == &BackgroundLoadOptions::display_type)
    return static_cast<int>(background_display_texts(navigation_mode).size());
  if (member == &BackgroundLoadOptions::coordinates || member == &BackgroundLoadOptions::delimiter) return 4;
  return kBackgroundColumns;
}

}  // namespace

BackgroundRequestParse parse_background_request(std::string_view text, int navigation_mode) {
  BackgroundRequestParse out;
  const std::vector<std::string_view> parts = split(text);
  BackgroundRequest r;
  r.file = std::string(parts[0]);
  if (r.file.empty()) {
    out.error = "background file name missing";
    return out;
  }
  r.options.file_type = text_extension(r.file) ? kBackgroundText : kBackgroundDataFile;
  if (navigation_mode) r.options.display_type = 0;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::string_view part = parts[i];
    const std::size_t eq = part.find('=');
    bool known = false;
    if (eq == std::string_view::npos) {
      for (const Word& w : kWords)
        if (w.word == lower(part)) {
          r.options.*(w.member) = w.value;
          known = true;
        }
    } else {
      const std::string key = lower(part.substr(0, eq));
      for (const Key& k : kKeys) {
        if (k.key != key) continue;
        const std::optional<int> v = key_value(k, part.substr(eq + 1));
        if (!v || *v < 0 || *v >= list_size(k.member, navigation_mode)) {
          out.error = "bad background option '" + std::string(part) + "'";
          return out;
        }
        r.options.*(k.member) = *v;
        // A labels column asks for the labelled text type.
        if (k.member == &BackgroundLoadOptions::labels_column && r.options.file_type == kBackgroundText &&
            !navigation_mode)
          r.options.file_type = kBackgroundLabelledText;
        known = true;
      }
    }
    if (!known) {
      out.error = "unknown background option '" + std::string(part) + "'";
      return out;
    }
  }
  if (navigation_mode && r.options.file_type == kBackgroundLabelledText) {
    out.error = "the navigation line has no labelled background files";
    return out;
  }
  out.request = std::move(r);
  return out;
}

}  // namespace quelor
