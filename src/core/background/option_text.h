#pragma once
// Load options written as text, as `quelor map --background FILE[,options]`
// takes them: comma-separated words or key=value pairs after the file name.
//   type=data|text|labels        the type of background file
//   coordinates=geodetic|utm-m|utm-ft|utm-usft
//   easting=N (or lon=N), northing=N (or lat=N), labels=N   1-based columns
//   delimiter=space|comma|tab|semicolon
//   display=N                    the display type (list index)
// A bare word stands for the value it names (geodetic, tab, labels, ...).
// Without a type, a file ending in .TXT, .ASC, .DAT, .XYZ or .CSV is a text
// file and anything else a data file.

#include <optional>
#include <string>
#include <string_view>

#include "background/load_options.h"

namespace quelor {

struct BackgroundRequest {
  std::string file;
  BackgroundLoadOptions options;
};

// The request, or the reason it cannot be read.
struct BackgroundRequestParse {
  std::optional<BackgroundRequest> request;
  std::string error;
};

BackgroundRequestParse parse_background_request(std::string_view text, int navigation_mode);

}  // namespace quelor
