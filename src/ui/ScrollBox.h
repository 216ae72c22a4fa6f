#pragma once
// A borderless area whose child controls scroll sideways when they reach past
// its right edge; the scroll bar tracks live.
#include <windows.h>

#include <functional>

#include "ui/ChildWindow.h"

namespace discovel {

class ScrollBox final : public ChildWindow {
 public:
  ScrollBox() = default;
  ~ScrollBox() override;

  // Placed by its form at `bounds` (design units) with `anchors`. Throws
  // AppError when the window cannot be created.
  void Create(HWND parent, int id, const ControlBounds& bounds, HBRUSH background,
              unsigned anchors = kAnchorTopLeft);

  // Places `child` (a control inside the box) at `rect`, design units in the
  // content's coordinates (not scrolled), at the box's DPI.
  void PlaceChild(HWND child, const DesignRect& rect) const;
  // The right edge of the widest child, in content coordinates (not
  // scrolled), in pixels.
  int ContentRight() const;
  // Sets the scroll range from the children and keeps the offset inside it.
  void UpdateRange();
  int ScrollOffset() const { return m_offset; }

  // The box got a new size; the range is updated after it.
  std::function<void()> onResize;

 protected:
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ScrollTo(int offset);
  void Scroll(WORD request);

  HBRUSH m_background = nullptr;
  int m_offset = 0;
};

}  // namespace discovel
