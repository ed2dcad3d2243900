#pragma once

#include <string>
#include <string_view>

namespace quelor {

// Text made safe inside an XML element or attribute (KML, GPX, GDAL metadata).
std::string xml_escaped(std::string_view s);

}  // namespace quelor
