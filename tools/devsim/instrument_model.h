#pragma once
// The instrument as a state machine: what it streams at each record period
// and how it answers bytes from the program. No I/O here.
//
// EM61 types stay silent until "H","X" (continuous mode, reading letters
// T/D/E/F) or "H","W" (second mode, letters J/K) and answer both with "OK";
// another byte after "H" is answered "OV". In polled mode they never stream
// and each "A" yields one record. While a command is half received the
// instrument holds its stream, so the answer is not mixed with record bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "devsim/instrument_bench.h"
#include "devsim/instrument_kind.h"
#include "devsim/readings.h"

namespace quelor::devsim {

struct InstrumentConfig {
  InstrumentKind kind{};
  InstrumentSetup setup{};
  double period_ms = 100;   // record period
  int range = kAutoRange;   // EM31-MK2 / EM34-3 full-scale range
  int em38_length = 12;     // 7 or 12
  int em38_4_rate = 0;      // output-rate index
  char em61_letter = 'T';   // reading letter of the continuous mode
  bool polled = false;      // EM61: one record per "A"
  int trigger_records = 3;  // records that carry the marker after a trigger
  InstrumentBench bench{};  // offsets, stance, ratio and current of the control commands
};

struct InstrumentState {
  bool awake = false;    // EM61 handshake done
  char em61_mode = 'X';  // 'X' continuous, 'W' second mode
  bool em38_inphase_next = false;
  int cs21_group_next = 1;  // the CS-21 sends its $PDLM1 and $PDLM2 lines in turn
  int marker_left = 0;
  bool manual_switch = false;  // EM38-MK2 switched to manual: silent but for presses
  int presses_left = 0;        // trigger presses whose record is still to come
  int bad_checksums_left = 0;  // CS-21 lines
  std::string command;         // first byte of an unfinished two-byte command
  double command_since = 0;    // seconds
  std::uint64_t records = 0;
};

// Seconds a half-received command holds the stream.
constexpr double kCommandTimeout = 0.5;

InstrumentState initial_instrument_state(const InstrumentConfig& c);

// Should the instrument send a record now (handshake done, not polled, no
// command half received)?
bool instrument_streams(const InstrumentConfig& c, const InstrumentState& s);

// The next record's bytes at this place of the walk.
std::string next_instrument_record(const InstrumentConfig& c, InstrumentState& s, const Site& site, const WalkPoint& w,
                                   double time_of_day, Rng* rng);

// Bytes from the program; returns what the instrument sends back at once.
std::string instrument_input(const InstrumentConfig& c, InstrumentState& s, std::string_view bytes, double now,
                             const Site& site, const WalkPoint& w, double time_of_day, Rng* rng);

// Drops a command whose second byte never came.
void instrument_tick(InstrumentState& s, double now);

// The trigger (or marker button) pressed: the next records carry the marker.
// The EM38-MK2 has no marker: on manual a press sends one record (mode
// letter "M"), on auto a press does nothing.
void press_trigger(const InstrumentConfig& c, InstrumentState& s, int records);

// The EM38-MK2's own auto/manual switch (the other instruments have none).
void set_mode_switch(const InstrumentConfig& c, InstrumentState& s, bool manual);

// Whether a record for a trigger press is due now (switched EM38-MK2).
bool press_record_due(const InstrumentState& s);

}  // namespace quelor::devsim
