// The program's sounds: every one is a WAVE resource of the program, and
// every request is counted whether or not a sound card plays it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/sound/sound_player.h"

namespace quelor {
namespace {

TEST(SoundPlayer, EverySoundIsAWaveResourceOfTheProgram) {
  for (const SoundRow& row : sound_table()) {
    const std::wstring name(row.resource.begin(), row.resource.end());
    HRSRC found = FindResourceW(GetModuleHandleW(nullptr), name.c_str(), L"WAVE");
    ASSERT_NE(found, nullptr) << row.resource;
    EXPECT_GT(SizeofResource(GetModuleHandleW(nullptr), found), 44u) << row.resource;
  }
}

TEST(SoundPlayer, RequestsAreCountedPerSoundAndUnknownNamesPlayNothing) {
  reset_sound_counts();
  play_sound(Sound::kRing);
  play_sound(Sound::kRing);
  play_sound_named("SOUND_GPSWARNING");
  EXPECT_FALSE(play_sound_named("SOUND_NOT_THERE"));
  stop_sound();
  for (const SoundRow& row : sound_table()) {
    const int expected = row.sound == Sound::kRing ? 2 : row.sound == Sound::kGpsWarning ? 1 : 0;
    EXPECT_EQ(sound_play_count(row.sound), expected) << row.resource;
  }
  reset_sound_counts();
  EXPECT_EQ(sound_play_count(Sound::kRing), 0);
}

}  // namespace
}  // namespace quelor
