#pragma once
// The DPI the program's windows are laid out at, and the system calls that
// take one. The per-monitor functions are missing before Windows 10: they
// are looked up at run time, and without them the screen's DPI holds.
#include <windows.h>

#include "ui/core/DesignLayout.h"

namespace discovel {

// The DPI of the primary screen (what a window is made at before it knows
// its monitor).
UINT SystemDpi();
// The DPI `window` is laid out at: its form's, else what Windows says for it.
UINT WindowDpi(HWND window);
// What Windows says the DPI of `window` is (its monitor's, for a per-monitor
// aware program); the system's before Windows 10.
UINT SystemWindowDpi(HWND window);
// `design` units in pixels for `window`.
int Scaled(HWND window, int design);
// GetSystemMetrics at `dpi`.
int SystemMetricAt(int index, UINT dpi);
// The outer size of a window whose client area is `clientWidth` x
// `clientHeight` pixels, at `dpi` (a menu bar taken as one line).
SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi);

}  // namespace discovel
