#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gps/monitor_keys.h"
#include "gps/monitor_lines.h"
#include "gps/warning.h"
#include "settings/settings_text.h"
#include "settings/value_text.h"
#include "setup/control_ids.h"
#include "setup/gps_setup.h"

namespace quelor {
namespace {

// Bytes fed one a millisecond from `start`; the lines that come out.
std::vector<std::string> feed(MonitorLines& m, std::string_view bytes, std::uint32_t start) {
  std::vector<std::string> out;
  std::uint32_t now = start;
  for (char c : bytes)
    if (auto line = monitor_byte(m, static_cast<std::uint8_t>(c), now++)) out.push_back(*line);
  return out;
}

TEST(MonitorLines, SentencesFromRawBytes) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::string long_body(205, 'A');
  const Case cases[] = {
      {"two sentences", "$GPGGA,1*00\r\n$GPGSA,2\r\n", {"$GPGGA,1*00", "$GPGSA,2"}},
      {"joined in the middle", "A,3*7F\r\n$GPGLL,4\r\n", {"$GPGLL,4"}},
      {"a dollar restarts", "$GPG$GPRMC,5\n", {"$GPRMC,5"}},
      {"over 200 bytes dropped", "$" + long_body + "\r\n$OK\r\n", {"$OK"}},
      {"200 bytes kept", "$" + std::string(199, 'B') + "\n", {"$" + std::string(199, 'B')}},
      {"no sentence without a dollar", "GPGGA\r\n\r\n", {}},
  };
  for (const Case& c : cases) {
    MonitorLines m = monitor_lines_at(0);
    EXPECT_EQ(feed(m, c.bytes, 1), c.lines) << c.name;
  }
}

TEST(MonitorLines, NoDataAfterSevenSilentSeconds) {
  MonitorLines m = monitor_lines_at(1000);
  EXPECT_FALSE(monitor_silence(m, 8000).has_value());
  EXPECT_EQ(monitor_silence(m, 8001).value_or(""), "NO DATA");
  EXPECT_FALSE(monitor_silence(m, 15001).has_value());
  EXPECT_TRUE(monitor_silence(m, 15002).has_value());
  // Bytes without a complete sentence do not count as data.
  feed(m, "$GPGGA,partial", 16000);
  EXPECT_TRUE(monitor_silence(m, 22003).has_value());
  feed(m, "$GPGGA,1\n", 23000);
  EXPECT_FALSE(monitor_silence(m, 30000).has_value());
  EXPECT_EQ(monitor_lines_over_limit(999), 0);
  EXPECT_EQ(monitor_lines_over_limit(1000), 0);
  EXPECT_EQ(monitor_lines_over_limit(1001), 1);
}

TEST(MonitorCommand, BytesOnTheWire) {
  struct Case {
    std::wstring text;
    std::string bytes;
  };
  const Case cases[] = {
      {kMonitorDefaultCommand, "$PASHS,NME,SAT,A,ON\r\n"},
      {L"", "\r\n"},
      {std::wstring(L"$A") + wchar_t(0x040A) + L"B" + wchar_t(0x040D) + wchar_t(0xE9), "$A?B??\r\n"},
      {L"$PASHS,0123456789012345678901234", "$PASHS,01234567890123456789\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(monitor_command_bytes(c.text), c.bytes);
  EXPECT_EQ(monitor_command_bytes(kMonitorDefaultCommand).size(), 21u);
}

TEST(MonitorKeys, ButtonsAndLetters) {
  struct Case {
    int selected;
    bool pause_shown;
    std::uint32_t key;
    int now_selected, press;
  };
  const Case cases[] = {
      {kMonitorPause, true, 0x09, kMonitorSend, kMonitorNoButton},
      {kMonitorExit, true, 0x27, kMonitorPause, kMonitorNoButton},
      {kMonitorExit, false, 0x28, kMonitorGo, kMonitorNoButton},
      {kMonitorPause, true, 0x25, kMonitorExit, kMonitorNoButton},
      {kMonitorSend, false, 0x26, kMonitorGo, kMonitorNoButton},
      {kMonitorSend, true, 0x0D, kMonitorSend, kMonitorSend},
      {kMonitorGo, false, 'p', kMonitorGo, kMonitorNoButton},
      {kMonitorGo, false, 'G', kMonitorGo, kMonitorGo},
      {kMonitorPause, true, 'P', kMonitorPause, kMonitorPause},
      {kMonitorPause, true, 'x', kMonitorPause, kMonitorExit},
      {kMonitorPause, true, 's', kMonitorPause, kMonitorSend},
      {kMonitorPause, true, 'Q', kMonitorPause, kMonitorNoButton},
  };
  for (const Case& c : cases) {
    const MonitorKeyDecision d = decode_monitor_key(c.selected, c.pause_shown, c.key);
    EXPECT_EQ(d.selected, c.now_selected) << c.key;
    EXPECT_EQ(d.press, c.press) << c.key;
  }
}

TEST(GpsMask, ReadBackAndAppliedByTheFixTest) {
  Settings s;
  DialogForm f = gps_mask_form(s);
  EXPECT_EQ(f.selection(IDC_MASK_SATELLITES, -1), 2);
  EXPECT_EQ(f.text(IDC_MASK_DILUTION), L"4.0");
  EXPECT_EQ(f.find(IDC_MASK_SATELLITES)->items.front(), L"3");
  EXPECT_EQ(f.find(IDC_MASK_SATELLITES)->items.back(), L"12");
  f.find(IDC_MASK_SATELLITES)->selection = 4;
  f.find(IDC_MASK_QUALITY)->selection = 3;
  f.set_text(IDC_MASK_DILUTION, L"2.5");
  f.find(IDC_MASK_SOUND)->checked = false;
  store_gps_mask(f, s);
  EXPECT_EQ(s.gps_warning_mask.minimum_satellites, 7);
  EXPECT_EQ(s.gps_warning_mask.quality_selection, 3);
  EXPECT_DOUBLE_EQ(s.gps_warning_mask.threshold, 2.5);
  EXPECT_EQ(s.gps_audio_warning, 0);
  struct Fix {
    int satellites, quality;
    double dilution;
    bool good;
  };
  const Fix fixes[] = {{7, 4, 2.5, true}, {6, 4, 2.0, false}, {9, 3, 1.0, false}, {9, 5, 2.6, false}};
  for (const Fix& x : fixes) {
    GpsFix fix;
    fix.satellites = x.satellites;
    fix.quality = x.quality;
    fix.dilution = x.dilution;
    EXPECT_EQ(gps_fix_is_good(fix, 1, warning_limits(s.gps_warning_mask)), x.good) << x.satellites;
  }
  DialogForm index2 = gps_mask_form(Settings{});
  index2.find(IDC_MASK_SATELLITES)->selection = 2;
  Settings five;
  five.gps_warning_mask.minimum_satellites = 9;
  store_gps_mask(index2, five);
  EXPECT_EQ(five.gps_warning_mask.minimum_satellites, 5);
}

// Bad entries are refused with a message and keep the values in force.
TEST(GpsMask, BadEntriesKeepTheirValuesWithAMessage) {
  const struct {
    const wchar_t* dilution;
    int stored_satellites;  // in the settings before the dialog
    double threshold;
    int satellites;
    std::vector<std::string> messages;  // their first words
  } cases[] = {
      {L"2.5", 5, 2.5, 5, {}},
      {L"abc", 5, 4.0, 5, {"Entered HDOP ( abc ) is not a valid number."}},
      {L"", 5, 4.0, 5, {"Entered HDOP (  ) is not a valid number."}},
      {L"-1", 5, 4.0, 5, {"Entered HDOP ( -1 ) is not a valid number."}},
      {L"0", 5, 0.0, 5, {}},
      {L"3", 20, 3.0, 20, {"Minimum Satellites ( 20 ) is out of valid range ( 3 to 12 )."}},
      {L"x", 2, 4.0, 2, {"Entered HDOP ( x )", "Minimum Satellites ( 2 )"}},
  };
  for (const auto& c : cases) {
    Settings s;
    s.gps_sentence = 1;  // GGA: "HDOP"
    s.gps_warning_mask.minimum_satellites = c.stored_satellites;
    DialogForm f = gps_mask_form(s);
    EXPECT_EQ(f.selection(IDC_MASK_SATELLITES, 99), c.stored_satellites == 5 ? 2 : -1);
    f.set_text(IDC_MASK_DILUTION, c.dilution);
    const std::vector<OperatorMessage> m = store_gps_mask(f, s);
    EXPECT_DOUBLE_EQ(s.gps_warning_mask.threshold, c.threshold) << c.dilution;
    EXPECT_EQ(s.gps_warning_mask.minimum_satellites, c.satellites);
    ASSERT_EQ(m.size(), c.messages.size()) << c.dilution;
    for (std::size_t i = 0; i < m.size(); ++i) {
      EXPECT_EQ(m[i].title, "GPS Warning Mask");
      EXPECT_EQ(m[i].text.rfind(c.messages[i], 0), 0u) << m[i].text;
    }
  }
}

// Opened from GPS Port Setup, the mask shows the dialog's own "Enable Audio
// Warning" and changes nothing until that dialog's OK.
TEST(GpsMask, FromGpsPortSetupItWaitsForThatDialogsOk) {
  Settings s;
  s.gps_audio_warning = 1;
  GpsPortSetup p = gps_port_setup(s);
  p.form.find(IDC_GPS_AUDIO_WARNING)->checked = false;  // unticked, not yet stored
  DialogForm mask = gps_port_mask_form(p, s);
  EXPECT_FALSE(mask.checked(IDC_MASK_SOUND, true));
  mask.set_text(IDC_MASK_DILUTION, L"1.5");
  EXPECT_TRUE(store_gps_port_mask(p, mask).empty());
  EXPECT_FALSE(p.form.checked(IDC_GPS_AUDIO_WARNING, true));
  EXPECT_EQ(s.gps_audio_warning, 1);  // Cancel would leave the settings so
  EXPECT_DOUBLE_EQ(s.gps_warning_mask.threshold, 4.0);
  store_gps_port_setup(p, s);
  EXPECT_EQ(s.gps_audio_warning, 0);
  EXPECT_DOUBLE_EQ(s.gps_warning_mask.threshold, 1.5);
  // The mask's sound box ticked sets the dialog's check.
  DialogForm again = gps_port_mask_form(p, s);
  again.find(IDC_MASK_SOUND)->checked = true;
  store_gps_port_mask(p, again);
  EXPECT_TRUE(p.form.checked(IDC_GPS_AUDIO_WARNING, false));
}

TEST(GpsInput, OkStoresTheLineSettingsAndFormat) {
  Settings s;
  DialogForm f = gps_input_form(s);
  EXPECT_EQ(f.find(IDC_GPS_DATA)->items[7], L"Pseudo GGA");
  f.find(IDC_GPS_SLAM)->checked = true;
  update_gps_input(f);
  EXPECT_EQ(f.find(IDC_GPS_DATA)->items[7], L"p-GGA SLAM");
  f.find(IDC_GPS_STATE)->selection = 0;
  f.find(IDC_GPS_BAUD)->selection = 5;
  f.find(IDC_GPS_PARITY)->selection = 2;
  f.find(IDC_GPS_DATA_BITS)->selection = 1;
  f.find(IDC_GPS_STOP_BITS)->selection = 0;
  f.find(IDC_GPS_DATA)->selection = 7;
  f.find(IDC_GPS_RTS_UNITS)->selection = 1;
  store_gps_input(f, s);
  EXPECT_EQ(s.gps_enabled, 0);
  EXPECT_EQ(s.gps_baud_rate, 5);
  EXPECT_EQ(s.gps_parity, 2);
  EXPECT_EQ(s.gps_data_bits, 1);
  EXPECT_EQ(s.gps_stop_bits, 0);
  EXPECT_EQ(s.gps_sentence, 7);
  EXPECT_EQ(s.pseudo_gga_variant, 1);
  EXPECT_EQ(s.rts_units, 1);
}

TEST(Narrowing, SettingsLinesStayWhole) {
  Settings s;
  s.data_folder = std::wstring(L"C:\\Data") + wchar_t(0x040D) + wchar_t(0x040A) + wchar_t(0x85) + wchar_t(0xE9) + L"\\";
  s.survey_line = "L\r\n1";
  const Variant v{kEm31Mk2, kNavigation};
  const std::string text = settings_values_text(s, v);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "C:\\Data???\xE9\\");
  const auto lines = [](const std::string& t) { return std::count(t.begin(), t.end(), '\n'); };
  EXPECT_EQ(lines(text), lines(settings_values_text(Settings{}, v)));
  Settings reread;
  read_settings_text(text, reread, v);
  EXPECT_EQ(reread.survey_line, "L??1");
  EXPECT_EQ(reread.data_folder, std::wstring(L"C:\\Data???") + wchar_t(0xE9) + L"\\");
}

}  // namespace
}  // namespace quelor
