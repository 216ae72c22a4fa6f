#pragma once
// Where a top-level window was and how large, kept per user under the
// placement key as five text values named after the form: "-l", "-t", "-w",
// "-h" (the normal bounds) and "-m" (maximized). Saving while maximized keeps
// the normal bounds, so that restoring un-maximizes to them.
#include <string_view>

#include "settings/Settings.h"

namespace discovel {

struct WindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct WindowPlacement {
  WindowBounds bounds;
  bool maximized = false;
};

void SavePlacement(Settings& settings, std::string_view form, const WindowBounds& bounds, bool maximized);

// The placement to give a window of design size `designWidth` x
// `designHeight` on a primary screen of `screenWidth` x `screenHeight`:
// centred where nothing is stored; a stored value that is no number leaves
// it and the values after it alone; then kept reachable on the screen.
WindowPlacement RestorePlacement(Settings& settings, std::string_view form, int designWidth, int designHeight,
                                 int screenWidth, int screenHeight);

}  // namespace discovel
