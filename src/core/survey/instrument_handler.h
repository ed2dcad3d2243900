#pragma once
// The reading handlers of the EM38-MK2, EM38-4, EM61-MK2, EM61-LX2 (one and
// two coils), Grad601 and DualEM CS-21: the record as the file receives it
// (the EM61 records carry the mean current), its meaning (interpret_reading),
// the procedure hook that takes readings while a procedure runs, whether it
// is written, the station advance and counters, and the entry of the map's
// segment buffer.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "datafile/data_records.h"
#include "reading/reading_meaning.h"
#include "serial/current_ring.h"
#include "serial/record_bytes.h"
#include "survey/logged_reading.h"
#include "survey/procedure_hook.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kMaxChannels = kMaxReadingChannels;

// What the handler needs besides the decode context.
struct InstrumentContext {
  std::uint32_t now = 0;
  bool audio_ticks = false;
  ProcedureHook procedure;
};

// What lives across readings for the whole survey.
struct InstrumentSurveyState {
  CurrentRing current_ring;  // EM61 current normalisation
  int grad_logged = 0;       // Grad601 readings written, for the every-fourth sound
};

struct InstrumentOutcome {
  bool to_procedure = false;                    // a running procedure took it: nothing else happens
  ReadingMeaning meaning;                       // every value shown, profiled and mapped
  std::array<double, kMaxChannels> channels{};  // = meaning.channels
  int channel_count = 0;
  int trace_identity = 0;  // dipole code: a change restarts the profile traces
  char dipole = 0;
  char mode = 0;
  bool marker = false;         // EM61 marker letters: "MARKER"; others the marker flag
  bool mode_switched = false;  // the instrument's own switch changed the survey mode
  bool logged = false;
  std::string record;  // the instrument bytes the writer takes (EM61: with the mean current)
  std::uint32_t tick = 0;
  std::optional<int> segment_entry;  // pushed into the segment buffer
  bool result_sound = false;         // Grad601: "SOUND_RESULT" on every fourth written reading
  std::string battery_text;          // EM61: "%4.1f V"
  std::string current_text;          // EM61: "%4.1f A"
  LoggedTexts texts;                 // set when logged

  ReadingInput reading_input() const { return {record, tick, 0}; }
};

// One reading of the running instrument (by decode.instrument_type) that
// arrived at `tick`. The caller writes reading_input() when `logged`.
InstrumentOutcome handle_instrument_reading(SurveyRecord& survey, InstrumentSurveyState& state,
                                            const InstrumentContext& context, const DecodeContext& decode,
                                            const RecordBytes& record, std::uint32_t tick);

}  // namespace quelor
