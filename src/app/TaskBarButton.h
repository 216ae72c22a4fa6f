#pragma once
// Whether the main window has a button on the task bar. The shell gives a
// button to a shown window that has no owner, so the button is taken away by
// giving the window an owner that is never shown.
#include <windows.h>

namespace discovel {

class TaskBarButton {
 public:
  TaskBarButton() = default;
  ~TaskBarButton();
  TaskBarButton(const TaskBarButton&) = delete;
  TaskBarButton& operator=(const TaskBarButton&) = delete;

  void Show(HWND window, bool shown);

 private:
  HWND m_window = nullptr;
  HWND m_hiddenOwner = nullptr;
};

}  // namespace discovel
