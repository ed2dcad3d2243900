// The GPS input: bytes from the receiver through the reader's sentence
// assembly and acceptance, every forwarded position parsed in the format
// the first byte picks (with the SLAM option), projected and made into its
// display texts; and the same bytes through the GPS monitor's line assembly.
#include <cmath>

#include "fuzz_target.h"
#include "gps/fix_texts.h"
#include "gps/manual_buffers.h"
#include "gps/monitor_lines.h"
#include "gps/parser.h"
#include "gps/reader.h"
#include "gps/survey_zone.h"
#include "reader_fakes.h"
#include "test_sentences.h"

namespace quelor::fuzz {
namespace {

void parse_position(std::string_view sentence, const FormatTable& table, int rts_units, SurveyZone& zone) {
  GpsFix fix = parse_gps_fix(sentence, table, FixOptions{rts_units, true});
  (void)fix_display_texts(fix, sentence);
  if (!fix.valid) return;
  if (fix.geographic) {
    expect(std::isfinite(fix.latitude) && std::isfinite(fix.longitude), "finite latitude and longitude");
    project_fix(zone, fix);
    expect(fix.zone >= 1 && fix.zone <= 60, "zone 1 to 60");
    expect(std::isfinite(fix.northing) && std::isfinite(fix.easting), "finite projected position");
  } else {
    expect(std::isfinite(fix.northing) && std::isfinite(fix.easting), "finite grid position");
  }
}

}  // namespace

std::vector<std::string> seeds() {
  using testing::nmea;
  const std::string sentences[] = {
      nmea("$GPGGA,123519.00,4807.0380000,N,01131.0000000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\n" +
          nmea("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\r\n",
      nmea("$GPGGA,123519.00,4807.0380000,N,01131.0000000,E,4,08,0.9,545.4,M,46.9,M,,") + "\r\n",
      nmea("$PASHR,POS,0,07,174109.50,3722.36223,N,12159.82741,W,00016.06,????,000.00,000.00,+000.00,02.6,01.4,02.2,01."
           "5") +
          "\r\n",
      nmea("$GPLLK,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M") + "\r\n",
      nmea("$GPLLQ,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M") + "\r\n",
      nmea("$GPGLL,4916.4500,N,12311.1200,W,225444.25,A") + "\r\n",
      nmea("$PTNL,GGK,172814.00,071296,3723.46587704,N,12202.26957864,W,3,06,1.7,EHT-6.777,M") + "\r\n",
      "$GPGGA,120000.00,4807.038,1131.000,1,07,0.5,12.25,1.5,2.5,3.75\r\n",
      "$GPGLL,764413.024,3503.723,225444.25,A\r\n",
  };
  std::vector<std::string> out;
  int format = 0;
  for (const std::string& s : sentences) out.push_back(std::string(1, static_cast<char>(format++)) + s + s);
  return out;
}

void fuzz_one(const FuzzInput& in) {
  const int format = in.selector % kGpsFormatCount;
  const bool slam = (in.selector & 0x10) != 0;
  const int rts_units = (in.selector >> 5) % 3;
  testing::FakeClock clock;
  testing::FakeHost host;
  GpsReaderControl control;
  GpsReaderConfig config;
  config.format = make_format_table(format, slam);
  config.minimum_interval_ms = (in.selector & 0x80) ? 0 : 910;
  GpsReaderState reader = make_gps_reader(config);
  ManualGpsBuffers manual;
  gps_reader_begin(reader, control, clock);
  host.status.logging = true;
  host.status.survey_mode = in.selector % 3;
  MonitorLines monitor = monitor_lines_at(0);
  std::size_t i = 0;
  for (unsigned char c : in.rest) {
    clock.now += 1 + (c & 7) * 40;
    if (++i % 97 == 0) manual.request_record();
    gps_reader_feed(reader, c, host, clock, &manual);
    gps_reader_check_silence(reader, control, host, clock);
    if (const auto line = monitor_byte(monitor, c, clock.now))
      expect(line->size() <= kMonitorSentenceLimit + 1, "monitor line length");
  }
  (void)monitor_silence(monitor, clock.now + 10000);
  for (const testing::Written& w : host.written)
    expect(w.text.size() <= kSentenceWrapLength + 1, "logged sentence length");
  SurveyZone zone = make_survey_zone(kAutomaticZone);
  const FormatTable table = make_format_table(format, slam);
  for (const std::string& p : host.positions) parse_position(p, table, rts_units, zone);
  for (const std::string& g : host.gsas) (void)gsa_pdop(g), (void)pdop_text(g);
  // The whole input as one sentence too, as the data-file readers take it.
  parse_position(in.rest, table, rts_units, zone);
}

}  // namespace quelor::fuzz
