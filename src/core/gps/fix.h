#pragma once
// One GPS fix as the parser reads it from a position sentence.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quelor {

// A display text held inside the fix, so that parsing a sentence allocates
// nothing. N holds the longest text a field of an assembled sentence gives.
template <std::size_t N>
class FixText {
 public:
  FixText() {}  // the characters past `length_` stay unwritten
  FixText(std::wstring_view text) { assign(text); }
  // Copies move only the characters in use.
  FixText(const FixText& other) { assign(other.view()); }
  FixText& operator=(const FixText& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  void assign(std::wstring_view text) {
    length_ = text.size() < N ? text.size() : N;
    for (std::size_t i = 0; i < length_; ++i) chars_[i] = text[i];
  }
  // Written in place: `size` characters of `buffer()` (at most N) are set.
  wchar_t* buffer() { return chars_.data(); }
  void set_size(std::size_t size) { length_ = size < N ? size : N; }
  void clear() { length_ = 0; }
  bool empty() const { return length_ == 0; }
  std::size_t size() const { return length_; }
  std::wstring_view view() const { return {chars_.data(), length_}; }
  operator std::wstring_view() const { return view(); }
  operator std::wstring() const { return std::wstring(view()); }
  const wchar_t* begin() const { return chars_.data(); }
  const wchar_t* end() const { return chars_.data() + length_; }

 private:
  std::array<wchar_t, N> chars_;
  std::size_t length_ = 0;
};

template <std::size_t N>
bool operator==(const FixText<N>& a, std::wstring_view b) {
  return a.view() == b;
}
template <std::size_t N>
bool operator==(const FixText<N>& a, const wchar_t* b) {
  return a.view() == std::wstring_view(b);
}

// The texts of an angle (hemisphere, degrees, degree sign, the minutes field
// of up to a whole sentence, apostrophe) and of the formatted numbers.
inline constexpr std::size_t kAngleTextCapacity = 216;
using AngleText = FixText<kAngleTextCapacity>;
using NumberText = FixText<64>;

void print_fix_text(std::wstring_view text, std::ostream* os);
template <std::size_t N>
void PrintTo(const FixText<N>& text, std::ostream* os) {
  print_fix_text(text.view(), os);
}

// Shown in the position fields for a fix that is not used.
inline constexpr std::wstring_view kInvalidPositionText = L"     N/A     ";

// A field's place in its sentence.
struct FieldPlace {
  std::uint16_t begin;  // set with `shown`
  std::uint16_t size;
  bool shown = false;  // the status area shows a text of this field
};

struct GpsFix {
  int valid = 1;
  int satellites = 0;              // satellites used
  int quality = 0;                 // fix quality; the sentence value plus one for POS
  std::string_view quality_label;  // empty when the quality field is missing
  double latitude = 0.0;           // decimal degrees, south negative
  double longitude = 0.0;          // decimal degrees, west negative
  double northing = 0.0;           // metres: projected, or read from a total station
  double easting = 0.0;
  double dilution = 0.0;
  bool geographic = false;   // latitude/longitude read (else northing/easting)
  double time_of_day = 0.0;  // seconds since midnight
  int zone = 0;              // the grid zone once projected (geographic fixes)

  // Only shown: the satellite count and three further values of p-GGA SLAM.
  int satellites_shown = 0;
  std::array<double, 3> extras{};

  // Where the shown fields are in the sentence: their display texts are
  // made only where a fix is shown (gps/fix_texts.h), not by every reader.
  char latitude_letter = 'N';  // the hemisphere letters the texts start with
  char longitude_letter = 'E';
  FieldPlace latitude_place;  // shown once the angle was read
  FieldPlace longitude_place;
  FieldPlace dilution_place;  // shown whenever the format has a dilution
  bool satellites_shown_read = false;
  std::array<FieldPlace, 3> extra_places;  // shown unless the options hide them
};

}  // namespace quelor
