#include "gps/fix_texts.h"

#include <cstdio>

#include "gps/number_text.h"

namespace quelor {

namespace {

wchar_t wide_char(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }

std::string_view place_in(std::string_view sentence, const FieldPlace& place) {
  if (place.begin > sentence.size()) return {};
  return sentence.substr(place.begin, place.size);
}

// A number printed into a fix text ("%3.1f", " %02d" ...), as narrow digits.
void set_narrow_text(NumberText& text, const char* buf, std::size_t n) {
  wchar_t* const wide = text.buffer();
  for (std::size_t i = 0; i < n; ++i) wide[i] = wide_char(buf[i]);
  text.set_size(n);
}

template <typename T>
void set_number_text(NumberText& text, const char* format, T value) {
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, format, value);
  if (n < 0) n = 0;
  if (n > static_cast<int>(sizeof buf) - 1) n = sizeof buf - 1;
  set_narrow_text(text, buf, static_cast<std::size_t>(n));
}

// "%<width>.<decimals>f" of the field's value without printf where the
// result is certain.
void set_fixed_text(NumberText& text, std::string_view field, double value, int width, int decimals) {
  char buf[64];
  std::size_t n = 0;
  if (!decimal_field_text(field, width, decimals, buf, n) && !fixed_point_text(value, width, decimals, buf, n)) {
    char format[16];
    std::snprintf(format, sizeof format, "%%%d.%df", width, decimals);
    return set_number_text(text, format, value);
  }
  set_narrow_text(text, buf, n);
}

// Hemisphere letter, degree digits, degree sign, the minutes as sent, "'".
void set_angle_text(AngleText& text, char letter, std::string_view field, std::size_t degree_digits) {
  wchar_t* const wide = text.buffer();
  std::size_t n = 0;
  wide[n++] = wide_char(letter);
  for (std::size_t i = 0; i < degree_digits && i < field.size(); ++i) wide[n++] = wide_char(field[i]);
  wide[n++] = L'\u00B0';
  for (std::size_t i = degree_digits; i < field.size() && n + 1 < kAngleTextCapacity; ++i)
    wide[n++] = wide_char(field[i]);
  wide[n++] = L'\'';
  text.set_size(n);
}

}  // namespace

GpsFixTexts fix_display_texts(const GpsFix& fix, std::string_view sentence) {
  constexpr std::size_t kLatitudeDegreeDigits = 2, kLongitudeDegreeDigits = 3;
  GpsFixTexts t;
  if (fix.latitude_place.shown)
    set_angle_text(t.latitude, fix.latitude_letter, place_in(sentence, fix.latitude_place), kLatitudeDegreeDigits);
  if (fix.longitude_place.shown)
    set_angle_text(t.longitude, fix.longitude_letter, place_in(sentence, fix.longitude_place), kLongitudeDegreeDigits);
  if (fix.dilution_place.shown)
    set_fixed_text(t.dilution, place_in(sentence, fix.dilution_place), fix.dilution, 3, fix.dilution < 10.0 ? 1 : 0);
  if (fix.satellites_shown_read) set_number_text(t.satellites_shown, " %02d", fix.satellites_shown);
  for (std::size_t i = 0; i < fix.extra_places.size(); ++i)
    if (fix.extra_places[i].shown)
      set_fixed_text(t.extras[i], place_in(sentence, fix.extra_places[i]), fix.extras[i], 8, 3);
  return t;
}

}  // namespace quelor
