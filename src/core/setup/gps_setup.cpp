#include "setup/gps_setup.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "gps/formats.h"
#include "settings/value_text.h"
#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/setup_lists.h"

namespace quelor {

namespace {

constexpr int kFewestSatellites = 3;
constexpr int kMostSatellites = 12;
constexpr const char* kMaskTitle = "GPS Warning Mask";

std::string format_line(const char* pattern, double value) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

// By GPS data format: what the format's dilution field holds.
constexpr std::array<std::string_view, kGpsFormatCount> kDilutionLabels{"PDOP", "HDOP", "PDOP", "GDOP", "Quality (m)",
                                                                        "DOP",  "DOP",  "HDOP", "DOP"};

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

DialogForm gps_mask_form(const GpsWarningMask& m, bool sound, int gps_format) {
  DialogForm f;
  f.add_list(IDC_MASK_WARNING, warning_items(), m.warning_selection);
  f.add_list(IDC_MASK_QUALITY, quality_items(), m.quality_selection);
  f.add_label(IDC_MASK_DILUTION_LABEL, dilution_label(gps_format));
  f.add_edit(IDC_MASK_DILUTION, format_entry("%.1f", m.threshold));
  const bool shown = m.minimum_satellites >= kFewestSatellites && m.minimum_satellites <= kMostSatellites;
  f.add_list(IDC_MASK_SATELLITES, satellite_items(), 0).selection =
      shown ? m.minimum_satellites - kFewestSatellites : -1;
  f.add_check(IDC_MASK_SOUND, sound);
  return f;
}

std::vector<OperatorMessage> store_gps_mask(const DialogForm& f, GpsWarningMask& m, bool& sound) {
  std::vector<OperatorMessage> messages;
  m.warning_selection = f.selection(IDC_MASK_WARNING, m.warning_selection);
  m.quality_selection = f.selection(IDC_MASK_QUALITY, m.quality_selection);
  const std::optional<double> dilution = entered_number(f.text(IDC_MASK_DILUTION));
  if (dilution && *dilution >= 0.0) {
    m.threshold = *dilution;
  } else {
    const std::wstring label = f.text(IDC_MASK_DILUTION_LABEL);
    messages.push_back({kMaskTitle, "Entered " + narrow_text(label) + " ( " +
                                        narrow_printable(std::wstring_view(f.text(IDC_MASK_DILUTION)).substr(0, 20)) +
                                        " ) is not a valid number.\r\n" +
                                        format_line("Program restores previous value ( %.1f )", m.threshold)});
  }
  const int satellites = f.selection(IDC_MASK_SATELLITES, -1);
  if (satellites >= 0 && satellites <= kMostSatellites - kFewestSatellites) {
    m.minimum_satellites = satellites + kFewestSatellites;
  } else {
    messages.push_back({kMaskTitle, format_line("Minimum Satellites ( %.0f ) is out of valid range ( 3 to 12 ).\r\n",
                                                m.minimum_satellites) +
                                        format_line("Program keeps the value ( %.0f )", m.minimum_satellites)});
  }
  sound = f.checked(IDC_MASK_SOUND, sound);
  return messages;
}

DialogForm gps_mask_form(const Settings& s) {
  return gps_mask_form(s.gps_warning_mask, s.gps_audio_warning != 0, s.gps_sentence);
}

std::vector<OperatorMessage> store_gps_mask(const DialogForm& f, Settings& s) {
  bool sound = s.gps_audio_warning != 0;
  std::vector<OperatorMessage> messages = store_gps_mask(f, s.gps_warning_mask, sound);
  s.gps_audio_warning = sound ? 1 : 0;
  return messages;
}

GpsPortSetup gps_port_setup(const Settings& s) { return {gps_input_form(s), s.gps_warning_mask}; }

DialogForm gps_port_mask_form(const GpsPortSetup& p, const Settings& s) {
  return gps_mask_form(p.mask, p.form.checked(IDC_GPS_AUDIO_WARNING, s.gps_audio_warning != 0),
                       p.form.selection(IDC_GPS_DATA, s.gps_sentence));
}

std::vector<OperatorMessage> store_gps_port_mask(GpsPortSetup& p, const DialogForm& mask_form) {
  DialogControl* check = p.form.find(IDC_GPS_AUDIO_WARNING);
  bool sound = check && check->checked;
  std::vector<OperatorMessage> messages = store_gps_mask(mask_form, p.mask, sound);
  if (check) check->checked = sound;
  return messages;
}

void store_gps_port_setup(const GpsPortSetup& p, Settings& s) {
  store_gps_input(p.form, s);
  s.gps_warning_mask = p.mask;
}

}  // namespace quelor
