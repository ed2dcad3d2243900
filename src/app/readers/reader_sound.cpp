#include "app/readers/reader_sound.h"

#include <string>

#include "app/sound/sound_player.h"

namespace quelor {

bool play_wave_resource(const wchar_t* name) {
  std::string narrow;
  for (const wchar_t* p = name; *p; ++p) narrow.push_back(static_cast<char>(*p));
  return play_sound_named(narrow);
}

}  // namespace quelor
