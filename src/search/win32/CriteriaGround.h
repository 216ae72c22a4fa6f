#pragma once
// The blue ground the criteria of the search and duplicates windows stand
// on: painted below the band, and given to their labels, boxes and buttons,
// which are then drawn on it.
#include <windows.h>

#include "platform/win32/Handles.h"

namespace discovel {

class CriteriaGround {
 public:
  void Create();
  // The stretch from `top` to `top` + `height` (design units) across `width` pixels.
  void Paint(HDC dc, int top, int height, int width, UINT dpi) const;
  // What WM_CTLCOLOR* answers for a control standing on the ground.
  HBRUSH ForControl(HDC dc) const;

 private:
  GdiObject m_brush;
};

}  // namespace discovel
