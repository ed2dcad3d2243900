#pragma once
// Records of the line block and of the data part of a survey data file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "datafile/local_time.h"
#include "gps/markers.h"
#include "variant/variant.h"

namespace quelor {

using ConstantPair = std::pair<double, double>;

struct LineBlockFields {
  std::string line_name;  // cut to 12
  std::string file_name;  // characters 11-20 go to the 'L' record
  double start_station = 0.0;
  int line_direction = 2;  // 0 West, 1 South, 2 North, 3 East
  double station_increment = 1.0;
  // constants after 'Z'
  std::array<double, 4> null_values{};           // EM61: new null values
  std::array<double, 4> previous_null_values{};  // EM61: previous ones
  std::array<ConstantPair, 2> lx2_constants{};   // EM61-LX2 'I' records
  std::array<ConstantPair, 28> em38_4_constants{};
};

// 'L', 'B', 'A', 'Z' and the instrument constants (the time mark follows).
std::vector<std::string> line_block_records(const Variant& v, const LineBlockFields& f, const LocalTime& now);

// "hh:mm:ss.mmm"
std::string time_of_day_text(const LocalTime& t);
std::string time_mark_record(const Variant& v, const LocalTime& now, std::uint32_t tick);
std::string station_record(const Variant& v, double station, const LocalTime& now);

// The tag of a tilt-meter line that failed its test, so that it is never
// taken for an operator's comment ('C').
inline constexpr char kTiltGarbageTag = '\\';

// Tag ('C' comment, 'X' remark, '\' bad tilt sentence), the text cut to 11
// characters (characters outside 32-126 become '?'), the tick field.
std::string remark_record(const Variant& v, char tag, std::string_view text, std::uint32_t tick);
// Wide text narrowed to 8 bits first.
std::string remark_record(const Variant& v, char tag, std::wstring_view text, std::uint32_t tick);

// One instrument reading as the handler hands it over.
struct ReadingInput {
  std::string_view record;      // InstrumentRecord bytes (EM38-4: the 35-character reading group)
  std::uint32_t tick = 0;       // arrival of the instrument record
  int readings_since_last = 0;  // EM31-MK2, EM38, EM34-3: '2'-'6' in column 0
  std::optional<std::pair<int, int>> averaged = std::nullopt;  // EM34-3 station averaging
};
std::string reading_record(const Variant& v, const ReadingInput& r);

// Marker characters of the GPS records (first piece, continuation pieces,
// summary tag and summary flag): the GPS reader's marker sets.
using GpsMarkers = MarkerSet;
inline constexpr GpsMarkers kGpsAccepted = kMarkerSetA;
inline constexpr GpsMarkers kGpsForwarded = kMarkerSetAp;
inline constexpr GpsMarkers kGpsUnparsed = kMarkerSetQ;

// The sentence in pieces of L-2 characters, then the summary record with the
// sentence count ("%06ld") and the receive tick: one string, one write.
std::string gps_sentence_records(const Variant& v, std::string_view sentence, std::uint32_t tick,
                                 const GpsMarkers& markers, long sentence_count);

// '~', "%+06d" of 100 x second angle, "%+06d" of 100 x first angle (both
// limited to +-75 degrees), tick in columns 13-22, zero bytes to L-2.
std::string tilt_record(const Variant& v, double first_angle, double second_angle, std::uint32_t tick);

// '{' '0' "%14.3f" of 0: the first position of a track.
std::string swath_start_record(const Variant& v);
// Four records '{' + letter + "%14.3f": kind 0 letters a-d, 1 e-h, 2 i-l.
std::string swath_group_records(const Variant& v, int kind, const std::array<double, 4>& values);

// Records that close the map's swath: a line block, a new station, a pause,
// a GPS break and an instrument connection break (no footprint bridges an
// outage). The re-plot closes its swath at them; the live painter restarts
// its footprint once the file got one.
bool swath_closing_record(std::string_view record);

// Instrument constant records written by the procedures and the line block.
// EM61-MK2: 'O' new, previous. EM61-LX2: 'O' new, previous and four spaces,
// or (with_previous false) new and 13 spaces; column L-3 ' ', L-2 '1'.
std::vector<std::string> null_value_records(const Variant& v, const std::array<double, 4>& values,
                                            const std::array<double, 4>& previous, bool with_previous = true);
// EM61-LX2 'I' records.
std::vector<std::string> lx2_constant_records(const Variant& v, const std::array<ConstantPair, 2>& pairs);
// EM38-MK2 "O1".."O6".
std::vector<std::string> em38mk2_constant_records(const Variant& v, const std::array<ConstantPair, 6>& pairs);
// EM38-4 "O1".."O9", "OA".."OS".
std::vector<std::string> em38_4_constant_records(const Variant& v, const std::array<ConstantPair, 28>& pairs);

}  // namespace quelor
