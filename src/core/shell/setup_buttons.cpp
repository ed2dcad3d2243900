#include "shell/setup_buttons.h"

#include <algorithm>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<std::wstring_view, kSetupButtonCount> kButtonTexts{
    L"&Logging",        L"&Survey Setup", L"Sys&tem Setup",     L"G&eometry Setup",   L"&GPS Port Setup",
    L"GPS M&onitoring", L"&Map Options",  L"&Profiles Options", L"&Reset to Default", L"E&xit"};

constexpr int kAlarmsButton = 3;
constexpr int kButtonGap = 3;
constexpr int kMinButtonHeight = 36;
constexpr int kColumnWidth = 170;
constexpr int kColumnRightMargin = 200;
constexpr int kTop = 30;
constexpr int kLargeFontThreshold = 1100;
constexpr int kPortraitMinClientHeight = 110;
constexpr int kWideLandscapeMinWidth = 1000;

ButtonLayout one_column(int client_width, int height) {
  ButtonLayout layout;
  for (int i = 0; i < kSetupButtonCount; ++i)
    layout[i] = {client_width - kColumnRightMargin, kTop + i * (height + kButtonGap), kColumnWidth, height};
  return layout;
}

ButtonLayout portrait_rows(int client_width, int client_height) {
  const int w = (client_width - 49) / 4;
  const int left = 20;
  const int top = static_cast<int>(client_height * 0.55);
  const int h = std::max(kMinButtonHeight, (client_height - top - 36) / 3);
  ButtonLayout layout;
  for (int k = 0; k < 4; ++k) {
    const int x = left + k * (w + kButtonGap);
    layout[1 + k] = {x, top, w, h};
    layout[5 + k] = {x, top + h + kButtonGap, w, h};
  }
  const int last_row = top + 2 * (h + kButtonGap);
  layout[9] = {left, last_row, w, h};
  layout[0] = {left + w + kButtonGap, last_row, 3 * w + 2 * kButtonGap, h};
  return layout;
}

ButtonLayout landscape_columns(int client_width, int client_height) {
  const int w = client_width / 6;
  const int left = client_width - 2 * w - 33;
  const int h = std::max(kMinButtonHeight, (client_height - 172) / 5);
  ButtonLayout layout;
  for (int i = 0; i < kSetupButtonCount; ++i) {
    const int column = i / 5;
    const int row = i % 5;
    layout[i] = {left + column * (w + kButtonGap), kTop + row * (h + kButtonGap), w, h};
  }
  return layout;
}

}  // namespace

std::wstring_view setup_button_text(int index, InstrumentType instrument_type) {
  if (index < 0 || index >= kSetupButtonCount) return {};
  if (index == kAlarmsButton && has_trait(instrument_type, Trait::kAlarmSetup)) return L"Alarms S&etup";
  return kButtonTexts[index];
}

ButtonLayout initial_button_column(int client_width, int client_height) {
  return one_column(client_width, std::max(kMinButtonHeight, (client_height - 257) / 10));
}

ButtonLayout setup_button_layout(bool portrait, int client_width, int client_height) {
  if (portrait && client_height >= kPortraitMinClientHeight) return portrait_rows(client_width, client_height);
  if (!portrait && client_width >= kWideLandscapeMinWidth) return landscape_columns(client_width, client_height);
  return one_column(client_width, std::max(kMinButtonHeight, (client_height - 207) / 10));
}

ButtonFontChoice setup_button_font(bool portrait, int client_width, int client_height) {
  if (client_width > kLargeFontThreshold || client_height > kLargeFontThreshold)
    return portrait ? ButtonFontChoice::kPortraitLargeButton : ButtonFontChoice::kLargeButton;
  return ButtonFontChoice::kButton;
}

}  // namespace quelor
