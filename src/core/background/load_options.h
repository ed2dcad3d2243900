#pragma once
// The options of "Load BackGround File": one set, kept in the settings'
// `background display` group and used for the next file loaded; the lists of
// the dialog, the column checks and the display styles they select.

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "datafile/message_box.h"

namespace quelor {

enum BackgroundFileType : int { kBackgroundDataFile = 0, kBackgroundText = 1, kBackgroundLabelledText = 2 };
enum BackgroundCoordinates : int { kGeodetic = 0, kUtmMetres = 1, kUtmFeet = 2, kUtmUsFeet = 3 };

inline constexpr int kBackgroundColumns = 24;  // "Column 1" ... "Column 24"

// Indices of the dialog's lists. The `background display` group holds them
// in this order: type, coordinates, delimiter, easting (longitude) column,
// northing (latitude) column, labels column, display type.
struct BackgroundLoadOptions {
  int file_type = kBackgroundDataFile;
  int coordinates = kUtmMetres;
  int delimiter = 1;       // 0 space, 1 comma, 2 tab, 3 semicolon
  int easting_column = 0;  // 0-based
  int northing_column = 1;
  int labels_column = 2;
  int display_type = 1;

  friend bool operator==(const BackgroundLoadOptions&, const BackgroundLoadOptions&) = default;
};

// Out-of-range members fall back to their defaults.
BackgroundLoadOptions load_options_from_settings(const std::array<int, 7>& group, int navigation_mode);
std::array<int, 7> load_options_to_settings(const BackgroundLoadOptions& options);

// The dialog lists (the navigation line has no labelled type and four
// display types).
std::span<const std::string_view> background_file_type_texts(int navigation_mode);
std::span<const std::string_view> background_coordinates_texts();
std::span<const std::string_view> background_delimiter_texts();
std::span<const std::string_view> background_display_texts(int navigation_mode);
std::span<const std::string_view> background_column_texts();

// The note under the type: the data-file hint, or the text-file hint and the
// datum note (second line empty for the data-file type).
std::array<std::string_view, 2> background_type_notes(int file_type);

// The open dialog's filter name and patterns for the chosen type.
struct OpenFilter {
  std::string_view name;
  std::string_view patterns;
};
OpenFilter background_open_filter(int file_type);

char delimiter_character(int delimiter);

// The checks after OK: a "COORDINATES ERROR" box that cancels the load.
std::optional<OperatorMessage> check_background_columns(const BackgroundLoadOptions& options);

enum class SymbolShape { kDot, kSquare, kTriangle };

struct BackgroundStyle {
  bool joined = false;  // consecutive points joined by a line
  SymbolShape shape = SymbolShape::kDot;
  int size = 0;       // 0 small, 1 medium, 2 large
  int pen_width = 1;  // 1, 2 or 3 pixels
};

BackgroundStyle background_style(int display_type, int navigation_mode);

// Half-size in pixels of a symbol with base size b: dots b, b+1, b+2;
// squares and triangles b+1, b+2, b+3.
int symbol_half_size(const BackgroundStyle& style, int base = 1);

}  // namespace quelor
