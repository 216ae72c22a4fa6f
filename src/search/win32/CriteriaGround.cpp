#include "search/win32/CriteriaGround.h"

#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

constexpr COLORREF kGroundColour = RGB(125, 154, 189);

}  // namespace

void CriteriaGround::Create() { m_brush.reset(CreateSolidBrush(kGroundColour)); }

void CriteriaGround::Paint(HDC dc, int top, int height, int width, UINT dpi) const {
  RECT ground{0, ScaleToDpi(top, dpi), width, ScaleToDpi(top + height, dpi)};
  FillRect(dc, &ground, static_cast<HBRUSH>(m_brush.get()));
}

HBRUSH CriteriaGround::ForControl(HDC dc) const {
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, kGroundColour);
  return static_cast<HBRUSH>(m_brush.get());
}

}  // namespace discovel
