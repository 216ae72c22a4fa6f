#include "app/TaskBarButton.h"

namespace discovel {

TaskBarButton::~TaskBarButton() {
  if (!m_hiddenOwner) return;
  // Destroying an owner destroys what it owns: the window must go its own way.
  if (m_window && IsWindow(m_window) && GetWindow(m_window, GW_OWNER) == m_hiddenOwner) {
    SetWindowLongPtrW(m_window, GWLP_HWNDPARENT, 0);
  }
  DestroyWindow(m_hiddenOwner);
}

void TaskBarButton::Show(HWND window, bool shown) {
  m_window = window;
  if (!shown && !m_hiddenOwner) {
    m_hiddenOwner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  }
  HWND owner = shown ? nullptr : m_hiddenOwner;
  if (GetWindow(window, GW_OWNER) == owner) return;
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  // The task bar looks at a window's owner only when the window is shown.
  if (IsWindowVisible(window)) {
    const bool minimized = IsIconic(window) != FALSE;
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, minimized ? SW_SHOWMINNOACTIVE : SW_SHOW);
  }
}

}  // namespace discovel
