#pragma once
// Plays the program's wave resources. Any thread may call it; every request
// is counted, played or not, so tests can see which sounds were asked for.

#include <string_view>

#include "sound/sound.h"

namespace quelor {

// PlaySoundW on the resource, asynchronously; the sound's own start rule
// (sound_row) unless one is given. True when the sound was started.
bool play_sound(Sound sound);
bool play_sound(Sound sound, SoundStart start);
// By resource name, for the core's outcomes that carry one; an unknown
// name plays nothing and is not counted.
bool play_sound_named(std::string_view resource);
void stop_sound();

int sound_play_count(Sound sound);
void reset_sound_counts();

}  // namespace quelor
