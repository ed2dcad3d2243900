// Simulated instrument streams through the program's framers and decoders
// give back the simulated values within the instrument's resolution.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "devsim/binary_record.h"
#include "devsim/em31_record.h"
#include "devsim/instrument_kind.h"
#include "devsim/instrument_model.h"
#include "devsim/line_record.h"
#include "devsim/readings.h"
#include "devsim/tilt_model.h"
#include "variant/variant.h"
#include "serial/current_ring.h"
#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

using testing::frame_stream;
using testing::test_plan;
using testing::test_site;
using testing::walk_points;

constexpr double kWord = 8.0 * 5.0 / 1024.0;  // one count of an EM38-family word

class InstrumentRoundTrip : public ::testing::Test {
 protected:
  WalkPlan plan = test_plan();
  Site site = test_site(plan);
  std::vector<WalkPoint> points = walk_points(plan, 0.7);
  Rng rng{12345};
  InstrumentSetup setup{};
};

TEST_F(InstrumentRoundTrip, Em31Mk2BothDipolesAllRanges) {
  for (bool vertical : {true, false}) {
    setup.vertical = vertical;
    std::vector<devsim::Em31Reading> sent;
    std::string stream = "12\r3T";  // joined in the middle of a record
    for (std::size_t i = 0; i < points.size(); ++i) {
      devsim::Em31Reading r = em31_reading(site, points[i], setup, &rng);
      r.range = std::array{kAutoRange, 10, 100, 1000}[i % 4];
      if (r.range == 10) r.conductivity = std::fmod(r.conductivity, 20.0);  // stay on scale
      r.marker = i % 7 == 3;
      sent.push_back(r);
      stream += encode_em31_record(r);
    }
    const auto records = frame_stream(kEm31Mk2, {}, stream);
    ASSERT_EQ(records.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      const quelor::Em31Reading d = decode_em31_mk2(records[i].view(), {});
      const int range = em31_range_for(sent[i].conductivity, sent[i].range);
      EXPECT_EQ(d.range, range);
      EXPECT_EQ(d.dipole, vertical ? 'V' : 'H');
      EXPECT_EQ(d.marker, sent[i].marker);
      EXPECT_EQ(d.mode, sent[i].marker ? 'M' : 'N');
      const int cond_slot = vertical ? 0 : 1, inph_slot = vertical ? 2 : 3;
      ASSERT_TRUE(d.slots.present[cond_slot] && d.slots.present[inph_slot]);
      EXPECT_NEAR(d.slots.value[cond_slot], sent[i].conductivity, range * 0.00025 / 2 + 1e-9);
      EXPECT_NEAR(d.slots.value[inph_slot], sent[i].inphase, 0.0025 / 2 + 1e-9);
    }
  }
}

TEST_F(InstrumentRoundTrip, Em38BothLengthsAlternateConductivityAndInphase) {
  for (int length : {7, 12}) {
    std::vector<devsim::Em38Reading> sent;
    std::string stream;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const devsim::Em31Reading v = em38_values(site, points[i], setup, &rng);
      devsim::Em38Reading r;
      r.inphase = i % 2 == 1;
      r.value = r.inphase ? v.inphase : v.conductivity;
      if (i % 5 == 4) r.value = std::clamp(r.value * 9, -280.0, 280.0);  // a coarser scale
      r.vertical = i % 3 != 0;
      r.length = length;
      sent.push_back(r);
      stream += encode_em38_record(r);
    }
    const auto records = frame_stream(kEm38, {.record_length = length}, stream);
    ASSERT_EQ(records.size(), sent.size()) << "length " << length;
    for (std::size_t i = 0; i < sent.size(); ++i) {
      ASSERT_EQ(records[i].length, static_cast<std::size_t>(length));
      const quelor::Em31Reading d = decode_em38(records[i].view(), {});
      const int slot = (sent[i].inphase ? 2 : 0) + (sent[i].vertical ? 0 : 1);
      ASSERT_TRUE(d.slots.present[slot]) << i;
      EXPECT_EQ(d.inphase_record, sent[i].inphase);
      EXPECT_NEAR(d.slots.value[slot], sent[i].value, em38_resolution(sent[i].value, sent[i].inphase) / 2 + 1e-9);
    }
  }
}

TEST_F(InstrumentRoundTrip, Em34_3EverySpacingAndDipole) {
  for (int spacing : {10, 20, 40}) {
    for (bool horizontal : {false, true}) {
      std::vector<devsim::Em34Reading> sent;
      std::string stream;
      for (std::size_t i = 0; i < points.size(); ++i) {
        setup.em34_spacing = spacing;
        setup.vertical = !horizontal;
        devsim::Em34Reading r = em34_reading(site, points[i], setup, &rng);
        r.range = std::array{kAutoRange, 3, 10, 30, 100, 300, 1000}[i % 7];
        if (r.range != kAutoRange) r.conductivity = std::fmod(r.conductivity, r.range * 2.4);
        sent.push_back(r);
        stream += encode_em34_record(r);
      }
      const auto records = frame_stream(kEm34_3, {}, stream);
      ASSERT_EQ(records.size(), sent.size());
      const int slot = (horizontal ? 3 : 0) + (spacing == 10 ? 0 : spacing == 20 ? 1 : 2);
      for (std::size_t i = 0; i < sent.size(); ++i) {
        const quelor::Em31Reading d = decode_em34_3(records[i].view(), {});
        const int range = em34_range_for(sent[i].conductivity, sent[i].range);
        EXPECT_EQ(d.dipole_code, slot);
        EXPECT_EQ(d.range, range) << "record " << i << " spacing " << spacing;
        ASSERT_TRUE(d.slots.present[slot]);
        EXPECT_NEAR(d.slots.value[slot], sent[i].conductivity, range * 0.00025 / 2 + 1e-9);
      }
    }
  }
}

TEST_F(InstrumentRoundTrip, Em38Mk2BothCoilsAndExtras) {
  std::vector<devsim::Em38Mk2Reading> sent;
  std::string stream = "\xFF\xFF\x01T";
  for (std::size_t i = 0; i < points.size(); ++i) {
    setup.vertical = i % 4 != 1;
    devsim::Em38Mk2Reading r = em38mk2_reading(site, points[i], setup, &rng);
    r.marker = i % 9 == 2;
    r.extra1 = static_cast<std::uint16_t>(200 + i);
    r.extra2 = static_cast<std::uint16_t>(0x12FF);  // low byte 0xFF: kept clear of the terminator
    sent.push_back(r);
    stream += encode_em38mk2_record(r);
  }
  const auto records = frame_stream(kEm38Mk2, {}, stream);
  ASSERT_EQ(records.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const quelor::Em38Mk2Reading d = decode_em38_mk2(records[i].view(), {}, false);
    const int base = sent[i].vertical ? 0 : 1;
    EXPECT_EQ(d.dipole, sent[i].vertical ? 'V' : 'H');
    EXPECT_EQ(d.mode, sent[i].marker ? 'M' : 'N');
    EXPECT_NEAR(d.slots.value[base + 0], sent[i].conductivity1, kWord / 2 + 1e-9);
    EXPECT_NEAR(d.slots.value[base + 2], sent[i].inphase1, kWord * kEm38Mk2InphaseFactor1 / 2 + 1e-9);
    EXPECT_NEAR(d.slots.value[base + 4], sent[i].conductivity2, kWord / 2 + 1e-9);
    EXPECT_NEAR(d.slots.value[base + 6], sent[i].inphase2, kWord * kEm38Mk2InphaseFactor2 / 2 + 1e-9);
    EXPECT_EQ(d.raw[0], sent[i].extra1);
    EXPECT_EQ(d.raw[1], 0x12FE);
  }
}

TEST_F(InstrumentRoundTrip, Em38_4FourCoilPairsAndAuxiliaryValues) {
  std::vector<devsim::Em38_4Reading> sent;
  std::string stream;
  for (std::size_t i = 0; i < points.size(); ++i) {
    devsim::Em38_4Reading r = em38_4_reading(site, points[i], setup, &rng);
    r.marker = i % 6 == 0;
    r.temperature = {15.0 + 0.1 * static_cast<double>(i), 20.0};
    sent.push_back(r);
    stream += encode_em38_4_record(r);
  }
  const auto records = frame_stream(kEm38_4, {}, stream);
  ASSERT_EQ(records.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const quelor::Em38_4Reading d = decode_em38_4(records[i].view(), {}, false);
    EXPECT_EQ(d.mode, sent[i].marker ? 'M' : 'N');
    for (std::size_t c = 0; c < 4; ++c) {
      EXPECT_NEAR(d.slots[2 * c], sent[i].conductivity[c], kWord / 2 + 1e-9) << "pair " << c;
      EXPECT_NEAR(d.slots[2 * c + 1], sent[i].inphase[c], kWord * kEm38_4InphaseFactors[c] / 2 + 1e-9);
    }
    EXPECT_NEAR(d.extra[0], sent[i].supply[0], 0.66667 / 2 + 1e-6);
    EXPECT_NEAR(d.extra[1], sent[i].supply[1], 0.66667 / 2 + 1e-6);
    EXPECT_NEAR(d.extra[2], sent[i].temperature[0], 1 / 3.1 / 2 + 1e-6);
    EXPECT_NEAR(d.extra[3], sent[i].temperature[1], 1 / 3.1 / 2 + 1e-6);
  }
}

TEST_F(InstrumentRoundTrip, Em61Mk2GateNormalisedMillivoltsForEveryLetterAndCoil) {
  for (bool high_power : {false, true}) {
    for (char letter : {'T', 'D', 'E', 'F', 'M', 'N', 'P', 'Q'}) {
      std::vector<std::array<double, 4>> sent;
      std::string stream;
      for (std::size_t i = 0; i < points.size(); ++i) {
        devsim::Em61Reading r = em61mk2_reading(site, points[i], setup, &rng);
        if (i % 10 == 5) r.channels[0] = 2500;  // a range factor of 10
        sent.push_back(r.channels);
        const auto weights = em61_gate_weights(letter, high_power);
        for (std::size_t c = 0; c < 4; ++c) r.channels[c] *= weights[c];
        r.letter = letter;
        r.current = high_power ? 2120 : 3141;
        stream += encode_em61_record(r);
      }
      const auto records = frame_stream(kEm61Mk2, {}, stream);
      ASSERT_EQ(records.size(), sent.size()) << letter;
      Em61Mk2Options options;
      options.coil_type = high_power ? kCoilHighPower : kCoilStandard;
      CurrentRing ring = make_current_ring(0);
      for (std::size_t i = 0; i < sent.size(); ++i) {
        RecordBytes record = records[i];
        const std::array<int, 4> range = em61_range_factors(record.bytes[1]);
        const quelor::Em61Reading d = decode_em61_mk2(record, options, ring, {});
        EXPECT_EQ(d.letter, letter);
        for (std::size_t c = 0; c < 4; ++c) {
          const double resolution = kEm61Mk2Unit / range[c] / d.gates.factors[c];
          EXPECT_NEAR(d.channels[c], sent[i][c], resolution / 2 + 1e-9) << letter << " channel " << c;
        }
        EXPECT_NEAR(d.current, high_power ? 1840 : 3000, 1.0);
      }
    }
  }
}

TEST_F(InstrumentRoundTrip, Em61Lx2OneAndTwoCoils) {
  for (int sensors : {1, 2}) {
    setup.sensors = sensors;
    std::vector<std::array<double, 4>> sent;
    std::string stream;
    for (std::size_t i = 0; i < points.size(); ++i) {
      devsim::Em61Reading r = em61lx2_reading(site, points[i], setup, &rng);
      r.letter = i % 8 == 7 ? 'M' : 'T';
      r.current = 3171;
      sent.push_back(r.channels);
      stream += encode_em61_record(r);
    }
    const auto records = frame_stream(kEm61Lx2, {.two_coils = sensors == 2}, stream);
    ASSERT_EQ(records.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      RecordBytes record = records[i];
      const std::array<int, 4> range = em61_range_factors(record.bytes[1]);
      const quelor::Em61Reading d = decode_em61_lx2(record, sensors == 2, {});
      ASSERT_EQ(d.channel_count, sensors == 2 ? 4 : 2);
      for (int c = 0; c < d.channel_count; ++c)
        EXPECT_NEAR(d.channels[c], sent[i][c], kEm61Lx2Unit / range[c] / 2 + 1e-9);
    }
  }
}

TEST_F(InstrumentRoundTrip, Grad601OneAndTwoSensors) {
  for (int sensors : {1, 2}) {
    setup.sensors = sensors;
    std::vector<GradReading> sent;
    std::string stream = "PBAR,1.0\r\n";  // a line without its "$" is not a record
    for (const WalkPoint& w : points) {
      sent.push_back(grad601_reading(site, w, setup, &rng));
      stream += encode_grad601_line(sent.back());
    }
    const auto records = frame_stream(kGrad601, {}, stream);
    ASSERT_EQ(records.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      const Grad601Reading d = decode_grad601(records[i].text(), sensors == 2);
      ASSERT_TRUE(d.values[0].has_value());
      EXPECT_NEAR(*d.values[0], sent[i].sensor1, grad601_resolution(sent[i].sensor1) / 2 + 1e-9);
      if (sensors == 2) {
        ASSERT_TRUE(d.values[1].has_value());
        EXPECT_NEAR(*d.values[1], sent[i].sensor2, grad601_resolution(sent[i].sensor2) / 2 + 1e-9);
      }
    }
  }
}

TEST_F(InstrumentRoundTrip, Cs21FourValuesAndItsFlag) {
  std::vector<devsim::Cs21Reading> sent;
  std::string stream;
  for (std::size_t i = 0; i < points.size(); ++i) {
    devsim::Cs21Reading r = cs21_reading(site, points[i], setup, &rng, 1 + static_cast<int>(i % 2));
    r.time_of_day = 36000 + 0.1 * static_cast<double>(i);
    sent.push_back(r);
    stream += encode_cs21_line(r);
  }
  const auto records = frame_stream(kCs21, {}, stream);
  ASSERT_EQ(records.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const quelor::Cs21Reading d = decode_cs21(records[i].text());
    EXPECT_EQ(d.flag, sent[i].group == 2 ? '2' : '1');
    const std::array<double, 4> expected{sent[i].hcp_conductivity, sent[i].hcp_inphase, sent[i].prp_conductivity,
                                         sent[i].prp_inphase};
    for (std::size_t v = 0; v < 4; ++v) {
      ASSERT_TRUE(d.values[v].has_value()) << "value " << v;
      EXPECT_NEAR(*d.values[v], expected[v], 0.0005 + 1e-9);
    }
  }
}

// The simulated CS-21 sends its $PDLM1 (1 m, 1.1 m coils) and $PDLM2 (2 m,
// 2.1 m coils) lines in turn, each group's values from its own coils.
TEST_F(InstrumentRoundTrip, Cs21SendsBothCoilGroupsInTurn) {
  InstrumentConfig config;
  config.kind = *find_instrument_kind("cs21");
  config.setup.noise = 0;
  InstrumentState state = initial_instrument_state(config);
  std::string stream;
  for (int i = 0; i < 6; ++i) stream += next_instrument_record(config, state, site, points[0], 36000, &rng);
  const auto records = frame_stream(kCs21, {}, stream);
  ASSERT_EQ(records.size(), 6u);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const quelor::Cs21Reading d = decode_cs21(records[i].text());
    const int group = i % 2 == 0 ? 1 : 2;
    EXPECT_EQ(d.flag, static_cast<char>('0' + group)) << i;
    const devsim::Cs21Reading truth = cs21_reading(site, points[0], config.setup, nullptr, group);
    ASSERT_TRUE(d.values[0].has_value());
    EXPECT_NEAR(*d.values[0], truth.hcp_conductivity, 0.0005 + 1e-9) << i;
  }
}

TEST_F(InstrumentRoundTrip, TiltSentencesPassTheTiltReaderAndBadOnesAreRejected) {
  std::string stream;
  std::vector<TiltReading> sent;
  for (std::size_t i = 0; i < points.size(); ++i) {
    sent.push_back(tilt_reading(points[i], 0.1 * static_cast<double>(i), &rng));
    stream += encode_tilt_sentence(sent.back(), i % 5 != 2);
  }
  auto framer = make_tilt_reader_framer();
  std::size_t good = 0, bad = 0;
  for (char c : stream) {
    const FrameStep step = frame_byte(framer, static_cast<std::uint8_t>(c), {});
    if (step.event == FrameEvent::kRecord) {
      const std::string_view text = framed_record(framer).text();
      // Roll in field 5, pitch in field 2.
      std::vector<std::string> fields(1);
      for (char ch : text.substr(0, text.find('*'))) {
        if (ch == ',')
          fields.emplace_back();
        else
          fields.back() += ch;
      }
      ASSERT_EQ(fields.size(), 5u);
      std::size_t index = good + bad;
      EXPECT_NEAR(std::stod(fields[4]), sent[index].roll, 0.005 + 1e-9);
      EXPECT_NEAR(std::stod(fields[1]), sent[index].pitch, 0.005 + 1e-9);
      ++good;
    } else if (step.event == FrameEvent::kRejected) {
      ++bad;
    }
  }
  EXPECT_EQ(bad, (points.size() + 2) / 5);
  EXPECT_EQ(good + bad, points.size());
}

}  // namespace
}  // namespace quelor::devsim
