#pragma once
// What a reading record needs besides its own bytes to mean something: the
// decoder options, calibrations, gate factors, nulls and filter factors in
// force, and the mapped view with its scale. Built from the live settings
// (the handlers) or from a data file's header and constant records (the
// re-plot, `quelor map`, `quelor export`, the background conversion), so
// that both read a reading the same way.

#include <array>
#include <optional>
#include <string_view>

#include "datafile/file_header.h"
#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// The mapped value's scale: class = trunc((value - minimum) / class_width), 0..49.
struct ColourScale {
  double minimum = 0.0;
  double class_width = 10.0;
};

struct DecodeContext {
  InstrumentType instrument_type = kEm31Mk2;
  bool manual_mode = false;        // the survey mode Manual: the EM31 family's mode letter always "N"
  bool em31_inphase_only = false;  // EM31-MK2: the component setting in-phase only
  bool em38mk2_single_coil = false;
  Em38Mk2Offsets em38mk2_offsets;
  Em38_4Calibration em38_4_calibration;
  // EM38-4 in-phase units "mS/m": the in-phase words without their factors.
  bool em38_4_raw_inphase = false;
  int em61_coil_type = kCoilStandard;  // EM61 type: coil and N.C.C.
  // EM61-MK2: the channels are multiplied by nominal / the mean current the
  // record carries (columns 10-12).
  bool em61_normalised = false;
  std::array<double, 4> nulls{};
  // The filtered channel of each EM61-LX2 coil: F = E - L x factor / 1000.
  std::array<double, 2> lx2_filter_factors{310.0, 310.0};  // left, right coil
  bool two_sensors = false;                                // Grad601 and EM61-LX2
  bool manual_em34 = false;                                // EM34-3 in Manual mode: one footprint per coil spacing
  int mapped_view = 0;                                     // colour map view: 0 positions, n the n-th channel's view
  ColourScale colour;                                      // of the mapped view
};

// The EM31 family decoder's options the program runs with: Manual mode and
// the EM31-MK2 in-phase only; no setting gives the in-phase divisor or the
// EM38 x10.
Em31Options em31_options(const DecodeContext& c);

// The EM61-MK2 decoder's options the program runs with: the coil type; its
// readings are never timed, its sub-type 0, without halving.
Em61Mk2Options em61_options(const DecodeContext& c);

// True when the mapped view uses the second readings scale: the EM31-MK2 and
// EM38 in-phase view, every in-phase view of the EM38-MK2, EM38-4 and CS-21.
bool mapped_view_uses_scale_2(InstrumentType instrument_type, int view);

// Entries pack two classes (first + 64 x second): the CS-21, and the Grad601
// and EM61-LX2 with two sensors.
bool two_value_entries(const DecodeContext& c);

// The view and its scale from the display settings; called again at every
// change of view or scale.
void set_mapped_view(DecodeContext& c, const Settings& s);

// Constants as the data file records them ("%9.2f", "%10.3f"), so that the
// live readings and their re-plot use the same numbers.
double as_recorded(double value, int decimals);

// The live context: the settings, whether the survey runs in Manual mode,
// and whether the EM61-MK2 current ring is on.
DecodeContext decode_context_from_settings(const Settings& s, InstrumentType instrument_type, bool manual_mode,
                                           bool em61_normalised);

// The context of a data file from its header block (record length from the
// first line feed); the view and scale come from `display` (the settings in
// use). Nothing when the file has no header of the family.
std::optional<DecodeContext> decode_context_from_file(std::string_view bytes, const Settings& display);
// The same from a header block already read (a continued file's too).
DecodeContext decode_context_from_header(const FileHeader& header, const Settings& display);

// Header record 3 (the EM61-MK2 current ring on or off), the constant
// records that follow the header and every line block ('O' and 'I'), and the
// procedures' own: each updates the context in force for the readings after
// it. Call with every record in file order.
struct ConstantRecordState {
  int null_index = 0;               // EM61: the n-th 'O' record of a group
  int lx2_index = 0;                // EM61-LX2: the n-th 'I' record of a group
  std::array<double, 6> em38mk2{};  // EM38-MK2 'O1'-'O6'
  std::array<double, 28> em38_4{};  // EM38-4 'O1'-'OS'
};
void apply_constant_record(DecodeContext& c, ConstantRecordState& state, std::string_view record);

}  // namespace quelor
