// What the procedures read goes through the one interpretation: the record
// as the file holds it, read without the offsets the procedures find, gives
// the instrument's own values the decoders give without offsets; the EM38-4
// in-phase units reach the values from the settings and from the file.

#include <gtest/gtest.h>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "devsim/binary_record.h"
#include "procedures/em38_4_values.h"
#include "reading/procedure_reading.h"
#include "serial/instrument_framer.h"
#include "survey/survey_context.h"

namespace quelor {
namespace {

RecordBytes framed(InstrumentType type, const std::string& wire, bool two_coils = false) {
  auto framer = make_instrument_framer(type, ReaderOptions{.two_coils = two_coils});
  RecordBytes out;
  for (char c : wire)
    if (frame_byte(*framer, static_cast<std::uint8_t>(c), FrameContext{}).event == FrameEvent::kRecord)
      out = framed_record(*framer);
  return out;
}

std::string body_of(InstrumentType type, const RecordBytes& r) {
  const std::string bytes(reinterpret_cast<const char*>(r.bytes.data()), r.length);
  return written_reading_body(type, ReadingInput{bytes, 0, 0});
}

// A session with every offset set: the procedures must not see them.
Settings with_offsets() {
  Settings s;
  s.em38mk2_calibration = {1.5, -0.5, 0.25, 2.0, 3.0, -2.0};
  Em38_4Calibration k;
  k.conductivity_offset = {1.5, -2.25, 3.125, 0.5};
  k.inphase_offset = {0.75, 0.125, -0.5, 0.25};
  set_em38_4_calibration(s.em38_4, k);
  s.channel_null_values = {12.5, -3.25, 0.5, 1.0};
  s.normalisation_size = 0;
  return s;
}

// The EM38-MK2 of both dipoles and the single coil, the EM38-4 read without
// its calibration (the calibration) or with it (the drift control).
TEST(ProcedureReading, Em38FamilyOwnValuesOrCalibratedForTheDrift) {
  for (int model : {0, 1})
    for (bool vertical : {true, false}) {
      Settings s = with_offsets();
      s.em38mk2_model = model;
      const RecordBytes r = framed(kEm38Mk2, devsim::encode_em38mk2_record({120.5, 8.25, 60.0, -3.5, vertical}));
      const DecodeContext c = decode_context_from_settings(s, kEm38Mk2, false, false);
      const Em38Mk2Reading got = em38mk2_procedure_reading(interpret_reading(without_offsets(c), body_of(kEm38Mk2, r)));
      const Em38Mk2Reading want = decode_em38_mk2(r.view(), {}, model == 1);
      EXPECT_EQ(got.dipole, want.dipole);
      for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(got.slots.present[i] ? got.slots.value[i] : -1e9, want.slots.present[i] ? want.slots.value[i] : -1e9);
    }
  devsim::Em38_4Reading d;
  d.conductivity = {200, 180, 120, 150};
  d.inphase = {5, 4, 3, 2};
  const RecordBytes r = framed(kEm38_4, devsim::encode_em38_4_record(d));
  const DecodeContext c = decode_context_from_settings(with_offsets(), kEm38_4, false, false);
  for (bool own : {true, false}) {
    const Em38_4Reading got =
        em38_4_procedure_reading(interpret_reading(own ? without_offsets(c) : c, body_of(kEm38_4, r)));
    const Em38_4Reading want = decode_em38_4(r.view(), own ? Em38_4Calibration{} : c.em38_4_calibration, false);
    EXPECT_EQ(got.slots, want.slots);
    EXPECT_EQ(got.extra, want.extra);
  }
}

TEST(ProcedureReading, Em61ChannelsInTheOrderOfTheNulls) {
  struct Case {
    InstrumentType type;
    bool two_coils;
    int count;
  };
  for (const Case k : {Case{kEm61Mk2, false, 4}, Case{kEm61Lx2, false, 2}, Case{kEm61Lx2, true, 4}}) {
    Settings s = with_offsets();
    s.number_of_sensors = k.two_coils ? 1 : 0;
    devsim::Em61Reading d;
    d.unit = k.type == kEm61Lx2 ? devsim::kEm61Lx2Unit : devsim::kEm61Mk2Unit;
    d.channels = {900, -500, 250, 90};
    RecordBytes r = framed(k.type, devsim::encode_em61_record(d), k.two_coils);
    const DecodeContext c = decode_context_from_settings(s, k.type, false, false);
    RecordBytes written = r;
    CurrentRing off = make_current_ring(0);
    const Em61Reading want = k.type == kEm61Mk2 ? decode_em61_mk2(written, em61_options(c), off, {})
                                                : decode_em61_lx2(written, k.two_coils, {});
    for (bool own : {true, false}) {  // the nulling, the filter calibration
      const Em61Reading got =
          em61_procedure_reading(interpret_reading(own ? without_offsets(c) : c, body_of(k.type, written)), c);
      ASSERT_EQ(got.channel_count, k.count);
      for (std::size_t i = 0; i < static_cast<std::size_t>(k.count); ++i)
        EXPECT_NEAR(got.channels[i], want.channels[i] - (own ? 0.0 : c.nulls[i]), 1e-9) << i;
    }
  }
}

// The in-phase units "mS/m" read the in-phase words without their factors,
// live and from the file the settings wrote, and "ppt" with them.
TEST(ProcedureReading, Em38_4InphaseUnitsFromTheSettingsAndTheFile) {
  devsim::Em38_4Reading d;
  d.conductivity = {200, 180, 120, 150};
  d.inphase = {5, 4, 3, 2};
  const RecordBytes r = framed(kEm38_4, devsim::encode_em38_4_record(d));
  for (int units : {0, 1}) {
    Settings s;
    s.em38_4.inphase_units = units;
    const DecodeContext live = decode_context_from_settings(s, kEm38_4, false, false);
    MemorySink sink;
    sink.open(L"f");
    DataFileWriter writer(sink, Variant{kEm38_4, kRealTimeMap});
    writer.write_header(survey_header_fields(s, kEm38_4, SurveyRecord{}), false);
    const std::optional<DecodeContext> file = decode_context_from_file(sink.file(L"f"), s);
    ASSERT_TRUE(file);
    EXPECT_EQ(live.em38_4_raw_inphase, units == 1);
    EXPECT_EQ(file->em38_4_raw_inphase, units == 1);
    const Em38_4Reading want = decode_em38_4(r.view(), {}, units == 1);
    const ReadingMeaning from_file = interpret_reading(*file, body_of(kEm38_4, r));
    const ReadingMeaning shown = interpret_reading(live, body_of(kEm38_4, r));
    for (std::size_t i = 1; i < 8; i += 2) {
      EXPECT_DOUBLE_EQ(shown.channels[i], want.slots[i]) << i;
      EXPECT_DOUBLE_EQ(*from_file.columns[i], shown.channels[i]) << i;
    }
  }
}

}  // namespace
}  // namespace quelor
