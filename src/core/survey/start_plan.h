#pragma once
// The start of a survey (the setup window's "&Logging" command) as a plan:
// the checks that may stop it with their messages, the survey-record reset,
// the derived values and what the window side has to do, in order. The
// Win32 side opens the ports, starts the threads, waits and arms the timer.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datafile/message_box.h"
#include "settings/settings.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// How an instrument is started once its port is open.
struct InstrumentStart {
  InstrumentType instrument_type = kEm31Mk2;
  bool em61_handshake = false;  // send the EM61 handshake first; no answer fails
  std::uint32_t wait_after_handshake_ms = 0;
  bool em38_check = false;          // EM38 start check before the reader starts
  std::uint32_t em38_check_ms = 0;  // up to this long for a valid record
  bool second_em61_thread = false;  // second EM61-MK2 thread, created suspended
  std::uint32_t wait_before_first_record_ms = 0;
  std::uint32_t first_record_wait_ms = 0;  // 0: the first record is not awaited
  std::uint32_t wait_after_ms = 0;
  bool tilt_meter = false;  // EM61-MK2 with the tilt meter enabled
  int tilt_rate_index = 0;  // its output-rate command's index (0..4: 1, 2, 5, 10, 20 Hz)
};

// The tilt meter's output-rate index: the second tilt-meter setting.
int tilt_rate_index(const Settings& s);

// The start table row of an instrument (EM61-MK2 by its polled-reading mode).
InstrumentStart instrument_start(InstrumentType instrument_type, bool em61_polled_mode, bool tilt_meter_enabled);

// Timer 1 period in milliseconds; EM61-MK2 in polled mode uses the polling interval.
std::uint32_t timer_period_ms(InstrumentType instrument_type, bool em61_polled_mode, std::uint32_t polling_interval_ms);

// Tick divisor N of the EM61-MK2 tick sound: by update rate 1 / reading
// interval (1 below 4 Hz, 2 below 8, 3 below 13, else 6); EM61-MK2 in Wheel
// mode 1, in Manual mode 6.
int tick_divisor(InstrumentType instrument_type, int survey_mode, double reading_interval_s);

// Half the EM34-3 coil spacing of a dipole mode in Auto (5, 10 or 20 m).
double em34_half_spacing(int coil_spacing_m);

// The EM34-3 working Y offset by reference: 0 "Leading Coil" grows by half
// the spacing, 1 "Trailing Coil" becomes -offset - half, 2 "EM34-3 Center" stays.
double em34_y_offset(double gps_y_offset, int reference, int coil_spacing_m);

// Whether the colour map takes its range from profile scale 2 (see below).
bool colour_map_uses_scale_2(InstrumentType instrument_type, int colour_map_view);

// (max - min of profile scale 1) / 50; profile scale 2 for EM31-MK2 and EM38
// with colour map view 2, and EM38-MK2, EM38-4, CS-21 with view 2 or 4.
double colour_class_width(const Settings& s, InstrumentType instrument_type, int colour_map_view);

// "Serial Port Issue", "EM AND GPS DISABLED" ... or nothing.
std::optional<OperatorMessage> port_assignment_problem(const Settings& s, InstrumentType instrument_type);

// "Connection Issue" after a failed instrument start.
OperatorMessage connection_issue(bool tilt_meter);

struct StartInput {
  Variant variant;
  Settings settings;
  bool em61_polled_mode = false;  // EM61-MK2 polled-reading (fast) mode
  std::uint32_t polling_interval_ms = 100;
};

struct StartPlan {
  bool proceed = false;  // false: show `message` and stop
  std::optional<OperatorMessage> message;
  bool instrument_used = false;
  bool gps_used = false;
  bool tilt_used = false;
  SurveyRecord survey;  // the reset survey record (state Monitoring)
  int colour_map_view = 0;
  double update_rate_hz = 0.0;
  int tick_divisor = 1;
  bool clear_channel_null_values = false;
  bool clear_number_of_sensors = false;
  std::optional<InstrumentStart> start;          // nothing without an instrument
  std::optional<std::uint32_t> timer_period_ms;  // timer 1; nothing without an instrument
  double colour_class_width = 0.0;
  char dipole_letter = 'V';                 // numbers window "C%c:" / "I%c:"
  bool show_first_position_prompt = false;  // "Waiting for the first valid GPS position"
  int records_per_reading = 1;              // configured factor for Auto logging
};

// Steps 1-6 and the values of steps 10-15. `proceed` false leaves the setup
// window in front with nothing opened.
StartPlan plan_survey_start(const StartInput& input);

// The settings as the survey changes them (colour map view, null values,
// number of sensors); the caller keeps them. The settings keep the GPS Y
// offset as set; the shifted EM34-3 offset lives in the survey record.
void apply_start_to_settings(const StartPlan& plan, Settings& s);

inline constexpr const char* kWaitingForPositionText = "Waiting for the first valid GPS position";

}  // namespace quelor
