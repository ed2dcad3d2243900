#include "app/readers/reader_sound.h"

#include <windows.h>
#include <mmsystem.h>

namespace quelor {

bool play_wave_resource(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  if (FindResourceW(module, name, L"WAVE") == nullptr) return false;
  return PlaySoundW(name, module, SND_RESOURCE | SND_ASYNC | SND_NOSTOP) != FALSE;
}

}  // namespace quelor
