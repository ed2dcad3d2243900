#pragma once
// The ten command buttons of the setup window: ids, texts, fonts and the
// three layouts (portrait rows, two landscape columns, one column).

#include <array>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

inline constexpr int kSetupButtonCount = 10;
inline constexpr int kFirstSetupButtonId = 420;  // ids 420..429

struct ButtonRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const ButtonRect&) const = default;
};

// Indexed by button id - 420.
using ButtonLayout = std::array<ButtonRect, kSetupButtonCount>;

constexpr int setup_button_id(int index) { return kFirstSetupButtonId + index; }

// "&Logging" .. "E&xit"; the fourth reads "Alarms S&etup" for EM61-LX2.
std::wstring_view setup_button_text(int index, InstrumentType instrument_type);

// The column the buttons are created in, before the first layout.
ButtonLayout initial_button_column(int client_width, int client_height);

// Portrait rows (client height 110 and more), two columns on a landscape
// client 1000 pixels wide and more, else one column.
ButtonLayout setup_button_layout(bool portrait, int client_width, int client_height);

enum class ButtonFontChoice { kButton, kLargeButton, kPortraitLargeButton };

// Large fonts once the client exceeds 1100 pixels in either direction.
ButtonFontChoice setup_button_font(bool portrait, int client_width, int client_height);

}  // namespace quelor
