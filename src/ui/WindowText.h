#pragma once
// Text into and out of windows (captions, fields, labels) and onto what the
// program paints. The program's text is UTF-8 and a Unicode window's is
// UTF-16; these are where the two meet, so that no caller converts by hand.
#include <windows.h>

#include <string>
#include <string_view>

namespace discovel {

// The whole text of `window` (a window of this process), however long.
std::string TextOf(HWND window);
// Gives `window` the text; false when the window refused it.
bool SetTextOf(HWND window, std::string_view text);
// The same, but leaves a window that shows the text already alone: an edit
// box tells of no change and a label does not flicker.
void SetTextOfIfChanged(HWND window, std::string_view text);

// DrawText of `text` in `area` with `format` (DT_...); the height drawn,
// and with DT_CALCRECT the area the text needs.
int DrawTextIn(HDC dc, std::string_view text, RECT& area, UINT format);
// The size of `text` on one line in the font selected into `dc`.
SIZE TextExtent(HDC dc, std::string_view text);

}  // namespace discovel
