#include "gps/time_of_day.h"

#include "gps/number_text.h"

namespace quelor {

namespace {

// Two digits as atoi reads them, or -1 when they are not both digits.
int two_digits(std::string_view field, std::size_t at) {
  if (field.size() < at + 2) return -1;
  const unsigned tens = static_cast<unsigned char>(field[at]) - unsigned{'0'};
  const unsigned ones = static_cast<unsigned char>(field[at + 1]) - unsigned{'0'};
  return tens > 9 || ones > 9 ? -1 : static_cast<int>(tens * 10 + ones);
}

}  // namespace

double time_of_day_seconds(std::string_view field) {
  // hhmmss.ss as sent; anything else by the lenient readers.
  const int hh = two_digits(field, 0), mm = two_digits(field, 2);
  if (hh >= 0 && mm >= 0) return hh * 3600.0 + mm * 60.0 + (field.size() > 4 ? leading_double(field.substr(4)) : 0.0);
  const int hours = leading_int(field.substr(0, 2));
  const int minutes = field.size() > 2 ? leading_int(field.substr(2, 2)) : 0;
  const double seconds = field.size() > 4 ? leading_double(field.substr(4)) : 0.0;
  return hours * 3600.0 + minutes * 60.0 + seconds;
}

}  // namespace quelor
