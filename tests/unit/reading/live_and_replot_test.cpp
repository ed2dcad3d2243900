// One reading, one meaning: for every instrument and every colour view a
// simulated record stream, marker records included, goes through the live
// handler path (framer, handler, data-file writer) and the live painter at
// every GPS fix, with a standstill of several fixes, a GPS break and a
// readings scale change followed by a whole-map redraw; the data file it
// wrote is then re-plotted and exported. The re-plot must paint the very
// pixels the live map painted, and the export must give the numbers the
// handler showed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../survey/survey_test_support.h"
#include "background/replot.h"
#include "datafile/header_records.h"
#include "datafile/memory_sink.h"
#include "datafile/record_layout.h"
#include "datafile/writer.h"
#include "devsim/binary_record.h"
#include "devsim/em31_record.h"
#include "devsim/line_record.h"
#include "export/export_table.h"
#include "gps/reader.h"
#include "map/map_painter.h"
#include "map/palette.h"
#include "map/raster_tiles.h"
#include "procedures/em38_4_values.h"
#include "procedures/normalisation.h"
#include "reading/reading_meaning.h"
#include "serial/instrument_framer.h"
#include "survey/gps_fix_handler.h"
#include "survey/instrument_handler.h"
#include "survey/logging_commands.h"
#include "survey/map_fix.h"
#include "survey/survey_context.h"
#include "survey/channel_selectors.h"
#include "survey/reading_handler.h"

namespace quelor {
namespace {

using survey_testing::gga;

constexpr int kTile = 398;

// The wire bytes through the instrument's framer: the record a reader hands over.
RecordBytes framed(InstrumentType type, const std::string& wire, bool two_coils, bool second_mode) {
  ReaderOptions options;
  options.two_coils = two_coils;
  options.second_mode = second_mode;
  auto framer = make_instrument_framer(type, options);
  EXPECT_TRUE(framer);
  RecordBytes out;
  for (char c : wire) {
    const FrameStep step = frame_byte(*framer, static_cast<std::uint8_t>(c), FrameContext{});
    if (step.event == FrameEvent::kRecord) out = framed_record(*framer);
  }
  return out;
}

// A smooth field with a few anomalies over the walked area: 0..1 at (e, n) metres.
double field(double e, double n) {
  return 0.5 + 0.35 * std::sin(e * 0.45) * std::cos(n * 0.7) + 0.15 * std::sin(e * 1.7 + n);
}

struct Case {
  const char* name;
  InstrumentType type;
  bool two_coils;  // the framer's and the settings' two sensors
  std::function<void(Settings&)> set_up;
  std::function<std::string(int i, double f)> wire;  // the i-th reading at field value f
  // Shown channels (0-based) that are no export column: EM61-LX2 filtered
  // channels, the EM31-MK2's conductivity when it reads in-phase only.
  std::vector<int> not_exported;
  std::vector<int> views;    // every colour view of the instrument
  bool manual = false;       // EM34-3 Manual: station groups of three trigger presses
  bool second_mode = false;  // the EM61-MK2 reader of the second record mode
};

// Every fifth reading of the EM61 types a marker record: a letter of the
// reading letters, then of the marker letters in turn.
char em61_letter(int i, std::string_view letters) {
  return i % 5 == 4 ? letters[static_cast<std::size_t>(i / 5) % letters.size()] : "TDEF"[(i / 5) % 4];
}

// Every seventh EM38-MK2 and EM38-4 record is a 't' record.
std::string with_t_records(int i, std::string wire) {
  if (i % 7 == 6) wire[0] = 't';
  return wire;
}

// The CS-21's second coil group: a $PDLM2 line with its own checksum.
std::string as_pdlm2(std::string line) {
  line[5] = '2';
  const std::size_t star = line.find('*');
  unsigned sum = 0;
  for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  line.replace(star + 1, 2, hex);
  return line;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> cases() {
  std::vector<Case> c;
  c.push_back({"em31mk2_inphase_only",
               kEm31Mk2,
               false,
               [](Settings& s) {
                 s.component = 1;
                 s.profile_scale_2 = {-10.0, 10.0};
               },
               [](int, double f) {
                 devsim::Em31Reading r;
                 r.conductivity = 40 * f;  // the in-phase-only instrument sends its in-phase value first
                 r.inphase = 0;
                 return devsim::encode_em31_record(r);
               },
               {0},
               {2}});
  c.push_back({"em31mk2",
               kEm31Mk2,
               false,
               [](Settings&) {},
               [](int, double f) {
                 devsim::Em31Reading r;
                 r.conductivity = 480 * f;
                 r.inphase = 20 * f - 10;
                 return devsim::encode_em31_record(r);
               },
               {},
               {1, 2}});
  c.push_back({"em31mk2_feet",
               kEm31Mk2,
               false,
               [](Settings& s) { s.map_units = 1; },
               [](int, double f) {
                 devsim::Em31Reading r;
                 r.conductivity = 480 * f;
                 r.inphase = 40 * f - 20;
                 return devsim::encode_em31_record(r);
               },
               {},
               {2}});
  c.push_back({"em38_inphase_records",
               kEm38,
               false,
               [](Settings& s) {
                 s.profile_scale_1 = {-20.0, 20.0};
               },
               [](int i, double f) {
                 devsim::Em38Reading r;
                 r.inphase = i % 4 != 3;  // mostly in-phase records, a conductivity record now and then
                 r.value = r.inphase ? 30 * f - 15 : 200 * f;
                 return devsim::encode_em38_record(r);
               },
               {},
               {1}});
  c.push_back({"em34_3",
               kEm34_3,
               false,
               [](Settings&) {},
               [](int, double f) {
                 devsim::Em34Reading r;
                 r.conductivity = 90 * f;
                 return devsim::encode_em34_record(r);
               },
               {},
               {1}});
  c.push_back({"em34_3_manual_stations",
               kEm34_3,
               false,
               [](Settings& s) { s.survey_mode = kModeManual; },
               [](int i, double f) {
                 static constexpr int kSpacings[] = {10, 20, 40};
                 devsim::Em34Reading r;
                 r.conductivity = 90 * f;
                 r.spacing = kSpacings[(i / 2) % 3];
                 r.marker = i % 2 == 0;  // a press, then the trigger released
                 return devsim::encode_em34_record(r);
               },
               {},
               {1},
               true});
  c.push_back({"em38mk2_calibrated",
               kEm38Mk2,
               false,
               [](Settings& s) {
                 s.em38mk2_calibration = {1.23456, -0.5, 0.25, 0.125, 3.3333, -2.2};
                 s.profile_scale_2 = {-20.0, 20.0};
               },
               [](int i, double f) {
                 devsim::Em38Mk2Reading r;
                 r.conductivity1 = 300 * f;
                 r.inphase1 = 30 * f - 15;
                 r.conductivity2 = 150 * f;
                 r.inphase2 = 6 * f;
                 r.vertical = i % 5 != 0;
                 return with_t_records(i, devsim::encode_em38mk2_record(r));
               },
               {},
               {1, 2, 3, 4}});
  c.push_back({"em38_4_calibrated",
               kEm38_4,
               false,
               [](Settings& s) {
                 Em38_4Calibration k;
                 k.conductivity_offset = {1.5, -2.25, 3.125, 0.5};
                 k.inphase_offset = {0.75, 0.125, -0.5, 0.25};
                 k.carrier_offset = {0.5, 0, 0, 0};
                 set_em38_4_calibration(s.em38_4, k);
                 s.profile_scale_1 = {0.0, 300.0};
                 s.profile_scale_2 = {0.0, 6.0};
               },
               [](int i, double f) {
                 devsim::Em38_4Reading r;
                 r.conductivity = {200 * f, 180 * f, 120 * f, 150 * f};
                 r.inphase = {5 * f, 4 * f, 3 * f, 2 * f};
                 return with_t_records(i, devsim::encode_em38_4_record(r));
               },
               {},
               {1, 2, 3, 4, 5, 6, 7, 8}});
  c.push_back({"em61mk2_normalised_nulled",
               kEm61Mk2,
               false,
               [](Settings& s) {
                 s.channel_null_values = {12.3456, -3.217, 0.5, 1.0};
                 s.profile_scale_1 = {0.0, 600.0};
               },
               [](int i, double f) {
                 devsim::Em61Reading r;
                 r.letter = em61_letter(i, "MNPQJKjk");
                 r.channels = {900 * f, 500 * f, 250 * f, 90 * f};
                 r.current = 3000 + (i * 37) % 400;  // the mean of the ring differs from each current
                 return devsim::encode_em61_record(r);
               },
               {},
               {1, 2, 3, 4},
               false,
               true});
  c.push_back({"em61mk2_without_normalisation",
               kEm61Mk2,
               false,
               [](Settings& s) {
                 s.normalisation_size = 0;
                 s.profile_scale_1 = {0.0, 1500.0};
               },
               [](int i, double f) {
                 devsim::Em61Reading r;
                 r.letter = em61_letter(i, "MNPQ");
                 r.channels = {900 * f, 500 * f, 250 * f, 90 * f};
                 r.current = 3000 + (i * 37) % 400;
                 return devsim::encode_em61_record(r);
               },
               {},
               {1, 2, 3, 4}});
  c.push_back({"em61lx2_two_coils",
               kEm61Lx2,
               true,
               [](Settings& s) {
                 s.number_of_sensors = 1;
                 s.left_coil_filter_factor = 352.8;
                 s.right_coil_filter_factor = 250.0;
                 s.channel_null_values = {4.25, 1.5, -2.0, 0.75};
                 s.profile_scale_1 = {0.0, 800.0};
               },
               [](int i, double f) {
                 devsim::Em61Reading r;
                 r.letter = em61_letter(i, "MNPQ");
                 r.unit = devsim::kEm61Lx2Unit;
                 r.channels = {1000 * f, 400 * f, 700 * (1 - f), 250 * f};
                 return devsim::encode_em61_record(r);
               },
               {2, 5},
               {1, 2, 3, 4, 5, 6}});
  c.push_back({"grad601_two_sensors",
               kGrad601,
               true,
               [](Settings& s) {
                 s.number_of_sensors = 1;
                 s.profile_scale_1 = {-50.0, 50.0};
               },
               [](int, double f) {
                 return devsim::encode_grad601_line({100 * f - 50, 60 - 100 * f, 2});
               },
               {},
               {1}});
  c.push_back({"cs21_both_coil_groups",
               kCs21,
               false,
               [](Settings& s) {
                 s.profile_scale_2 = {-30.0, 30.0};
               },
               [](int i, double f) {
                 devsim::Cs21Reading r;
                 r.time_of_day = 36000 + i;
                 r.hcp_conductivity = 300 * f;
                 r.hcp_inphase = 40 * f - 20;
                 r.prp_conductivity = 200 * f;
                 r.prp_inphase = 10 - 30 * f;
                 const std::string line = devsim::encode_cs21_line(r);
                 return i % 2 ? as_pdlm2(line) : line;
               },
               {},
               {1, 2, 3, 4, 5, 6, 7, 8}});
  return c;
}

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", v == 0.0 ? 0.0 : v);
  return text;
}

struct Shown {
  std::vector<double> channels;
};

// The live survey: handlers, writer and painter as the program runs them.
struct LiveSurvey {
  const Case& c;
  Settings s;
  Variant v;
  MemorySink sink;
  DataFileWriter writer;
  SurveyRecord survey;
  FixContext fix_context;
  DecodeContext decode;
  ReadingContext t_context;
  InstrumentContext instrument_context;
  InstrumentSurveyState state;
  LiveMap live;
  RasterTiles tiles{kTile, kTile};
  std::vector<Shown> logged;
  Em34StationGroup group;
  std::uint32_t tick = 1000;
  int readings = 0;
  int logging_fixes = 0;

  LiveSurvey(const Case& k, int view) : c(k), v{k.type, kRealTimeMap}, writer(sink, v) {
    c.set_up(s);
    select_channel(s, c.type, view);
    sink.open(L"f");
    survey.state = kStateMonitoring;
    survey.survey_mode = s.survey_mode;
    if (c.manual) {
      group.size = 3;
      t_context.station_group = &group;
      survey.manual_gps_y_offsets = {5.0, 10.0, 20.0};
    }
    fix_context = fix_context_from_settings(s, c.type);
    state.current_ring = make_current_ring(normalisation_size(s, c.type));
    decode = decode_context_from_settings(s, c.type, c.manual, ring_enabled(state.current_ring));
    live.map = map_state_from_settings(s, kTile, kTile + 2);
    HeaderFields h = survey_header_fields(s, c.type, survey);
    h.file_name = "LIVE";
    writer.write_header(h, false);
    writer.write_line_block(current_line_block(survey, s), LocalTime{}, tick);
  }

  void reading(double e, double n) {
    const RecordBytes r = framed(c.type, c.wire(readings++, field(e, n)), c.two_coils, c.second_mode);
    ASSERT_GT(r.length, 0u);
    ++tick;
    if (c.type == kEm31Mk2 || c.type == kEm38 || c.type == kEm34_3) {
      const ReadingOutcome o = handle_t_reading(survey, t_context, decode, r.view(), tick);
      if (o.held) logged.push_back({{o.first_value}});
      if (o.group_full) {  // the operator confirms the station
        const ConfirmedStation station = confirm_station_group(survey, group);
        writer.write_readings(station.inputs());
        map_confirmed_station(survey, decode, station);
      }
      if (!o.logged) return;
      writer.write_reading(o.reading_input());
      logged.push_back(
          {std::vector<double>(o.meaning.channels.begin(), o.meaning.channels.begin() + o.meaning.channel_count)});
    } else {
      const InstrumentOutcome o = handle_instrument_reading(survey, state, instrument_context, decode, r, tick);
      if (!o.logged) return;
      writer.write_reading(o.reading_input());
      logged.push_back({std::vector<double>(o.channels.begin(), o.channels.begin() + o.channel_count)});
    }
  }

  void fix(double e, double n, double seconds) {
    const double lat = 48.0 + n / 111200.0, lon = 11.0 + e / 74400.0;
    const FixOutcome o = handle_gps_fix(survey, fix_context, gga(lat, lon, seconds));
    ASSERT_TRUE(o.usable);
    if (survey.state == kStateLogging) ++logging_fixes;
    MapFixContext mc = map_fix_context(s, decode, survey);
    mc.swath_closings = writer.swath_closings();
    const MapFixResult r = map_fix(live, tiles, survey, mc, o, true);
    write_footprint_records(writer, r.paint);
  }

  // The pixels of the live tiles that the re-plot of the file paints
  // otherwise, and the coloured ones.
  std::pair<long, long> compare_with_replot() {
    RasterTiles again(kTile, kTile);
    MapState map = live.map;
    redraw(map, again);
    long differing = 0, coloured = 0;
    const Raster white(kTile, kTile);
    tiles.for_each(kDataLayer, [&](int tx, int ty, Canvas&) {
      const Raster& painted = *tiles.raster(kDataLayer, tx, ty);
      const Raster* replotted = again.raster(kDataLayer, tx, ty);
      for (std::size_t i = 0; i < painted.rgb.size(); ++i) {
        differing += painted.rgb[i] != (replotted ? replotted->rgb[i] : white.rgb[i]);
        coloured += painted.rgb[i] != 255;
      }
    });
    return {differing, coloured};
  }

  // The readings scale dialog's new limits (half the range of each
  // component), then a whole-map redraw as after a zoom.
  void rescale() {
    for (auto* scale : {&s.profile_scale_1, &s.profile_scale_2}) (*scale)[1] = ((*scale)[0] + (*scale)[1]) / 2;
    set_mapped_view(decode, s);
    redraw(live.map, tiles);
  }

  void redraw(MapState& map, TileSurface& surface) {
    map.grid = grid_from_settings(s, map.frame.pixels_per_unit);
    prepare_whole_map(map, surface);
    BytesReader reader(sink.file(L"f"));
    const std::optional<DecodeContext> from_file = file_decode_context(reader, s);
    ASSERT_TRUE(from_file);
    replot_survey(reader, record_length(v), replot_style(*from_file, s), map, surface);
  }

  // Three lines of 30 m walked east and west 2 m apart, three readings a
  // fix; on the first and third line the sensor stands still for five
  // fixes, on the second the GPS breaks for four fixes, before the third the
  // readings scale changes.
  void walk() {
    double t = 30000.0;
    fix(0, 0, t);
    survey.state = kStateLogging;
    survey.start_tick = 0;
    writer.write_remark("$STARTED", 'X', tick);
    for (int line = 0; line < 3; ++line) {
      if (line == 2) {
        EXPECT_EQ(compare_with_replot().first, 0) << "before the readings scale changes";
        rescale();
      }
      for (int i = 0; i <= 30; ++i) {
        const double e = line % 2 == 0 ? i : 30 - i, n = 2.0 * line;
        for (int still = 0; still < ((line == 0 || line == 2) && i == 9 ? 5 : 1); ++still) {
          if (i > 0 || line > 0)
            for (int k = 0; k < 3; ++k) reading(e + 0.3 * k + 0.4 * still, n);  // each reading its own value
          t += 1.0;
          if (line == 1 && i == 12) writer.write_remark(kGpsBreakRemark, 'X', ++tick);
          if (line == 1 && i >= 12 && i < 16) continue;  // no fix reaches the handler
          fix(e, n, t);
        }
      }
    }
  }
};

class LiveAndReplot : public ::testing::TestWithParam<Case> {};

TEST_P(LiveAndReplot, ReplotPaintsTheLivePixelsOfEveryViewAndExportGivesTheShownNumbers) {
  const Case& c = GetParam();
  for (int view : c.views) {
    SCOPED_TRACE("colour view " + std::to_string(view));
    LiveSurvey live(c, view);
    live.walk();
    ASSERT_GT(live.logged.size(), 120u);
    const auto [differing, coloured] = live.compare_with_replot();
    EXPECT_EQ(differing, 0);
    EXPECT_GT(coloured, 3000);
  }
  LiveSurvey live(c, c.views.front());
  live.walk();
  const std::string& file = live.sink.file(L"f");
  if (c.manual) {
    // A spacing's footprint only at a fix that follows readings of it: a
    // station every other fix gives three groups, the fix between none.
    const std::size_t L = static_cast<std::size_t>(record_length(live.v));
    int groups = 0;
    for (std::size_t at = 0; at + L <= file.size(); at += L)
      groups += file[at] == '{' && (file[at + 1] == 'a' || file[at + 1] == 'e' || file[at + 1] == 'i');
    EXPECT_GT(groups, live.logging_fixes / 2);
    EXPECT_LT(groups, 2 * live.logging_fixes);

    // The positions view: each separation's marks with its own pen, the
    // colour of profile trace 1, 2 or 3; the re-plot draws them alike.
    LiveSurvey positions(c, 0);
    positions.walk();
    EXPECT_EQ(positions.compare_with_replot().first, 0);
    const KindColours colours = position_mark_colours(positions.s.map.position_colour, positions.s.trace_colours, true);
    std::array<long, kFootprintKinds> marks{};
    positions.tiles.for_each(kDataLayer, [&](int tx, int ty, Canvas&) {
      const Raster& r = *positions.tiles.raster(kDataLayer, tx, ty);
      for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
          for (std::size_t k = 0; k < marks.size(); ++k) marks[k] += r.at(x, y) == colours[k];
    });
    for (std::size_t k = 0; k < marks.size(); ++k) {
      EXPECT_EQ(colours[k], colour_from_colorref(positions.s.trace_colours[k + 1])) << k;
      EXPECT_GT(marks[k], 100) << "separation " << k;
    }
    // every other survey: the one position colour of the map options
    for (const PaletteColour& one : position_mark_colours(0x123456, positions.s.trace_colours, false))
      EXPECT_EQ(one, colour_from_colorref(0x123456));
  }

  // The export: one row per written reading, holding every number shown.
  const ExportTableResult exported = build_export_table(file, ExportOptions{});
  ASSERT_TRUE(exported.error.empty()) << exported.error;
  ASSERT_TRUE(exported.table);
  const ExportTable& table = *exported.table;
  ASSERT_EQ(table.rows.size(), live.logged.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const std::vector<std::string>& cells = table.rows[r].values;
    const std::vector<double>& shown = live.logged[r].channels;
    for (std::size_t ch = 0; ch < shown.size(); ++ch) {
      if (std::find(c.not_exported.begin(), c.not_exported.end(), static_cast<int>(ch)) != c.not_exported.end())
        continue;
      EXPECT_NE(std::find(cells.begin(), cells.end(), number(shown[ch])), cells.end())
          << "row " << r << " channel " << ch + 1 << " shown " << number(shown[ch]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryInstrument, LiveAndReplot, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace quelor
