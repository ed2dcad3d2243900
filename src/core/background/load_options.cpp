#include "background/load_options.h"

namespace quelor {

namespace {

constexpr std::string_view kFileTypes[] = {
    "Quelor Zelko/Kestrivane/Multi Data File",
    "Column Delimited ASCII Text File",
    "Column Delimited ASCII Text File with Labels",
};

constexpr std::string_view kCoordinates[] = {"Geodetic", "UTM meters", "UTM feet", "UTM US Feet"};

constexpr std::string_view kDelimiters[] = {"  Space", ", Comma", "  Tab", "; Semicolon"};
constexpr char kDelimiterCharacters[] = {' ', ',', '\t', ';'};

constexpr std::string_view kDisplayTypes[] = {
    "Display Positions as Separate Small Dots",      "Display Positions as Separate Medium Dots",
    "Display Positions as Separate Large Dots",      "Display Positions as Separate Small Squares",
    "Display Positions as Separate Medium Squares",  "Display Positions as Separate Large Squares",
    "Display Positions as Separate Small Triangles", "Display Positions as Separate Medium Triangles",
    "Display Positions as Separate Large Triangles", "Display Positions Joined by Thin Line",
    "Display Positions Joined by Medium Line",       "Display Positions Joined by Thick Line",
};

constexpr std::string_view kNavigationDisplayTypes[] = {
    "Display Positions as Separate Dots",
    "Display Positions Joined by Thin Line",
    "Display Positions Joined by Medium Line",
    "Display Positions Joined by Thick Line",
};

constexpr std::string_view kColumns[kBackgroundColumns] = {
    "Column 1",  "Column 2",  "Column 3",  "Column 4",  "Column 5",  "Column 6",  "Column 7",  "Column 8",
    "Column 9",  "Column 10", "Column 11", "Column 12", "Column 13", "Column 14", "Column 15", "Column 16",
    "Column 17", "Column 18", "Column 19", "Column 20", "Column 21", "Column 22", "Column 23", "Column 24",
};

int in_range(int value, int count, int fallback) { return value >= 0 && value < count ? value : fallback; }

OperatorMessage coordinates_error(std::string_view text) {
  return {"COORDINATES ERROR", std::string(text), DialogTemplate::kOk};
}

}  // namespace

std::span<const std::string_view> background_file_type_texts(int navigation_mode) {
  return {kFileTypes, navigation_mode ? 2u : 3u};
}
std::span<const std::string_view> background_coordinates_texts() { return kCoordinates; }
std::span<const std::string_view> background_delimiter_texts() { return kDelimiters; }
std::span<const std::string_view> background_column_texts() { return kColumns; }
std::span<const std::string_view> background_display_texts(int navigation_mode) {
  if (navigation_mode) return kNavigationDisplayTypes;
  return kDisplayTypes;
}

BackgroundLoadOptions load_options_from_settings(const std::array<int, 7>& g, int navigation_mode) {
  const BackgroundLoadOptions d;
  BackgroundLoadOptions o;
  o.file_type = in_range(g[0], static_cast<int>(background_file_type_texts(navigation_mode).size()), d.file_type);
  o.coordinates = in_range(g[1], 4, d.coordinates);
  o.delimiter = in_range(g[2], 4, d.delimiter);
  o.easting_column = in_range(g[3], kBackgroundColumns, d.easting_column);
  o.northing_column = in_range(g[4], kBackgroundColumns, d.northing_column);
  o.labels_column = in_range(g[5], kBackgroundColumns, d.labels_column);
  o.display_type = in_range(g[6], static_cast<int>(background_display_texts(navigation_mode).size()),
                            navigation_mode ? 0 : d.display_type);
  return o;
}

std::array<int, 7> load_options_to_settings(const BackgroundLoadOptions& o) {
  return {o.file_type,       o.coordinates,   o.delimiter,   o.easting_column,
          o.northing_column, o.labels_column, o.display_type};
}

std::array<std::string_view, 2> background_type_notes(int file_type) {
  if (file_type == kBackgroundDataFile) return {"(files H31, T31, H61, P61, GXY, etc., V2.0 & later)", ""};
  return {"(files ASC, TXT, DAT, and XYZ)", "Coordinates in ASCII file must be in WGS1984 Datum"};
}

OpenFilter background_open_filter(int file_type) {
  if (file_type == kBackgroundDataFile)
    return {"Quelor Data Files",
            "*.T61;*.RX2;*.TX2;*.T31;*.TM8;*.T38;*.P61;*.H31;*.382;*.FRX;*.601;*.823;*.38B;*.38D;*.H38;"
            "*.N61;*.R61;*.R31;*.P38;*.Q38;*.R38;*.R34;*.N38;*.601;*.RGR;*.GXY"};
  return {"ASCII Files (*.ASC,*.TXT,*.DAT,*.XYZ)", "*.TXT;*.ASC;*.DAT;*.XYZ"};
}

char delimiter_character(int delimiter) { return kDelimiterCharacters[in_range(delimiter, 4, 0)]; }

std::optional<OperatorMessage> check_background_columns(const BackgroundLoadOptions& o) {
  if (o.file_type == kBackgroundDataFile) return std::nullopt;
  if (o.easting_column == o.northing_column)
    return coordinates_error(o.coordinates == kGeodetic
                                 ? "Same column selected for Longitude and Latitude. Please correct."
                                 : "Same column selected for UTM coordinates. Please correct.");
  if (o.file_type != kBackgroundLabelledText) return std::nullopt;
  if (o.easting_column == o.labels_column)
    return coordinates_error("Same column selected for Longitude and Label. Please correct.");
  if (o.northing_column == o.labels_column)
    return coordinates_error("Same column selected for Latitude and Label. Please correct.");
  return std::nullopt;
}

BackgroundStyle background_style(int display_type, int navigation_mode) {
  BackgroundStyle s;
  if (navigation_mode) {
    // 0 separate dots, 1-3 the joined styles.
    const int t = in_range(display_type, 4, 0);
    s.joined = t > 0;
    s.pen_width = t > 0 ? t : 1;
    return s;
  }
  const int t = in_range(display_type, 12, 1);
  if (t >= 9) {
    s.joined = true;
    s.pen_width = t - 8;
    return s;
  }
  constexpr SymbolShape kShapes[] = {SymbolShape::kDot, SymbolShape::kSquare, SymbolShape::kTriangle};
  s.shape = kShapes[t / 3];
  s.size = t % 3;
  s.pen_width = s.size + 1;
  return s;
}

int symbol_half_size(const BackgroundStyle& style, int base) {
  return base + style.size + (style.shape == SymbolShape::kDot ? 0 : 1);
}

}  // namespace quelor
