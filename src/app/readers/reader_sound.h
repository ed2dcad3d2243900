#pragma once
// Wave resources played by the readers: only when the program carries the
// resource, so a build without sounds stays silent instead of ringing the
// default sound.

namespace quelor {

// play_sound_named (app/sound/sound_player.h) for a wide name: when a "WAVE"
// resource of that name exists. True when it was started.
bool play_wave_resource(const wchar_t* name);

}  // namespace quelor
