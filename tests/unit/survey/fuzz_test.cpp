// Outside bytes through the handlers: random and mutated sentences and
// records, every key code in every state.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "survey/gps_fix_handler.h"
#include "survey/logging_keys.h"
#include "survey/reading_handler.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

std::string mutate(std::string s, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !s.empty(); ++e) {
    const std::size_t at = random() % s.size();
    switch (random() % 3) {
      case 0: s[at] = static_cast<char>(random() & 0xFF); break;
      case 1: s.erase(at, 1 + random() % 5); break;
      default: s.insert(at, 1, ",.-*9"[random() % 5]);
    }
  }
  return s;
}

TEST(SurveyFuzz, MutatedPositionSentencesKeepTheSurveyFinite) {
  std::mt19937 random(99);
  for (int format : {kFormatGga, kFormatGgaGsa, kFormatGll, kFormatPseudoGga, kFormatLlq}) {
    SurveyRecord r;
    r.state = kStateLogging;
    Settings s;
    s.gps_sentence = format;
    const FixContext c = fix_context_from_settings(s, kEm31Mk2);
    for (int i = 0; i < 3000; ++i) {
      const std::string base = survey_testing::gga(48.0 + i * 1e-6, 11.0, 1000.0 + i);
      const FixOutcome o = handle_gps_fix(r, c, mutate(base, random));
      if (o.usable) {
        EXPECT_TRUE(std::isfinite(o.cursor_x) && std::isfinite(o.cursor_y));
      }
      ASSERT_TRUE(std::isfinite(r.speed)) << i;
      ASSERT_LE(r.gps_position_count, kMaxGpsPositions);
    }
  }
}

TEST(SurveyFuzz, EveryKeyInEveryStateGivesAKnownEffect) {
  for (int state : {kStateMonitoring, kStateStandBy, kStateLogging})
    for (int pause_key = 0; pause_key < 5; ++pause_key)
      for (int flags = 0; flags < 8; ++flags)
        for (std::uint32_t key = 0; key < 256; ++key) {
          KeyContext c;
          c.state = state;
          c.pause_key = pause_key;
          c.review = flags & 1;
          c.popup_menu = flags & 2;
          c.soft_marker_keys = flags & 4;
          c.instrument_type = flags & 4 ? kEm61Lx2 : kEm31Mk2;
          const KeyDecision d = decode_logging_key(c, key);
          if (d.effect == KeyEffect::kCommand) {
            EXPECT_GE(d.command, 0);
            EXPECT_LE(d.command, 150);
            if (d.command == kCmdFileGoPause && state == kStateMonitoring) {
              EXPECT_TRUE(key == 'F');
            }
          } else {
            EXPECT_EQ(d.command, kCmdNone);
          }
        }
}

TEST(SurveyFuzz, RandomTRecordsInEveryModeAndState) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    SurveyRecord r;
    r.state = std::array{kStateMonitoring, kStateStandBy, kStateLogging}[random() % 3];
    r.survey_mode = static_cast<int>(random() % 3);
    r.colour_index.filling = random() & 1;
    std::string record =
        survey_testing::t_record(static_cast<std::uint8_t>(random()), static_cast<int>(random() % 20000) - 10000,
                                 static_cast<int>(random() % 20000) - 10000);
    if (random() & 1) record = mutate(record, random);
    DecodeContext c;
    c.instrument_type = std::array{kEm31Mk2, kEm38, kEm34_3}[random() % 3];
    c.mapped_view = static_cast<int>(random() % 3);
    c.colour.class_width = (random() & 1) ? 10.0 : 0.0;
    const ReadingOutcome o = handle_t_reading(r, {}, c, survey_testing::bytes(record), 1);
    if (o.colour_step) {
      EXPECT_GE(*o.colour_step, 0);
      EXPECT_LE(*o.colour_step, 49);
    }
    EXPECT_EQ(o.logged, r.readings_in_survey == 1);
  }
}

}  // namespace
}  // namespace quelor
