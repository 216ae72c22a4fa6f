#pragma once
// A borderless area whose child controls scroll sideways when they reach past
// its right edge; the scroll bar tracks live.
#include <windows.h>

#include <functional>

#include "ui/ChildWindow.h"

namespace discovel {

class ScrollBox final {
 public:
  ScrollBox() = default;
  ~ScrollBox();
  ScrollBox(const ScrollBox&) = delete;
  ScrollBox& operator=(const ScrollBox&) = delete;

  // Throws AppError when the window cannot be created.
  void Create(HWND parent, int id, const ControlBounds& bounds, HBRUSH background);
  HWND Handle() const { return m_hwnd; }

  // The right edge of the widest child, in content coordinates (not scrolled).
  int ContentRight() const;
  // Sets the scroll range from the children and keeps the offset inside it.
  void UpdateRange();
  int ScrollOffset() const { return m_offset; }

  // The box got a new size; the range is updated after it.
  std::function<void()> onResize;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ScrollTo(int offset);

  HWND m_hwnd = nullptr;
  HBRUSH m_background = nullptr;
  int m_offset = 0;
};

}  // namespace discovel
