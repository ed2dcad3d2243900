#include "setup/gps_setup.h"

#include <array>
#include <string_view>

#include "gps/formats.h"
#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/setup_lists.h"

namespace quelor {

namespace {

constexpr int kFewestSatellites = 3;

// By GPS data format: what the format's dilution field holds.
constexpr std::array<std::string_view, kGpsFormatCount> kDilutionLabels{
    "PDOP", "HDOP", "PDOP", "GDOP", "Quality (m)", "DOP", "DOP", "HDOP", "DOP"};

}  // namespace

DialogForm gps_input_form(const Settings& s) {
  DialogForm f;
  f.add_list(IDC_GPS_STATE, state_items(), s.gps_enabled > 0 ? 1 : 0);
  f.add_list(IDC_GPS_BAUD, gps_baud_items(), s.gps_baud_rate);
  f.add_list(IDC_GPS_PARITY, gps_parity_items(), s.gps_parity);
  f.add_list(IDC_GPS_DATA_BITS, gps_data_bits_items(), s.gps_data_bits == 0 ? 0 : 1);
  f.add_list(IDC_GPS_STOP_BITS, gps_stop_bits_items(), s.gps_stop_bits == 1 ? 1 : 0);
  f.add_list(IDC_GPS_DATA, gps_data_items(s.pseudo_gga_variant == 1), s.gps_sentence);
  f.add_check(IDC_GPS_SLAM, s.pseudo_gga_variant == 1);
  f.add_list(IDC_GPS_RTS_UNITS, rts_units_items(), s.rts_units);
  f.add_check(IDC_GPS_AUDIO_WARNING, s.gps_audio_warning != 0);
  f.add_label(IDC_GPS_MASK_BUTTON, L"");  // opens the warning mask; keeps its caption
  return f;
}

void update_gps_input(DialogForm& f) {
  if (DialogControl* data = f.find(IDC_GPS_DATA)) data->items = gps_data_items(f.checked(IDC_GPS_SLAM, false));
}

void store_gps_input(const DialogForm& f, Settings& s) {
  s.gps_enabled = f.selection(IDC_GPS_STATE, s.gps_enabled);
  s.gps_baud_rate = f.selection(IDC_GPS_BAUD, s.gps_baud_rate);
  s.gps_parity = f.selection(IDC_GPS_PARITY, s.gps_parity);
  s.gps_data_bits = f.selection(IDC_GPS_DATA_BITS, s.gps_data_bits);
  s.gps_stop_bits = f.selection(IDC_GPS_STOP_BITS, s.gps_stop_bits);
  s.gps_sentence = f.selection(IDC_GPS_DATA, s.gps_sentence);
  s.pseudo_gga_variant = f.checked(IDC_GPS_SLAM, s.pseudo_gga_variant == 1) ? 1 : 0;
  s.rts_units = f.selection(IDC_GPS_RTS_UNITS, s.rts_units);
  s.gps_audio_warning = f.checked(IDC_GPS_AUDIO_WARNING, s.gps_audio_warning != 0) ? 1 : 0;
}

std::wstring dilution_label(int format) {
  const std::string_view label =
      is_valid_gps_format(format) ? kDilutionLabels[static_cast<std::size_t>(format)] : "DOP";
  return std::wstring(label.begin(), label.end());
}

DialogForm gps_mask_form(const Settings& s) {
  const GpsWarningMask& m = s.gps_warning_mask;
  DialogForm f;
  f.add_list(IDC_MASK_WARNING, warning_items(), m.warning_selection);
  f.add_list(IDC_MASK_QUALITY, quality_items(), m.quality_selection);
  f.add_label(IDC_MASK_DILUTION_LABEL, dilution_label(s.gps_sentence));
  f.add_edit(IDC_MASK_DILUTION, format_entry("%.1f", m.threshold));
  f.add_list(IDC_MASK_SATELLITES, satellite_items(), m.minimum_satellites - kFewestSatellites);
  f.add_check(IDC_MASK_SOUND, s.gps_audio_warning != 0);
  return f;
}

void store_gps_mask(const DialogForm& f, Settings& s) {
  GpsWarningMask& m = s.gps_warning_mask;
  m.warning_selection = f.selection(IDC_MASK_WARNING, m.warning_selection);
  m.quality_selection = f.selection(IDC_MASK_QUALITY, m.quality_selection);
  m.threshold = entered_number_or_zero(f.text(IDC_MASK_DILUTION));
  m.minimum_satellites = f.selection(IDC_MASK_SATELLITES, m.minimum_satellites - kFewestSatellites) + kFewestSatellites;
  s.gps_audio_warning = f.checked(IDC_MASK_SOUND, s.gps_audio_warning != 0) ? 1 : 0;
}

}  // namespace quelor
