#pragma once
// The program's icon at the size the screen's pixel density asks for. The
// icon resource holds images drawn for each common size; loading one at the
// exact size picks that image instead of stretching another.
#include <windows.h>

#include "platform/win32/Handles.h"

namespace discovel {

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
