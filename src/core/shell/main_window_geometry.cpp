#include "shell/main_window_geometry.h"

namespace quelor {

namespace {

struct SizeClamp {
  int max_width, max_height;  // larger in either: set to the maximum
  int min_width, min_height;  // then smaller in either: set to the minimum
};

constexpr SizeClamp kPortraitClamp{800, 1242, 640, 986};
constexpr SizeClamp kLandscapeClamp{1280, 762, 800, 562};

void apply_clamp(const SizeClamp& clamp, MainWindowGeometry& g) {
  if (g.width > clamp.max_width || g.height > clamp.max_height) {
    g.width = clamp.max_width;
    g.height = clamp.max_height;
  }
  if (g.width < clamp.min_width || g.height < clamp.min_height) {
    g.width = clamp.min_width;
    g.height = clamp.min_height;
  }
}

}  // namespace

MainWindowGeometry main_window_geometry(int screen_width, int screen_height) {
  MainWindowGeometry g;
  g.width = screen_width;
  g.height = screen_height - kTaskbarAllowance;
  g.portrait = !(g.height < g.width);
  apply_clamp(g.portrait ? kPortraitClamp : kLandscapeClamp, g);
  g.x = (screen_width - g.width) / 2;
  g.y = (screen_height - g.height - kTaskbarAllowance) / 2;
  if (g.x < 0) g.x = 0;
  if (g.y < 0) g.y = 0;
  return g;
}

bool is_large_screen(bool portrait, int client_width, int client_height) {
  if (portrait) return client_height > 1000;
  return client_width > 1024 || client_height > 900;
}

}  // namespace quelor
