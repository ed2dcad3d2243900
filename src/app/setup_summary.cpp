#include "app/setup_summary.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "platform/win32/device_context.h"
#include "settings/value_text.h"
#include "shell/setup_summary_rows.h"

namespace quelor {

namespace {

constexpr COLORREF kTitleColour = RGB(0x10, 0x30, 0x70);
constexpr COLORREF kLabelColour = RGB(0, 0, 0);
constexpr COLORREF kValueColour = RGB(0x00, 0x00, 0xA0);
constexpr int kColumnGap = 12;
constexpr int kValueWidthLimit = 200;

int text_width(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void text_at(HDC dc, int x, int y, const std::wstring& text) {
  ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

// Widest label and widest value of both sections, in the text font.
POINT column_widths(HDC dc, const SettingsSummary& summary) {
  POINT widths{0, 0};
  for (const auto* rows : {&summary.survey, &summary.system})
    for (const SummaryRow& r : *rows) {
      widths.x = std::max<LONG>(widths.x, text_width(dc, widen_text(r.label)));
      widths.y = std::max<LONG>(widths.y, text_width(dc, widen_text(r.value)));
    }
  return widths;
}

struct Cursor {
  int x;
  int y;
  int value_x;
  int right;
  int limit;  // values are clipped here
  bool draw;
};

void heading(HDC dc, Cursor& c, HFONT font, const char* text) {
  SelectObject(dc, font);
  SetTextColor(dc, kTitleColour);
  const std::wstring wide = widen_text(text);
  if (c.draw) text_at(dc, c.x, c.y, wide);
  c.right = std::max(c.right, c.x + text_width(dc, wide));
  c.y += g_line_height + 2;
}

void section(HDC dc, Cursor& c, const char* title, const std::vector<SummaryRow>& rows) {
  heading(dc, c, g_fonts[kSmallBoldFont], title);
  SelectObject(dc, g_fonts[kTextFont]);
  for (const SummaryRow& r : rows) {
    const std::wstring value = widen_text(r.value);
    if (c.draw) {
      SetTextColor(dc, kLabelColour);
      text_at(dc, c.x, c.y, widen_text(r.label));
      SetTextColor(dc, kValueColour);
      const RECT clip{c.value_x, c.y, std::max(c.value_x, c.limit), c.y + g_line_height};
      ExtTextOutW(dc, c.value_x, c.y, ETO_CLIPPED, &clip, value.c_str(), static_cast<UINT>(value.size()), nullptr);
    }
    c.right = std::max(c.right, std::min(c.limit, c.value_x + text_width(dc, value)));
    c.y += g_line_height;
  }
  c.y += g_line_height / 2;
}

RECT lay_out_summary(HDC dc, const RECT& area, bool draw) {
  const SettingsSummary summary = settings_summary(g_settings, g_variant);
  SelectedObject font(dc, g_fonts[kTextFont]);
  const COLORREF old_colour = GetTextColor(dc);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const POINT widths = column_widths(dc, summary);
  Cursor c{static_cast<int>(area.left),
           static_cast<int>(area.top),
           static_cast<int>(area.left + widths.x + kColumnGap),
           static_cast<int>(area.left),
           0,
           draw};
  // Values wider than the widest setting text (a long survey line from a
  // damaged file) are cut, so that they neither run over the buttons nor push
  // the sketch away.
  c.limit = c.value_x + kValueWidthLimit;
  if (draw) c.limit = std::min(c.limit, static_cast<int>(area.right));
  heading(dc, c, g_fonts[kHeadingFont], kSummaryTitle);
  c.y += g_line_height / 3;
  section(dc, c, kSurveySectionTitle, summary.survey);
  section(dc, c, kSystemSectionTitle, summary.system);
  SetBkMode(dc, old_mode);
  SetTextColor(dc, old_colour);
  return RECT{area.left, area.top, c.right, c.y};
}

}  // namespace

RECT paint_settings_summary(HDC dc, const RECT& area) { return lay_out_summary(dc, area, true); }

SIZE measure_settings_summary(HDC dc) {
  const RECT used = lay_out_summary(dc, RECT{0, 0, 0, 0}, false);
  return SIZE{used.right, used.bottom};
}

}  // namespace quelor
