// The sound table against the names the core asks for and against the wave
// files the program carries.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "gps/reader.h"
#include "sound/sound.h"
#include "survey/logging_commands.h"

namespace quelor {
namespace {

const std::string kSourceDir = QUELOR_SOURCE_DIR;

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

TEST(SoundTable, EveryRowIsItsOwnSoundAndNamesRoundTrip) {
  ASSERT_EQ(sound_table().size(), static_cast<std::size_t>(kSoundCount));
  std::set<std::string_view> names;
  for (const SoundRow& row : sound_table()) {
    EXPECT_EQ(&sound_row(row.sound), &row);
    EXPECT_TRUE(names.insert(row.resource).second) << row.resource;
    EXPECT_EQ(sound_from_resource(row.resource), row.sound);
  }
  EXPECT_FALSE(sound_from_resource("SOUND_RING ").has_value());
  EXPECT_FALSE(sound_from_resource("").has_value());
  // Rings never cut a playing ring; the warning replaces what plays.
  EXPECT_EQ(sound_row(Sound::kRing).start, SoundStart::kNoStop);
  EXPECT_EQ(sound_row(Sound::kResult).start, SoundStart::kNoStop);
  EXPECT_EQ(sound_row(Sound::kGpsWarning).start, SoundStart::kInterrupt);
}

TEST(SoundTable, NamesTheCoreAsksForAreSounds) {
  for (std::string_view name : {std::string_view(kSoundRing), std::string_view(kSoundRing2s), kRingSound})
    EXPECT_TRUE(sound_from_resource(name).has_value()) << name;
}

// Each sound is one WAVE resource whose file is a short 8-bit mono PCM wave
// at 8 or 11 kHz.
TEST(SoundFiles, ResourceScriptCarriesEverySoundAsASmallWave) {
  const std::string rc = read_all(kSourceDir + "/src/app/sounds.rc");
  const std::regex row(R"((\w+)\s+WAVE\s+\"([^\"]+)\")");
  std::set<std::string> listed;
  for (auto it = std::sregex_iterator(rc.begin(), rc.end(), row); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[1];
    ASSERT_TRUE(sound_from_resource(name).has_value()) << name;
    EXPECT_TRUE(listed.insert(name).second) << name;
    const std::string wav = read_all(kSourceDir + "/src/app/" + (*it)[2].str());
    ASSERT_GE(wav.size(), 44u) << name;
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(wav, 20, 2), 1u) << name;  // PCM
    EXPECT_EQ(le(wav, 22, 2), 1u) << name;  // mono
    const std::uint32_t rate = le(wav, 24, 4);
    EXPECT_TRUE(rate == 8000 || rate == 11025) << name << " " << rate;
    EXPECT_EQ(le(wav, 34, 2), 8u) << name;
    EXPECT_EQ(le(wav, 4, 4) + 8, wav.size()) << name;
    EXPECT_LE(wav.size(), 2.5 * rate + 64) << name;  // at most 2.5 s
  }
  EXPECT_EQ(listed.size(), static_cast<std::size_t>(kSoundCount));
}

}  // namespace
}  // namespace quelor
