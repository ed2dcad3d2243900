#pragma once
// The program's sounds: one wave resource each, named as the resource, and
// how a new sound meets one that is still playing.

#include <optional>
#include <span>
#include <string_view>

namespace quelor {

enum class Sound {
  kResult,      // the audible tick of readings and the end of a procedure
  kRing,        // connection break, map full, refused commands
  kRing2s,      // the two-second ring
  kGpsWarning,  // a fix that is not good
  kLeft,        // spoken side cues of the two-coil alarm
  kRight,
  kBetween,
  kLeftRight,
  kRingIn,  // the one-coil alarm
};

enum class SoundStart {
  kNoStop,     // a sound still playing is not cut; the new one is dropped
  kInterrupt,  // any sound playing is stopped first
};

struct SoundRow {
  Sound sound;
  std::string_view resource;  // the "WAVE" resource name
  SoundStart start;
};

std::span<const SoundRow> sound_table();
const SoundRow& sound_row(Sound sound);
std::string_view sound_resource(Sound sound);
std::optional<Sound> sound_from_resource(std::string_view resource);
inline constexpr int kSoundCount = 9;
inline int sound_index(Sound sound) { return static_cast<int>(sound); }

}  // namespace quelor
