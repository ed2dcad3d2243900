#include <gtest/gtest.h>

#include "variant/instrument.h"

#include "serial/instrument_framer.h"
#include "variant/variant.h"
#include "wire.h"

namespace quelor {
namespace {

using test::Bytes;
using test::bytes_of;
using test::feed_all;
using test::records_only;
using test::operator+;

InstrumentFramer framer_for(InstrumentType type, ReaderOptions o = {}) { return *make_instrument_framer(type, o); }

TEST(TFramer, RecordIsTwelveBytesFromTheT) {
  InstrumentFramer f = framer_for(kEm31Mk2);
  const Bytes wire = test::em31_wire(0x20, "01234", "00567");
  const auto out = records_only(feed_all(f, wire));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].record.text(), std::string_view("T\x20"
                                                   "0123400567",
                                                   12));
  EXPECT_EQ(out[0].record.bytes[12], 0);
  EXPECT_TRUE(out[0].step.deliver);
  EXPECT_EQ(framer_message(f).id, WM_EM31_READING);
  EXPECT_EQ(framer_message(f).delivery, Delivery::kPost);
}

TEST(TFramer, StreamJoinedMidRecordStartsAtFirstCompleteRecord) {
  const Bytes full = test::em31_wire(0x24, "00100", "00200");
  for (std::size_t cut = 1; cut < full.size(); ++cut) {
    InstrumentFramer g = framer_for(kEm31Mk2);
    Bytes stream(full.begin() + static_cast<std::ptrdiff_t>(cut), full.end());
    stream = stream + test::em31_wire(0x20, "01234", "00000") + full;
    const auto out = records_only(feed_all(g, stream));
    ASSERT_EQ(out.size(), 2u) << "cut " << cut;
    EXPECT_EQ(out[0].record.bytes[1], 0x20) << "cut " << cut;
    EXPECT_EQ(out[1].record.bytes[1], 0x24);
  }
}

TEST(TFramer, SlidingTestResynchronisesAfterGarbageLine) {
  // A short line then a carriage return inside noise: the next carriage
  // return is tested over the last L + 1 bytes.
  InstrumentFramer f = framer_for(kEm31Mk2);
  const Bytes stream = bytes_of("xx\rgarbage-garbage\r") + bytes_of("zz") + test::em31_wire(0x20, "00001", "00002");
  const auto all = feed_all(f, stream);
  const auto out = records_only(all);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].record.bytes[0], 'T');
  EXPECT_EQ(all.size(), 2u);  // one rejected line (the first is shorter than L)
}

TEST(TFramer, EveryThirdLinePostedAndBadLinesCount) {
  FrameContext ctx;
  ctx.records_per_reading = 3;
  InstrumentFramer f = framer_for(kEm31Mk2);
  const Bytes good = test::em31_wire(0x20, "00001", "00002");
  const Bytes bad = bytes_of("X0000000000A\r");  // L bytes before the CR is "X"
  int delivered = 0;
  std::vector<int> pattern;
  const Bytes seq[] = {good, good, good, good, bad, good, good, good, good};
  for (const Bytes& line : seq) {
    const auto out = feed_all(f, line, ctx);
    ASSERT_EQ(out.size(), 1u);
    pattern.push_back(out[0].step.deliver ? 1 : 0);
    delivered += out[0].step.deliver;
  }
  // counter: 1 2 3* | 1 2(bad) 3* | 1 2 3*
  EXPECT_EQ(pattern, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
  EXPECT_EQ(delivered, 3);
}

TEST(TFramer, BadLineReachingTheFactorWrapsWithoutPosting) {
  FrameContext ctx;
  ctx.records_per_reading = 3;
  InstrumentFramer f = framer_for(kEm31Mk2);
  const Bytes good = test::em31_wire(0x20, "00001", "00002");
  const Bytes bad = bytes_of("X0000000000A\r");
  std::vector<int> pattern;
  for (const Bytes& line : {good, good, bad, good, good, good}) {
    const auto out = feed_all(f, line, ctx);
    pattern.push_back(out[0].step.deliver ? 1 : 0);
  }
  EXPECT_EQ(pattern, (std::vector<int>{0, 0, 0, 0, 0, 1}));
}

TEST(TFramer, TickOnEverySixthRecordOnlyWhileLoggingOutsideManual) {
  struct Case {
    bool sound, logging;
    int mode;
    int ticks;
  };
  const Case cases[] = {
      {true, true, 0, 2}, {true, true, 1, 2}, {true, true, 2, 0}, {false, true, 0, 0}, {true, false, 0, 0}};
  for (const Case& c : cases) {
    FrameContext ctx;
    ctx.sound_on = c.sound;
    ctx.logging = c.logging;
    ctx.survey_mode = c.mode;
    InstrumentFramer f = framer_for(kEm34_3);
    int ticks = 0;
    std::vector<int> at;
    for (int i = 1; i <= 12; ++i)
      for (const auto& r : feed_all(f, test::em31_wire(0x20, "00001", "00002"), ctx))
        if (r.step.play_tick) {
          ++ticks;
          at.push_back(i);
        }
    EXPECT_EQ(ticks, c.ticks) << c.sound << c.logging << c.mode;
    if (c.ticks == 2) {
      EXPECT_EQ(at, (std::vector<int>{6, 12}));
    }
  }
}

TEST(TFramer, Em38SevenCharacterRecords) {
  InstrumentFramer f = framer_for(kEm38, {.record_length = 7});
  const auto out = records_only(feed_all(f, bytes_of("T\x23"
                                                     "01234\rT\x27"
                                                     "00500\r")));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].record.length, 7u);
  EXPECT_EQ(out[1].record.text(),
            "T\x27"
            "00500");
  EXPECT_EQ(framer_message(f).id, WM_EM38_READING);
}

TEST(TFramer, OverlongLineWrapsAndIsRejected) {
  InstrumentFramer f = framer_for(kEm31Mk2);
  Bytes noise(300, 'a');
  const auto all = feed_all(f, noise + bytes_of("T") + Bytes(11, 'b') + bytes_of("\r"));
  // 301 noise bytes wrap the buffer; the record after them is intact because
  // the wrap happened before its "T".
  const auto out = records_only(all);
  ASSERT_EQ(out.size(), 1u);
}

struct LetterCase {
  BinaryReader reader;
  char letter;
  bool accepted;
};

TEST(BinaryFramer, Em61LetterSets) {
  const std::string all = "TDEFMNPQJKjkAZt\x01";
  for (char letter : all) {
    for (BinaryReader reader :
         {BinaryReader::kEm61Continuous, BinaryReader::kEm61Polled, BinaryReader::kEm61SecondMode}) {
      const bool second_only = std::string_view("JKjk").find(letter) != std::string_view::npos;
      const bool base = std::string_view("TDEFMNPQ").find(letter) != std::string_view::npos;
      const bool expected = base || (second_only && reader == BinaryReader::kEm61SecondMode);
      InstrumentFramer f = make_binary_framer(reader, WM_EM61_READING);
      const auto all_events = feed_all(f, test::em61_wire(letter, 0, 1, 2, 3, 4, 2000));
      ASSERT_EQ(all_events.size(), 1u);
      EXPECT_EQ(all_events[0].step.event == FrameEvent::kRecord, expected)
          << letter << " reader " << static_cast<int>(reader);
      if (expected) {
        EXPECT_EQ(all_events[0].record.length, 14u);
        EXPECT_EQ(all_events[0].record.bytes[13], 0x7F);
        EXPECT_EQ(all_events[0].record.bytes[14], 0);
      }
    }
  }
}

TEST(BinaryFramer, JLetterOnlyInSecondModeThroughReaderOptions) {
  InstrumentFramer cont = framer_for(kEm61Mk2);
  InstrumentFramer second = framer_for(kEm61Mk2, {.second_mode = true});
  const Bytes rec = test::em61_wire('J', 0, 1, 2, 3, 4, 2000);
  EXPECT_TRUE(records_only(feed_all(cont, rec)).empty());
  EXPECT_EQ(records_only(feed_all(second, rec)).size(), 1u);
}

TEST(BinaryFramer, Em61RecordsContainingEndBytesStillFrame) {
  InstrumentFramer f = framer_for(kEm61Mk2);
  // channel 1 = 0x7F7F puts the closing pair inside the record
  const Bytes a = test::em61_wire('T', 0, 0x7F7F, 0x7F7F, 3, 4, 2000);
  const Bytes b = test::em61_wire('D', 0x55, -5, 6, 7, 8, 1800);
  const auto out = records_only(feed_all(f, Bytes{0x12, 0x7F} + a + b + a));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].record.bytes[2], 0x7F);
  EXPECT_EQ(out[1].record.bytes[0], 'D');
}

TEST(BinaryFramer, Em61DecimationAndTicks) {
  FrameContext ctx;
  ctx.records_per_reading = 2;
  ctx.sound_on = true;
  ctx.logging = true;
  InstrumentFramer cont = framer_for(kEm61Lx2, {.two_coils = true});
  EXPECT_EQ(framer_message(cont).id, WM_LX2_DUAL_READING);
  EXPECT_EQ(framer_message(framer_for(kEm61Lx2)).id, WM_LX2_READING);
  int delivered = 0, ticks = 0;
  for (int i = 0; i < 18; ++i)
    for (const auto& r : records_only(feed_all(cont, test::em61_wire('T', 0, 1, 2, 3, 4, 2000), ctx))) {
      delivered += r.step.deliver;
      ticks += r.step.play_tick;
    }
  EXPECT_EQ(delivered, 9);
  EXPECT_EQ(ticks, 2);  // every 9th
  // Second mode: no decimation; the tick count from the survey settings, Wheel mode allowed.
  ctx.sound_every = 4;
  ctx.survey_mode = 1;
  InstrumentFramer second = framer_for(kEm61Mk2, {.second_mode = true});
  InstrumentFramer polled = framer_for(kEm61Mk2, {.polled = true});
  delivered = ticks = 0;
  int polled_ticks = 0;
  for (int i = 0; i < 8; ++i) {
    for (const auto& r : records_only(feed_all(second, test::em61_wire('k', 0, 1, 2, 3, 4, 2000), ctx))) {
      delivered += r.step.deliver;
      ticks += r.step.play_tick;
    }
    for (const auto& r : records_only(feed_all(polled, test::em61_wire('T', 0, 1, 2, 3, 4, 2000), ctx)))
      polled_ticks += r.step.play_tick;
  }
  EXPECT_EQ(delivered, 8);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(polled_ticks, 0);  // polled reader ticks in Auto mode only
}

TEST(BinaryFramer, Em38Mk2AcceptsTAndLowerT) {
  InstrumentFramer f = framer_for(kEm38Mk2);
  const std::uint16_t w[6] = {1, 2, 3, 4, 5, 6};
  const auto out = records_only(feed_all(f, bytes_of("\xFF\x01") + test::em38mk2_wire('T', 6, w) +
                                                test::em38mk2_wire('t', 2, w) + test::em38mk2_wire('x', 2, w)));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].record.length, 14u);
  EXPECT_EQ(out[1].record.bytes[0], 't');
  EXPECT_EQ(out[1].record.bytes[13], 6);
  EXPECT_EQ(framer_message(f).id, WM_EM38MK2_READING);
}

TEST(BinaryFramer, Em38Mk2TickEveryTenthWhileLogging) {
  FrameContext ctx;
  ctx.sound_on = true;
  ctx.logging = true;
  ctx.survey_mode = 2;  // the EM38-MK2 ticks in Manual mode too
  InstrumentFramer f = framer_for(kEm38Mk2);
  const std::uint16_t w[6] = {1, 2, 3, 4, 5, 6};
  int ticks = 0;
  for (int i = 0; i < 20; ++i)
    for (const auto& r : records_only(feed_all(f, test::em38mk2_wire('T', 6, w), ctx))) ticks += r.step.play_tick;
  EXPECT_EQ(ticks, 2);
}

TEST(BinaryFramer, Em38_4StatusBitsAddedToSecondByte) {
  const std::uint16_t w[12] = {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200};
  struct Case {
    bool line, marker;
    int add;
  };
  for (const Case c : {Case{false, false, 0}, Case{true, false, 16}, Case{false, true, 8}, Case{true, true, 24}}) {
    FrameContext ctx;
    ctx.line_active = c.line;
    ctx.marker = c.marker;
    ctx.records_per_reading = 5;  // the EM38-4 reader does not decimate
    InstrumentFramer f = framer_for(kEm38_4);
    const auto out = records_only(feed_all(f, test::em38_4_wire('T', 2, w), ctx));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(out[0].step.deliver);
    EXPECT_EQ(out[0].record.length, 26u);
    EXPECT_EQ(out[0].record.bytes[1], 2 + c.add);
  }
}

// While the EM61-LX2's soft marker is held its readings T, D, E, F arrive
// as the marker records M, N, P, Q; released, as readings again.
TEST(BinaryFramer, Em61Lx2SoftMarkerGivesMarkerLetters) {
  const std::string readings = "TDEF", markers = "MNPQ";
  for (std::size_t i = 0; i < readings.size(); ++i)
    for (const bool held : {false, true}) {
      FrameContext ctx;
      ctx.marker = held;
      InstrumentFramer f = framer_for(kEm61Lx2);
      const auto out = records_only(feed_all(f, test::em61_wire(readings[i], 0, 1, 2, 3, 4, 2000), ctx));
      ASSERT_EQ(out.size(), 1u);
      EXPECT_EQ(out[0].record.bytes[0], held ? markers[i] : readings[i]);
      EXPECT_EQ(is_marker_letter(kEm61Lx2, static_cast<char>(out[0].record.bytes[0])), held);
    }
}

TEST(BinaryFramer, LongNoiseBeforeRecordsLosesNone) {
  for (std::size_t noise = 150; noise < 230; ++noise) {
    InstrumentFramer f = framer_for(kEm61Mk2);
    Bytes stream(noise, 0x33);
    for (int i = 0; i < 3; ++i) stream = stream + test::em61_wire('T', 0, 1, 2, 3, 4, 2000);
    EXPECT_EQ(records_only(feed_all(f, stream)).size(), 3u) << noise;
  }
}

TEST(LineFramer, Grad601LineWithoutEnding) {
  InstrumentFramer f = framer_for(kGrad601);
  const auto all = feed_all(f, bytes_of("12.3,4\r\n$PBAR,1.5,2.5*00\r\n$PDLM1,1,2,3\r\n$PBAR,7\n"));
  const auto out = records_only(all);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].record.text(), "$PBAR,1.5,2.5*00");
  EXPECT_EQ(all.size(), 4u);  // three rejected lines
  EXPECT_EQ(framer_message(f).id, WM_GRAD_READING);
}

TEST(LineFramer, DollarRestartsTheLine) {
  InstrumentFramer f = framer_for(kCs21);
  const auto out = records_only(feed_all(f, bytes_of("$PDLM1,3,4$PDLMA,1.0,2.0,3.0,4.0,5.0\r\n")));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].record.text(), "$PDLMA,1.0,2.0,3.0,4.0,5.0");
  EXPECT_EQ(framer_message(f).id, WM_CS21_READING);
}

TEST(LineFramer, MinimumLengthAndRecordCapacity) {
  InstrumentFramer f = framer_for(kGrad601);
  EXPECT_EQ(records_only(feed_all(f, bytes_of("$PBAR,1\r\n"))).size(), 1u);  // nine characters
  EXPECT_EQ(records_only(feed_all(f, bytes_of("$PBAR,\r\n"))).size(), 0u);   // eight
  const std::string longest = "$PBAR," + std::string(121, '1');              // 127 characters
  EXPECT_EQ(records_only(feed_all(f, bytes_of(longest + "\r\n"))).size(), 1u);
  EXPECT_EQ(records_only(feed_all(f, bytes_of(longest + "2\r\n"))).size(), 0u);  // would overflow
}

TEST(TiltFramer, ValidBadChecksumNoStarNoDollar) {
  const std::string body = "PTILT,1.25,-0.50";
  const std::string good = "$" + body + "*" + test::nmea_checksum(body);
  std::string wrong = good;
  wrong.back() = wrong.back() == '0' ? '1' : '0';
  InstrumentFramer f = make_tilt_reader_framer();
  const auto all = feed_all(f, bytes_of(good + "\r\n" + wrong + "\r\n$PTILT,1,2\r\nnoise*00\r\n\r\n"));
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].step.event, FrameEvent::kRecord);
  EXPECT_TRUE(all[0].step.deliver);
  EXPECT_EQ(all[0].record.text(), good);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(all[i].step.event, FrameEvent::kRejected);
    EXPECT_FALSE(all[i].step.deliver);
  }
  EXPECT_EQ(all[1].record.text(), wrong);
  EXPECT_EQ(all[3].record.text(), "noise*00");
  EXPECT_EQ(framer_message(f).id, WM_TILT_READING);
}

TEST(TiltFramer, ChecksumDigitsEitherCase) {
  const std::string body = "A,b";  // xor = 0x41 ^ 0x2C ^ 0x62 = 0x0F
  EXPECT_TRUE(tilt_checksum_ok("$" + body + "*0F"));
  EXPECT_TRUE(tilt_checksum_ok("$" + body + "*0f"));
  EXPECT_FALSE(tilt_checksum_ok("$" + body + "*0"));
  EXPECT_FALSE(tilt_checksum_ok("$" + body + "*G0"));
  EXPECT_FALSE(tilt_checksum_ok("$" + body));
  EXPECT_TRUE(tilt_checksum_ok("$*00"));
}

// Two hundred bytes without a line feed: the line starts over at position 0,
// and a sentence after it is whole.
TEST(TiltFramer, OverlongLineStartsOverAfterTwoHundredBytes) {
  const std::string body = "PTILT,0.5,0.25";
  const std::string good = "$" + body + "*" + test::nmea_checksum(body);
  InstrumentFramer f = make_tilt_reader_framer();
  const auto all = feed_all(f, bytes_of(std::string(200, 'x') + "tail*00\r\n" + good + "\r\n"));
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].step.event, FrameEvent::kRejected);
  EXPECT_EQ(all[0].record.text(), "tail*00");
  EXPECT_EQ(all[1].step.event, FrameEvent::kRecord);
  EXPECT_EQ(all[1].record.text(), good);
}

TEST(ReadingMessages, TableIdsNamesAndDelivery) {
  struct Row {
    std::uint32_t id;
    const char* name;
    Delivery delivery;
  };
  const Row rows[] = {{0x40A, "WM_EM61_READING", Delivery::kSend},     {0x40B, "WM_GPS_POSITION", Delivery::kSend},
                      {0x40C, "WM_EM31_READING", Delivery::kPost},     {0x40D, "WM_EM38_READING", Delivery::kPost},
                      {0x410, "WM_EM38MK2_READING", Delivery::kSend},  {0x411, "WM_GPS_GSA", Delivery::kSend},
                      {0x413, "WM_EM34_READING", Delivery::kPost},     {0x414, "WM_LX2_READING", Delivery::kSend},
                      {0x415, "WM_LX2_DUAL_READING", Delivery::kSend}, {0x416, "WM_GRAD_READING", Delivery::kSend},
                      {0x417, "WM_EM38_4_READING", Delivery::kSend},   {0x418, "WM_TILT_READING", Delivery::kSend},
                      {0x419, "WM_CS21_READING", Delivery::kSend}};
  EXPECT_EQ(reading_message_table().size(), std::size(rows));
  for (const Row& r : rows) {
    const ReadingMessage* m = find_reading_message(r.id);
    ASSERT_NE(m, nullptr) << r.name;
    EXPECT_EQ(m->name, r.name);
    EXPECT_EQ(m->delivery, r.delivery) << r.name;
  }
  EXPECT_EQ(find_reading_message(0x40E), nullptr);
}

// Only a record with the trigger mark could become a Manual reading.
TEST(RecordTriggered, ByStatusByteOrLetter) {
  struct Row {
    InstrumentType type;
    std::string bytes;
    bool triggered;
  };
  const Row rows[] = {
      {kEm34_3, "T@0123405678", true},
      {kEm34_3, "T 0123405678", false},
      {kEm31Mk2,
       "T\xC0"
       "0123405678",
       true},
      {kEm38, "T!01234", false},
      {kEm61Mk2, "M0123456789ab", true},
      {kEm61Mk2, "T0123456789ab", false},
      {kEm61Lx2, "P0123456789ab", true},
      {kEm38Mk2,
       "T\x06"
       "0123456789ab",
       false},
      {kEm38Mk2,
       "T\x07"
       "0123456789ab",
       true},
      {kEm34_3, "T", false},
  };
  for (const Row& r : rows) {
    RecordBytes record;
    assign_record(record, reinterpret_cast<const std::uint8_t*>(r.bytes.data()), r.bytes.size());
    EXPECT_EQ(record_triggered(r.type, record), r.triggered) << r.type << " " << r.bytes;
  }
}

}  // namespace
}  // namespace quelor

#include "serial/reader_duties.h"

namespace quelor {
namespace {

TEST(ReaderDuties, TicksAndFlagsPerReader) {
  struct Case {
    InstrumentType type;
    ReaderOptions options;
    bool last_tick, closing_pair, arrival, repaint, wakeup;
  };
  const Case cases[] = {
      {kEm31Mk2, {}, true, false, true, false, false},
      {kEm38, {.record_length = 7}, true, false, true, false, false},
      {kEm34_3, {}, true, false, true, false, false},
      {kEm38Mk2, {}, true, false, true, false, false},
      {kEm38_4, {}, false, false, true, false, false},
      {kEm61Lx2, {}, true, false, true, true, true},
      {kEm61Mk2, {}, true, false, true, false, true},
      {kEm61Mk2, {.polled = true}, false, false, true, false, true},
      {kEm61Mk2, {.second_mode = true}, false, true, true, false, false},
      {kGrad601, {}, true, false, false, true, false},
      {kCs21, {}, true, false, false, true, false},
  };
  for (const Case& c : cases) {
    const ReaderDuties d = reader_duties(c.type, *make_instrument_framer(c.type, c.options));
    SCOPED_TRACE(c.type);
    EXPECT_EQ(d.stamp_last_record_tick, c.last_tick);
    EXPECT_EQ(d.stamp_on_closing_pair, c.closing_pair);
    EXPECT_EQ(d.stamp_arrival_tick, c.arrival);
    EXPECT_EQ(d.repaint_after_blanking, c.repaint);
    EXPECT_EQ(d.resend_wakeup_when_lost, c.wakeup);
    EXPECT_FALSE(d.log_rejected_lines);
  }
  EXPECT_TRUE(reader_duties(kEm31Mk2, make_tilt_reader_framer()).log_rejected_lines);
}

}  // namespace
}  // namespace quelor
