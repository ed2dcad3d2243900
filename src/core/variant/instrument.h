#pragma once
// The instrument table: one row per instrument with what the rest of the
// program asks about it (its family, how its bytes are framed, the record
// letters its readings and markers carry in the data file, the data file's
// record length in each product line, the value columns of its readings and
// the one mapped by default, whether the number of sensors is a setting).
// Predicates such as is_em61 are answered here and nowhere else.

#include <span>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// Instruments that share a record layout and a handler.
enum class InstrumentFamily {
  kTRecord,   // EM31-MK2, EM38, EM34-3: "T" + characters + carriage return
  kBinaryFF,  // EM38-MK2, EM38-4: binary records ending 0xFF 0xFF
  kEm61,      // EM61-MK2, EM61-LX2: a letter, 12 bytes, 0x7F 0x7F
  kLine,      // Grad601 ($PBAR), CS-21 ($PDLM): text lines
};

// One value column of the instrument's readings, as the export names it: a
// coil configuration (conductivity, and in-phase where the instrument gives
// it) or a plain column.
enum class ColumnKind { kCoil, kCoilWithoutInphase, kNumber, kText };

struct ValueColumnSpec {
  ColumnKind kind;
  std::string_view label;        // "vertical_100cm"; a plain column's whole name "ch1_mV"
  std::string_view orientation;  // coils: "HCP", "VCP", "PRP"
  double separation = 0.0;       // coils: metres
  double frequency = 0.0;        // coils: hertz
};

struct InstrumentRow {
  InstrumentType type;
  InstrumentFamily family;
  // Column 0 of a reading record in the data file. EM31-MK2, EM38 and
  // EM34-3 write '2'-'6' in place of the 'T' when that many readings were
  // counted since the last record; the EM38-MK2 and EM38-4 send 'T' or 't'.
  std::string_view reading_letters;
  // Instrument records that are markers, not readings (EM61: every letter
  // but T, D, E, F; J, K, j, k only from the EM61-MK2's second mode).
  std::string_view marker_letters;
  int record_length[2];                            // data file record length, by navigation mode
  std::string_view mapped_channel;                 // the export column mapped by default ("" the first)
  bool conductivity_meter;                         // conductivity and in-phase instruments
  bool sensor_count;                               // one or two sensors, a setting (Grad601, EM61-LX2)
  std::span<const ValueColumnSpec> value_columns;  // in the order interpret_reading gives them
};

std::span<const InstrumentRow> instrument_table();

// nullptr for a type outside the table.
const InstrumentRow* find_instrument(int instrument_type);

bool in_family(int instrument_type, InstrumentFamily family);
bool is_em61(int instrument_type);
bool is_t_record_instrument(int instrument_type);  // EM31-MK2, EM38, EM34-3
bool is_conductivity_meter(int instrument_type);
// EM31-MK2, EM38, EM38-MK2, EM38-4, CS-21: an in-phase value beside the
// conductivity of a coil (its own scale and colour bar).
bool has_inphase_columns(int instrument_type);
// Grad601 and EM61-LX2: the number of sensors is a setting (list index 1: two).
bool has_sensor_count(int instrument_type);
// EM38-MK2, EM38-4 and the EM61 types: reading records hold the
// instrument's binary bytes as received.
bool has_binary_records(int instrument_type);

// Column 0 of a data-file record written from an instrument record.
bool is_reading_letter(int instrument_type, char tag);
bool is_marker_letter(int instrument_type, char tag);
// The EM61-LX2's marker letter of a reading letter (T, D, E, F -> M, N, P,
// Q: a reading taken while a marker is held); the letter itself otherwise.
char marker_letter_of(int instrument_type, char reading_letter);
inline bool is_instrument_letter(int instrument_type, char tag) {
  return is_reading_letter(instrument_type, tag) || is_marker_letter(instrument_type, tag);
}

// 27 in general; 24 for EM31-MK2 in the navigation line; 47 EM38-4; 65 CS-21.
// 0 for a variant outside the table.
int instrument_record_length(const Variant& v);

}  // namespace quelor
