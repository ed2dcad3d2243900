#pragma once
// The reading handlers of the EM38-MK2, EM38-4, EM61-MK2, EM61-LX2 (one and
// two coils), Grad601 and DualEM CS-21: decode, hand the reading to a running
// procedure, decide whether it is written, the record for the writer, the
// station advance and counters, the channel values for the numbers, bars and
// profiles, and the entry of the map's segment buffer.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "datafile/data_records.h"
#include "serial/current_ring.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/record_bytes.h"
#include "survey/logged_reading.h"
#include "survey/procedure_hook.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kMaxChannels = 8;

// The mapped value's scale: class = (value - minimum) / width, 0..49.
struct ColourScale {
  double minimum = 0.0;
  double class_width = 10.0;
};

struct InstrumentContext {
  int instrument_type = kEm38Mk2;
  std::uint32_t now = 0;
  int mapped_channel = 0;          // colour map view: 1-based channel, 0 none
  ColourScale colour;              // of the mapped channel
  bool two_sensors = false;        // Grad601 and EM61-LX2
  bool audio_ticks = false;
  ProcedureHook procedure;
  // decoders
  Em38Mk2Offsets em38mk2_offsets;
  bool em38mk2_single_coil = false;
  Em38_4Calibration em38_4_calibration;
  bool em38_4_raw_inphase = false;
  Em61Mk2Options em61;
  std::array<double, 4> nulling{};
  // The filtered channel of each EM61-LX2 coil: F = E - L x its factor / 1000.
  std::array<double, 2> lx2_filter_factors{310.0, 310.0};  // left, right coil
};

// What lives across readings for the whole survey.
struct InstrumentSurveyState {
  CurrentRing current_ring;   // EM61 current normalisation
  int grad_logged = 0;        // Grad601 readings written, for the every-fourth sound
};

struct InstrumentOutcome {
  bool to_procedure = false;  // a running procedure took it: nothing else happens
  std::array<double, kMaxChannels> channels{};  // in channel order (1-based channel n at n-1)
  int channel_count = 0;
  int trace_identity = 0;     // dipole code: a change restarts the profile traces
  char dipole = 0;
  char mode = 0;
  bool marker = false;        // EM61 marker letters: "MARKER"; others the marker flag
  bool logged = false;
  std::string record;         // the instrument bytes as received, copied by length
  std::uint32_t tick = 0;
  std::optional<int> segment_entry;  // pushed into the segment buffer
  bool result_sound = false;  // Grad601: "SOUND_RESULT" on every fourth written reading
  std::string battery_text;   // EM61: "%4.1f V"
  std::string current_text;   // EM61: "%4.1f A"
  LoggedTexts texts;          // set when logged

  ReadingInput reading_input() const { return {record, tick, 0}; }
};

// One reading of the running instrument (by context.instrument_type) that
// arrived at `tick`. The caller writes reading_input() when `logged`.
InstrumentOutcome handle_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state,
                                            const InstrumentContext& context, const RecordBytes& record,
                                            std::uint32_t tick);

// EM61 record letters T, D, E, F are readings; the others are marker records.
bool em61_marker_letter(char letter);

// The two-sensor entry: the first sensor's class plus 64 x the second's.
int two_value_entry(double first, double second, const ColourScale& scale);

}  // namespace quelor
