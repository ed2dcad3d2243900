#pragma once
// The instrument table: one row per instrument with what the rest of the
// program asks about it (its family, how its bytes are framed, the record
// letters its readings and markers carry in the data file, the data file's
// record length in each product line, the value columns of its readings and
// the one mapped by default, whether the number of sensors is a setting).
// Predicates such as is_em61 are answered here and nowhere else.

#include <cstdint>
#include <initializer_list>
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

// Questions the program asks about an instrument that are answered yes or
// no, one bit of InstrumentRow::traits each.
enum class Trait : std::uint8_t {
  kDipoleSetting,           // EM31-MK2, EM38, EM38-MK2: a Vertical/Horizontal dipole setting
  kStationReadings,         // EM34-3: manual mode reads at stations, one push on RECORD each
  kPolledReadings,          // EM61-MK2: readings may be polled at an interval
  kTiltMeter,               // EM61-MK2: a tilt meter on its own port may be enabled
  kCurrentRing,             // EM61-MK2: readings normalised by the current ring; normalisation procedure
  kSensorSize,              // EM61-MK2: a sensor size setting
  kSensorSeparation,        // Grad601: a sensor separation setting
  kCoilReference,           // EM34-3: a coil reference setting (written in header column 19)
  kHeightSetting,           // EM38-4, CS-21: an instrument height setting
  kChannelGroups,           // EM38-4, CS-21: eight channels chosen in groups
  kSelectableRate,          // EM38-4, CS-21: a selected output rate or baud rate
  kDriftReminder,           // EM38-MK2, EM38-4, CS-21: the drift reminder
  kDriftControl,            // EM38-MK2, EM38-4: the drift control procedure
  kModelCoilPairs,          // EM38-MK2: model 1 (EM38-MK2-1) has one coil pair, two channels
  kInphaseUnits,            // EM38-4: in-phase in ppt or mS/m, a setting
  kOwnModeSwitch,           // EM38-MK2: the instrument's switch chooses manual or auto
  kAlarmSetup,              // EM61-LX2: alarms in place of the geometry setup
  kFilterFactors,           // EM61-LX2: coil filter factors, calibrated, in 'I' header records
  kNoGeometryUnits,         // Grad601: geometry in metres only
  kSecondColourBar,         // EM31-MK2, EM38-MK2, EM38-4: a second colour bar for the in-phase
  kHiddenChannelSelectors,  // EM38, Grad601: no channel selectors
  kPortFailureOnly,         // EM38, CS-21: only a port failure breaks the connection, no record timeout
  kSoftMarkerKeys,          // EM61-LX2: digit and arrow keys may mark while logging
  kNoRateField,             // EM38-4, Grad601: no readings/s in the survey setup
  kWheelMode,               // EM61-MK2: Auto, Wheel and Manual survey modes
  kModeNotListed,           // EM38-4: the survey mode is kept, not chosen from the survey setup's list
  kSurveyGpsOffsets,        // EM61-LX2: GPS offsets in the survey setup
  kNoSlamExtras,            // EM61-LX2: the p-GGA SLAM values are not shown
  kCoilConfigurations,      // EM34-3: six coil configurations (spacing and dipole) in Auto
  kWideColourBar,           // EM31-MK2, EM38-MK2, EM38-4, CS-21: the colour bar is placed for wide labels
  kComponentView,           // EM38: one mapped view, the component chosen in the survey setup
  kWideHeader,              // EM38-4, CS-21: identification record with units and the wide options
  kCalibrationOffsets,      // EM38-MK2: six calibration offsets, 'O' header records
  kCalibrationConstants,    // EM38-4: calibration constants, header records of their own
  kNullPairs,               // EM61-LX2: null value records hold the new value and the previous one
  kInphaseOnlyComponent,    // EM31-MK2: its component list offers the in-phase alone ("Both", "Inphase")
  kSlamLabels,              // EM31-MK2, EM38-MK2, EM61-MK2, Grad601: the status panel may show the SLAM labels
  kRecordGroups,            // EM38-4: several records make a reading, at the selected rate
};

constexpr std::uint64_t trait_bit(Trait t) { return std::uint64_t{1} << static_cast<unsigned>(t); }
constexpr std::uint64_t trait_bits(std::initializer_list<Trait> traits) {
  std::uint64_t bits = 0;
  for (Trait t : traits) bits |= trait_bit(t);
  return bits;
}

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
  int sensor_count_column;                         // its digit in the identification record (0: none)
  std::span<const ValueColumnSpec> value_columns;  // in the order interpret_reading gives them
  std::uint64_t traits;                            // trait_bits of its Trait values
  int baud_index;                                  // the instrument port's default baud list index
  // Labels of the setup lists (empty: no such list).
  std::span<const std::string_view> model_labels;      // System Setup's model (or units) list
  std::span<const std::string_view> component_labels;  // Survey Setup's component list
  std::span<const std::string_view> second_labels;     // System Setup's second list: rate or baud rate
  std::string_view scale_format;                       // the readings scale labels, "%0.0fmS/m"
  std::string_view readings_scale_form;                // dialog template of the readings scale
  std::string_view profile_options_form;               // dialog template of the profile options
  std::uint8_t ncc_models;                             // bit n: model list entry n is an N.C.C. coil
};

std::span<const InstrumentRow> instrument_table();

// nullptr for a type outside the table.
const InstrumentRow* find_instrument(InstrumentType instrument_type);

bool in_family(InstrumentType instrument_type, InstrumentFamily family);
// false for a type outside the table.
bool has_trait(InstrumentType instrument_type, Trait trait);
bool is_em61(InstrumentType instrument_type);
bool is_t_record_instrument(InstrumentType instrument_type);  // EM31-MK2, EM38, EM34-3
bool is_conductivity_meter(InstrumentType instrument_type);
// EM31-MK2, EM38, EM38-MK2, EM38-4, CS-21: an in-phase value beside the
// conductivity of a coil (its own scale and colour bar).
bool has_inphase_columns(InstrumentType instrument_type);
// Grad601 and EM61-LX2: the number of sensors is a setting (list index 1: two).
bool has_sensor_count(InstrumentType instrument_type);
// EM38-MK2, EM38-4 and the EM61 types: reading records hold the
// instrument's binary bytes as received.
bool has_binary_records(InstrumentType instrument_type);

// The instrument port's default baud list index (0 for a type outside the table).
int instrument_baud_index(InstrumentType instrument_type);

// Column 0 of a data-file record written from an instrument record.
bool is_reading_letter(InstrumentType instrument_type, char tag);
bool is_marker_letter(InstrumentType instrument_type, char tag);
// The EM61-LX2's marker letter of a reading letter (T, D, E, F -> M, N, P,
// Q: a reading taken while a marker is held); the letter itself otherwise.
char marker_letter_of(InstrumentType instrument_type, char reading_letter);
inline bool is_instrument_letter(InstrumentType instrument_type, char tag) {
  return is_reading_letter(instrument_type, tag) || is_marker_letter(instrument_type, tag);
}

// The navigation line's record of the EM31-MK2 is shorter than its real-time
// map line's: its records end without the three padding spaces.
bool has_shortened_records(const Variant& v);

// 27 in general; 24 for EM31-MK2 in the navigation line; 47 EM38-4; 65 CS-21.
// 0 for a variant outside the table.
int instrument_record_length(const Variant& v);

}  // namespace quelor
