#include "gps/time_of_day.h"

#include "gps/number_text.h"

namespace quelor {

double time_of_day_seconds(std::string_view field) {
  const int hours = leading_int(field.substr(0, 2));
  const int minutes = field.size() > 2 ? leading_int(field.substr(2, 2)) : 0;
  const double seconds = field.size() > 4 ? leading_double(field.substr(4)) : 0.0;
  return hours * 3600.0 + minutes * 60.0 + seconds;
}

}  // namespace quelor
