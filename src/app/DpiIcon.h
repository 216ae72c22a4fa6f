#pragma once
// The program's icon at the size the screen's pixel density asks for. The
// icon resource holds images drawn for each common size; loading one at the
// exact size picks that image instead of stretching another.
#include <windows.h>

#include "platform/win32/Handles.h"

namespace discovel {

// The DPI the task bar and a window that has none of its own are drawn at.
UINT SystemDpi();
// The DPI of the monitor the window is on (per-monitor aware), else the system's.
UINT WindowDpi(HWND window);
// SM_CXICON or SM_CXSMICON at that DPI. Before Windows 10 (1607) there is no
// per-DPI metric and the program runs at the system DPI: the plain metric is right.
int IconSizeForDpi(int metric, UINT dpi);
// The icon resource at size x size pixels, owned by the caller; empty when missing.
IconHandle LoadIconAtSize(HINSTANCE module, WORD iconId, int size);

// A window's own big and small icons (WM_SETICON), which take the place of the
// class icons. They are loaded for the window's DPI and must outlive the window.
class WindowIcons {
 public:
  // Loads both for the window's present DPI and hands them to it; again after
  // the window moved to a monitor of another DPI.
  void Apply(HWND window, HINSTANCE module, WORD iconId);

 private:
  IconHandle m_big;
  IconHandle m_small;
};

}  // namespace discovel
