#include "app/sound/sound_player.h"

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <string>

namespace quelor {
namespace {

std::array<std::atomic<int>, kSoundCount> g_sound_counts{};

}  // namespace

bool play_sound(Sound sound, SoundStart start) {
  g_sound_counts[sound_index(sound)].fetch_add(1);
  const std::string_view name = sound_resource(sound);
  const std::wstring wide(name.begin(), name.end());
  HMODULE module = GetModuleHandleW(nullptr);
  // Without the resource PlaySoundW would ring the default sound instead.
  if (FindResourceW(module, wide.c_str(), L"WAVE") == nullptr) return false;
  DWORD flags = SND_RESOURCE | SND_ASYNC;
  if (start == SoundStart::kNoStop)
    flags |= SND_NOSTOP;
  else
    stop_sound();
  return PlaySoundW(wide.c_str(), module, flags) != FALSE;
}

bool play_sound(Sound sound) { return play_sound(sound, sound_row(sound).start); }

bool play_sound_named(std::string_view resource) {
  const std::optional<Sound> sound = sound_from_resource(resource);
  return sound && play_sound(*sound);
}

void stop_sound() { PlaySoundW(nullptr, nullptr, 0); }

int sound_play_count(Sound sound) { return g_sound_counts[sound_index(sound)].load(); }

void reset_sound_counts() {
  for (std::atomic<int>& c : g_sound_counts) c.store(0);
}

}  // namespace quelor
