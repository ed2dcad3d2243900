#include "sound/sound.h"

#include <array>

namespace quelor {
namespace {

// Rings and ticks never cut what is playing, so a ring repeats for as long as
// a break lasts; warnings and spoken cues are about the present reading and
// replace any older sound.
constexpr std::array<SoundRow, kSoundCount> kSounds{{
    {Sound::kResult, "SOUND_RESULT", SoundStart::kNoStop},
    {Sound::kRing, "SOUND_RING", SoundStart::kNoStop},
    {Sound::kRing2s, "SOUND_RING_2S", SoundStart::kNoStop},
    {Sound::kGpsWarning, "SOUND_GPSWARNING", SoundStart::kInterrupt},
    {Sound::kLeft, "LEFTSOUND", SoundStart::kInterrupt},
    {Sound::kRight, "RIGHTSOUND", SoundStart::kInterrupt},
    {Sound::kBetween, "BETWEENSOUND", SoundStart::kInterrupt},
    {Sound::kLeftRight, "LEFTRIGHTSOUND", SoundStart::kInterrupt},
    {Sound::kRingIn, "RINGINSOUND", SoundStart::kInterrupt},
}};

}  // namespace

std::span<const SoundRow> sound_table() { return kSounds; }

const SoundRow& sound_row(Sound sound) { return kSounds[static_cast<std::size_t>(sound)]; }

std::string_view sound_resource(Sound sound) { return sound_row(sound).resource; }

std::optional<Sound> sound_from_resource(std::string_view resource) {
  for (const SoundRow& row : kSounds)
    if (row.resource == resource) return row.sound;
  return std::nullopt;
}

}  // namespace quelor
