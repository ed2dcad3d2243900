#include <gtest/gtest.h>

#include "procedures/em38_4_values.h"
#include "survey/status_cells.h"
#include "survey/status_texts.h"
#include "variant/variant.h"

namespace quelor {
namespace {

// A fixed-pitch font: 7 pixels a character.
int fixed_pitch(std::string_view text) { return 7 * static_cast<int>(text.size()); }

TEST(StatusCells, TemplatesInCellOrder) {
  const auto& t = cell_templates();
  for (int i = 0; i < kStatusCellCount; ++i) EXPECT_EQ(t[static_cast<std::size_t>(i)].cell, i);
  EXPECT_EQ(t[kCellState].text, "Monitoring (Manual)");
  EXPECT_EQ(t[kCellMapSize].text, "Map Size: 99999 meters");
  EXPECT_EQ(t[kCellStationCount].text, "# of Stns:888999");
  EXPECT_EQ(t[kCellTime].text, "Tot Time:  00:00:00");
  EXPECT_EQ(t[kCellSpeed].text, "Speed: 88.56 ft/s");
  EXPECT_EQ(t[kCellGridValue].text, "-88888888.88 USft");
}

TEST(StatusCells, WidthsFromTheMeasure) {
  StatusLayoutInput in;
  in.panel_left = 100;
  in.panel_right = 700;
  in.line_height = 16;
  const StatusLayout l = layout_status_cells(in, fixed_pitch);
  for (const CellTemplate& t : cell_templates())
    EXPECT_EQ(l.widths[static_cast<std::size_t>(t.cell)], fixed_pitch(t.text)) << t.text;
  EXPECT_EQ(l.state, (CellRect{101, 2, 101 + 7 * 19, 18}));
  EXPECT_EQ(l.activity.left, l.state.right + 15);
  EXPECT_EQ(l.activity.width(), 7 * 23);
  EXPECT_EQ(l.map_size.right, 700);
  EXPECT_EQ(l.map_size.width(), 7 * 22);
}

TEST(StatusCells, GpsRowsLandscapeAndPortrait) {
  StatusLayoutInput in;
  in.line_height = 20;
  in.gps_block_top = 300;
  in.gps_block_height = 210;
  EXPECT_EQ(gps_row_spacing(in), 20);
  in.portrait = true;
  EXPECT_EQ(gps_row_spacing(in), 20 + (210 - 100 - 10) / 5);
  const StatusLayout l = layout_status_cells(in, fixed_pitch);
  EXPECT_EQ(l.gps_row_tops[0], 300);
  EXPECT_EQ(l.gps_row_tops[4], 300 + 4 * 40);
  in.gps_block_height = 50;  // too small: rows stay one line apart
  EXPECT_EQ(gps_row_spacing(in), 20);
}

TEST(StatusTexts, MapSizeByUnits) {
  EXPECT_EQ(map_size_text(40, 0), "Map Size:   40 m");
  EXPECT_EQ(map_size_text(40, 1), "Map Size:   40 ft");
  EXPECT_EQ(map_size_text(12345, 2), "Map Size:12345 US-ft");
  EXPECT_EQ(map_size_text(7, 5), "Map Size:    7 m");
}

TEST(StatusTexts, LostConnectionNotice) {
  const auto& lines = lost_connection_lines();
  EXPECT_STREQ(lines[0], "Lost");
  EXPECT_STREQ(lines[1], "Connection,");
  EXPECT_STREQ(lines[2], "trying");
}

TEST(StatusTexts, DilutionLabels) {
  EXPECT_EQ(dilution_label(1, false), "HDOP:");
  EXPECT_EQ(dilution_label(3, false), "GDOP:");
  EXPECT_EQ(dilution_label(4, true), "GDOP:");
  EXPECT_EQ(dilution_label(7, true), "SLAM Conf.:");
  EXPECT_EQ(dilution_label(7, false), "PDOP:");
  for (int s : {0, 2, 5, 6, 8}) EXPECT_EQ(dilution_label(s, false), "PDOP:") << s;
}

TEST(StatusTexts, ScaleLabels) {
  ScaleLabels l = conductivity_scale_labels(kEm31Mk2, 0, 500);
  EXPECT_EQ(l.top, "500mS/m");
  EXPECT_EQ(l.bottom, "0mS/m");
  EXPECT_EQ(conductivity_scale_labels(kGrad601, -2.5, 2.5).top, "2.5 nT/m");
  EXPECT_EQ(conductivity_scale_labels(kEm61Mk2, 0, 100).bottom, "0.0 mV");
  EXPECT_EQ(inphase_scale_labels(kEm31Mk2, 1, -25, 25).bottom, "-25ppt");
  EXPECT_EQ(inphase_scale_labels(kEm38_4, 0, -25, 25).top, "25ppt");
  EXPECT_EQ(inphase_scale_labels(kEm38_4, 1, 0, 40).top, "40mS/m");
}

TEST(StatusTexts, InstrumentBlock) {
  Settings s;
  EXPECT_EQ(instrument_block_rows(s, kEm31Mk2, false, 0, 'V'),
            (std::vector<std::string>{"Instrument", "Disabled", "GXY Mode"}));
  s.dipole_mode = 1;
  s.component = 1;
  EXPECT_EQ(instrument_block_rows(s, kEm31Mk2, true, 0, 'V'),
            (std::vector<std::string>{"Selected for file :", "Dipole: Horiz.", "Component: Inph."}));
  s.component = 0;
  s.dipole_mode = 0;
  EXPECT_EQ(instrument_block_rows(s, kEm31Mk2, true, 0, 'V')[2], "Component: Both");
  EXPECT_EQ(instrument_block_rows(s, kEm38, true, 0, 'V'),
            (std::vector<std::string>{"Selected for file :", "Dipole: Vertical", "Comp.: Cond."}));
  EXPECT_EQ(instrument_block_rows(s, kEm34_3, true, 20, 'H'),
            (std::vector<std::string>{"Selected for file :", "Dipole: Horiz.", "Sep:    20 m"}));
  s.survey_mode = kModeManual;
  s.dipole_mode = 2;
  EXPECT_EQ(instrument_block_rows(s, kEm34_3, true, 0, 'V'),
            (std::vector<std::string>{"Survey: Manual", "   3  Readings"}));
}

// The instrument block of every instrument with its default settings.
TEST(StatusTexts, InstrumentBlockOfEveryInstrument) {
  using Rows = std::vector<std::string>;
  const struct {
    InstrumentType type;
    Rows rows;
  } table[] = {
      {kEm31Mk2, {"Selected for file :", "Dipole: Vertical", "Component: Both"}},
      {kEm38, {"Selected for file :", "Dipole: Vertical", "Comp.: Cond."}},
      {kEm34_3, {"Selected for file :", "Dipole: Vertical", "Sep:    10 m"}},
      {kEm38Mk2, {"Selected for file :", "Dipole: Vertical"}},
      {kEm61Mk2, {"Mode: ", "Battery: ", "Current: "}},
      {kEm61Lx2, {"Battery: ", "Current: "}},
      {kEm38_4, {}},
      {kCs21, {}},
      {kGrad601, {}},
  };
  EXPECT_EQ(std::size(table), variant_table().size());
  for (const auto& row : table) {
    Settings s;
    EXPECT_EQ(instrument_block_rows(s, row.type, true, 10, 'V'), row.rows) << row.type;
    EXPECT_EQ(instrument_block_rows(s, row.type, false, 10, 'V'), (Rows{"Instrument", "Disabled", "GXY Mode"}))
        << row.type;
    // a panel under 301 pixels: only the EM61-LX2 shortens its labels
    const Rows narrow = instrument_block_rows(s, row.type, true, 10, 'V', true);
    EXPECT_EQ(narrow, (row.type == kEm61Lx2 ? Rows{"B:", "T:"} : row.rows)) << row.type;
  }
}

// Every instrument's top row: only the EM38-4 shows a calibration state,
// the one its settings hold from the survey's start on.
TEST(StatusTexts, CalibrationStateOfTheSettingsInEveryInstrument) {
  Em38_4Calibration calibrated;
  calibrated.conductivity_offset[1] = 2.5;
  Em38_4Calibration with_offsets = calibrated;
  with_offsets.carrier_offset[3] = -0.5;
  const struct {
    const Em38_4Calibration* calibration;
    const char* text;
  } states[] = {{nullptr, "Calib: OFF"}, {&calibrated, "Calib: ON"}, {&with_offsets, "Calib/Offset: ON"}};
  for (const auto& state : states)
    for (const VariantRow& row : variant_table()) {
      Settings s;
      if (state.calibration) set_em38_4_calibration(s.em38_4, *state.calibration);
      SurveyRecord r;
      r.state = kStateMonitoring;
      StatusInput in;
      in.instrument_type = row.instrument_type;
      EXPECT_EQ(status_texts(s, r, in).calibration, row.instrument_type == kEm38_4 ? state.text : "")
          << row.instrument << " " << state.text;
    }
}

TEST(StatusTexts, GpsDisabledShowsOnlyGpsDisabledAndNoSpeedRow) {
  Settings s;
  s.gps_enabled = 0;
  SurveyRecord r;
  r.state = kStateMonitoring;
  StatusInput in;
  in.gps_used = false;
  const StatusTexts t = status_texts(s, r, in);
  EXPECT_TRUE(t.gps.disabled);
  EXPECT_TRUE(t.gps.positions_label.empty());
  EXPECT_FALSE(t.speed_row);
  EXPECT_TRUE(t.speed.empty());
  EXPECT_TRUE(t.map_size.empty());
}

TEST(StatusTexts, WholePanelWhileLogging) {
  Settings s;
  s.map_units = 1;
  s.map.map_size = 250;
  s.coordinates_display = 2;
  SurveyRecord r;
  r.state = kStateLogging;
  r.survey_mode = kModeWheel;
  r.file_open = true;
  r.file_name = "250307_002";
  r.line_name = "4.00";
  r.station = 12.5;
  r.readings_in_survey = 321;
  r.gps_position_count = 17;
  r.earlier_logging_ms = 61000;
  r.start_tick = 1000;
  r.speed = 1.26;
  StatusInput in;
  in.now = 3000;
  const StatusTexts t = status_texts(s, r, in);
  EXPECT_EQ(t.map_size, "Map Size:  250 ft");
  EXPECT_EQ(t.state, "Logging (Wheel)");
  EXPECT_EQ(t.line, "4.00");
  EXPECT_EQ(t.station, "12.50      ");
  EXPECT_EQ(t.file, "File: 250307_002");
  EXPECT_EQ(t.stations, "321    ");
  EXPECT_EQ(t.time, "00:01:03");
  EXPECT_TRUE(t.speed_row);
  EXPECT_EQ(t.speed, " 0.38 m/s");  // 1.26 ft/s in the speed bar's m/s
  EXPECT_EQ(t.speed_maximum, "5.0");
  EXPECT_EQ(t.gps.positions, "17    ");
  in.review_map_size = 42;  // zoomed out once in review
  EXPECT_EQ(status_texts(s, r, in).map_size, "Map Size:   42 ft");
  EXPECT_EQ(t.gps.dilution_label, "HDOP:");
  EXPECT_EQ(t.gps.dilution, "N/A");
  EXPECT_EQ(t.gps.satellites_label, "Sat:");
  EXPECT_EQ(t.gps.first_label, "E:");
  EXPECT_EQ(t.gps.height_label, "Z:");
}

TEST(StatusTexts, FileCellInMonitoringIsBlank) {
  Settings s;
  SurveyRecord r;
  r.state = kStateMonitoring;
  r.file_name = "old";
  const StatusTexts t = status_texts(s, r, {});
  EXPECT_EQ(t.file.substr(0, 5), "File:");
  EXPECT_EQ(t.file.find_first_not_of(' ', 5), std::string::npos);
  EXPECT_EQ(t.gps.first_label, "Lon:");
  EXPECT_TRUE(t.gps.height_label.empty());
  s.gps_sentence = 8;
  EXPECT_TRUE(status_texts(s, r, {}).gps.satellites_label.empty());
  EXPECT_EQ(status_texts(s, r, {}).gps.first_label, "E:");
}

// A total station's grid sentences: "RTS" where the satellites would be, and
// the SLAM confidence as the dilution label of the SLAM input.
TEST(StatusTexts, TotalStationRowsBySentence) {
  Settings s;
  SurveyRecord r;
  const struct {
    int sentence;
    bool slam;
    const char* satellites;
    const char* quality;
    const char* dilution;
  } rows[] = {{1, false, "Sat:", "", "HDOP:"},
              {7, false, "", "RTS", "PDOP:"},
              {7, true, "", "RTS", "SLAM Conf.:"},
              {8, false, "", "RTS", "PDOP:"}};
  for (const auto& row : rows) {
    s.gps_sentence = row.sentence;
    StatusInput in;
    in.slam = row.slam;
    const GpsBlockTexts g = status_texts(s, r, in).gps;
    EXPECT_EQ(g.satellites_label, row.satellites) << row.sentence;
    EXPECT_EQ(g.quality_label, row.quality) << row.sentence;
    EXPECT_EQ(g.dilution_label, row.dilution) << row.sentence << row.slam;
  }
}

}  // namespace
}  // namespace quelor
