#pragma once
// What the window benchmarks share: reading a status bar and clicking a
// column header the way the mouse does, sent so that it returns once the
// rows are sorted.
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace discovel::bench {

inline std::string StatusText(HWND statusBar) {
  char text[256] = {};
  SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

inline void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT bounds{};
  SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&bounds));
  const LPARAM centre = MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageA(header, WM_LBUTTONUP, 0, centre);
}

}  // namespace discovel::bench
