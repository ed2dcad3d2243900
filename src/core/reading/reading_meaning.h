#pragma once
// The one interpretation of a reading record: from the record as the data
// file holds it (columns 0 to L-12; column 0 of the "T" instruments may hold
// the readings-since-last digit) and its decode context to every value the
// program shows, profiles, maps, exports and re-plots. The live handlers
// build the record the writer writes and read it here; the re-plot, `quelor
// map` and `quelor export` read the file's records here.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "datafile/data_records.h"
#include "reading/decode_context.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kMaxReadingChannels = 8;
inline constexpr int kMaxReadingColumns = 12;

struct ReadingMeaning {
  // In channel order (1-based channel n at n-1): the numbers, bars and
  // profiles. EM31-MK2: conductivity, in-phase; EM38 and EM34-3: the value
  // the record carries; EM38-MK2: conductivity and in-phase of each coil in
  // the record's dipole; EM38-4: conductivity and in-phase of each pair;
  // EM61-MK2: channels 1-4; EM61-LX2: E, L, F of each coil; Grad601: each
  // sensor; CS-21: its four values.
  std::array<double, kMaxReadingChannels> channels{};
  int channel_count = 0;
  // The export's value columns (reading_value_columns), nothing where the
  // record holds no such value.
  std::array<std::optional<double>, kMaxReadingColumns> columns{};
  int column_count = 0;
  // The colour map: the segment entry of the mapped view (class, or second
  // class x 64 + first class) and the footprint kind (EM34-3 Manual: the
  // coil spacing 0..2). Nothing in the positions view or when the record
  // holds no value for the view.
  std::optional<int> entry;
  int kind = 0;
  // Record flags.
  int identity = 0;             // dipole code (EM34-3: the slot): a change restarts the profile traces
  char dipole = 0;              // 'V' or 'H'
  char mode = 0;                // mode letter; EM61: the record letter; CS-21: its flag
  double full_scale = 0;        // EM31 family: the range's full-scale number
  bool marker = false;          // shown as "Marker"/"MARKER"
  bool trigger = false;         // Manual mode: this record carries the trigger
  bool flag_b = false;          // EM31-MK2 status bit 0: the bars are not redrawn
  bool inphase_record = false;  // EM38: the value is an in-phase value
};

// True when the record is a reading record of that instrument, markers included.
bool is_reading_record(InstrumentType instrument_type, std::string_view record);

// A reading record's columns before its tick field (0 to L-12).
std::size_t reading_body_length(int record_length);

// The body of the reading record the writer makes of a live reading (the
// record of the real-time map line; the navigation line's differ only in
// their tail), so the live path reads exactly what the file will hold.
std::string written_reading_body(InstrumentType instrument_type, const ReadingInput& input);

// The meaning of one reading record (its body, or the whole record).
ReadingMeaning interpret_reading(const DecodeContext& context, std::string_view record);

// EM61: the mean current the record carries (columns 10-11 big-endian, 12
// its hundredths), milliamperes.
double em61_recorded_current(std::string_view record);

// The two-value entry: the first value's class plus 64 x the second's.
int two_value_entry(double first, double second, const ColourScale& scale);

}  // namespace quelor
