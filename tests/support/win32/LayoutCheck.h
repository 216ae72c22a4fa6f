#pragma once
// Checks of a window's layout that hold at any DPI: every caption fits its
// control in the control's own font, no control reaches out of the client
// area, and no two controls lie on top of each other.
#include <windows.h>

#include <string>
#include <vector>

namespace discovel::test {

// The DPI the DPI sweep runs the test program at (DISCOVEL_EXPECT_DPI), or 96.
UINT SweepDpi();

// What is wrong with the layout of the visible controls of `window` (its
// direct children), one line each; empty when nothing is. Callable from a
// thread other than the window's.
std::vector<std::string> LayoutFaults(HWND window);

// The height of the font `control` draws its text in, in pixels.
int FontHeight(HWND control);

// Tells `window` that its screen's scale is now `dpi` instead of `from`, with
// its rectangle grown in proportion, as Windows does (WM_DPICHANGED); returns
// the rectangle suggested.
RECT ChangeDpi(HWND window, UINT from, UINT dpi);

}  // namespace discovel::test
