#pragma once
// A short survey of one variant built through the writer with fixed clocks:
// header, line block, readings, GPS records, swath, station, comment,
// remarks, pause and a second line. The golden files are these bytes.

#include <string>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "variant/variant.h"

namespace quelor::testing_support {

inline const Variant kEveryVariant[] = {{kEm31Mk2, 0}, {kEm31Mk2, 1}, {kEm38, 0},    {kEm38, 1},    {kEm34_3, 0},
                                        {kEm34_3, 1},  {kEm38Mk2, 0}, {kEm38Mk2, 1}, {kEm38_4, 0},  {kEm38_4, 1},
                                        {kCs21, 0},    {kCs21, 1},    {kGrad601, 0}, {kGrad601, 1}, {kEm61Lx2, 0},
                                        {kEm61Lx2, 1}, {kEm61Mk2, 0}, {kEm61Mk2, 1}};

// Instrument records as the readers hand them over, by instrument.
inline std::string sample_record(InstrumentType type, int n) {
  const char k = static_cast<char>('0' + n);
  switch (type) {
    case kEm38: return std::string("TA0123") + k;
    case kEm38Mk2: return std::string("T\x06\x12\x34\x0A\x00\x7F\x80\x55\xAA\x01\x02\x03", 13) + k;
    case kEm38_4: {
      std::string g(
          "t\x02\x12\x34\x56\x78\x00\x0A\xFF\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0\xD0\xE0\xF0\x01\x02", 26);
      return g + "  12.50 " + k;
    }
    case kCs21: return std::string("$PDLM1,123456.7") + k + ",12.345,6.789,-10.111,2.222*3A";
    case kGrad601: return std::string("$PBAR,12.3,-4.") + k;
    case kEm61Lx2: return std::string("D\x00\x01\x02\x00\x10\x00\x20\x00\x30\x0C\x64\x21\x00\x7F", 15) + k;
    case kEm61Mk2: return std::string("T\xC0\x01\x02\x00\x10\xFF\xF0\x00\x05\x0B\xB8\x32\x0B\xB8", 15) + k;
    default:
      return std::string(
                 "T\x70"
                 "01234-005") +
             k;
  }
}

inline HeaderFields sample_header(const Variant& v) {
  HeaderFields f;
  f.file_name = "250307_000";
  f.gps_enabled = 1;
  f.instrument_state = 1;
  f.reading_interval = 0.25;
  f.gps_x_offset = v.instrument_type >= 0 ? -0.3 : 0.0;
  f.gps_sentence = 1;
  f.reference_easting = 691607.123;
  f.reference_northing = 5334764.456;
  f.reference_zone = 32;
  f.number_of_sensors = 1;
  f.null_values = {1.25, -2.5, 3.75, 0.0};
  f.lx2_constants = {310.0, 295.5};
  for (std::size_t i = 0; i < 6; ++i) f.em38mk2_constants[i] = {0.5 * static_cast<double>(i), -1.0};
  return f;
}

inline LineBlockFields sample_line(int line) {
  LineBlockFields f;
  f.line_name = std::to_string(line);
  f.file_name = "250307_000";
  f.start_station = 0.0;
  f.line_direction = line % 2 ? 2 : 1;
  f.station_increment = line % 2 ? 0.5 : -0.5;
  f.null_values = {1.25, -2.5, 3.75, 0.0};
  f.previous_null_values = {0.0, 0.0, 0.0, 0.0};
  f.lx2_constants = {{{310.0, 295.5}, {320.0, 300.0}}};
  for (std::size_t i = 0; i < 28; ++i)
    f.em38_4_constants[i] = {static_cast<double>(i) * 1.5, 100.0 + static_cast<double>(i)};
  return f;
}

inline std::string build_sample_survey(const Variant& v) {
  MemorySink sink;
  const std::wstring path = L"C:\\Data\\250307_000.dat";
  sink.open(path);
  DataFileWriter w(sink, v);
  const LocalTime start{2025, 3, 7, 9, 15, 30, 125};
  std::uint32_t tick = 3600000;
  w.write_header(sample_header(v), false);
  w.write_line_block(sample_line(1), start, tick);
  w.commit_to_disk();
  w.write_remark("$STARTED", 'X', tick += 2000);
  const std::string gga = "$GPGGA,091531.00,4807.038123,N,01131.000456,E,4,12,0.8,545.4,M,46.9,M,1.0,0000*4C";
  w.write_gps_sentence(gga, tick += 40, kGpsForwarded);
  w.write_gps_sentence("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39", tick += 10, kGpsAccepted);
  w.write_gps_sentence("NOT NMEA \x01 LINE", tick += 10, kGpsUnparsed);
  for (int n = 0; n < 3; ++n) {
    const std::string record = sample_record(v.instrument_type, n);
    ReadingInput r{record, tick += 250};
    if (n == 1) r.readings_since_last = 2;
    if (n == 2 && v.instrument_type == kEm34_3) r.averaged = std::make_pair(-1234, 567);
    w.write_reading(r);
  }
  w.write_swath_start();
  w.write_swath_group(0, {691606.5, 5334764.0, 691607.5, 5334765.25});
  w.write_gps_sentence(gga, tick += 5, kGpsForwarded);
  w.write_swath_group(1, {691606.75, 5334764.5, 691607.75, 5334765.5});
  if (v.instrument_type == kEm61Mk2) w.write_tilt(2.5, -3.25, tick += 30);
  w.write_station(1.0, LocalTime{2025, 3, 7, 9, 15, 33, 7});
  w.write_remark("CHECK POINT 7", 'C', tick += 100);
  const std::string fourth = sample_record(v.instrument_type, 3);
  w.write_reading({fourth, tick += 250});
  w.write_remark("1CONN BRK 1", 'X', tick += 900);
  w.write_remark("PAUSED", 'X', tick += 100);
  w.commit_to_disk();
  w.write_line_block(sample_line(2), LocalTime{2025, 3, 7, 9, 16, 2, 999}, tick += 5000);
  w.commit_to_disk();
  w.write_remark("$STARTED", 'X', tick += 2000);
  const std::string fifth = sample_record(v.instrument_type, 4);
  w.write_reading({fifth, tick += 250});
  w.write_remark("PAUSED BMP", 'X', tick += 100);
  w.commit_to_disk();
  return sink.file(path);
}

}  // namespace quelor::testing_support
