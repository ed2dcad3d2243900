#include "app/window_classes.h"

#include <iterator>

#include "app/child_windows.h"
#include "app/gps_monitor_window.h"
#include "app/logging/logging_window.h"
#include "app/main_window.h"
#include "app/resource_ids.h"
#include "app/setup_window.h"

namespace quelor {

namespace {

constexpr UINT kDeadChar = 0x103;  // WM_DEADCHAR

constexpr Win32MessageRow kMainTable[] = {
    {WM_CREATE, main_create_handler},    {WM_SIZE, main_size_handler},       {WM_DESTROY, main_destroy_handler},
    {WM_COMMAND, setup_command_handler}, {kDeadChar, setup_command_handler}, {WM_KEYDOWN, setup_command_handler},
    {WM_PAINT, setup_paint_handler},
};

constexpr Win32MessageRow kMonitorGpsTable[] = {{WM_CREATE, gps_monitor_create_handler},
                                                {WM_PAINT, gps_monitor_paint_handler},
                                                {WM_COMMAND, gps_monitor_command_handler},
                                                {WM_KEYDOWN, gps_monitor_key_handler},
                                                {WM_SIZE, gps_monitor_size_handler}};

enum class Background { kButtonFace, kWhite };

struct ClassRow {
  const wchar_t* name;
  UINT style;
  Background background;
  WNDPROC procedure;
};

constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;

// Registered in this order after `Zelko`; the first failure stops the run.
const ClassRow kLoggingAndDisplayClasses[] = {
    {L"ScreenLogWnd", kRedraw, Background::kButtonFace, logging_window_procedure},
    {L"DecayWnd", kRedraw, Background::kWhite, decay_window_procedure},
    {L"BarQWnd", kRedraw, Background::kWhite, bar_window_procedure},
    {L"BarIWnd", kRedraw, Background::kWhite, bar_window_procedure},
    {L"CurveWnd", kRedraw, Background::kWhite, curve_window_procedure},
    {L"NumbersWnd", kRedraw, Background::kWhite, numbers_window_procedure},
    {L"SpeedWnd", kRedraw, Background::kWhite, speed_window_procedure},
    {L"MapWnd", kRedraw, Background::kWhite, map_window_procedure},
    {L"ColorBarWnd", 0, Background::kWhite, colour_bar_window_procedure},
};

const ClassRow kMonitorGpsClass{L"MonitorGPSWnd", 0, Background::kButtonFace,
                                table_window_procedure<kMonitorGpsTable, std::size(kMonitorGpsTable)>};

WNDCLASSEXW class_base(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = name;
  return wc;
}

bool register_class(HINSTANCE instance, const ClassRow& row) {
  WNDCLASSEXW wc = class_base(instance, row.name, row.style, row.procedure);
  wc.hbrBackground = row.background == Background::kWhite ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                                                          : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  return RegisterClassExW(&wc) != 0;
}

void register_main_class(HINSTANCE instance) {
  WNDCLASSEXW wc = class_base(instance, L"Zelko", kRedraw, main_window_procedure);
  wc.hbrBackground = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));  // the class's own: freed with it
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(QUELOR_ICON_ID));
  RegisterClassExW(&wc);
}

// 0, or 1 at the first class that fails.
int register_logging_and_display_classes(HINSTANCE instance) {
  for (const ClassRow& row : kLoggingAndDisplayClasses)
    if (!register_class(instance, row)) return 1;
  return 0;
}

}  // namespace

int register_window_classes(HINSTANCE instance) {
  register_main_class(instance);
  if (register_logging_and_display_classes(instance) != 0) return 2;
  if (!register_class(instance, kMonitorGpsClass)) return 2;
  return 0;
}

std::span<const Win32MessageRow> main_window_message_table() { return kMainTable; }

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kMainTable, window, message, w, l);
}

}  // namespace quelor
