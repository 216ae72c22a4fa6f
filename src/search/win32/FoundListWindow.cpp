#include "search/win32/FoundListWindow.h"

#include <algorithm>

#include "platform/ModalResult.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

void FoundListWindow::PlaceList(int top) {
  if (!m_sb1.Handle()) return;  // sizes sent while the window is being made
  m_sb1.Layout();
  const DesignSize client = DesignClient();
  const int statusHeight = DesignCovering(m_sb1.Height(), Dpi());
  Place(m_found.Handle(), {0, top, client.width, std::max(0, client.height - statusHeight - top)}, kAnchorAll);
  m_found.FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT FoundListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == m_found.Handle()) {
        PopUpMenu(m_popupMenu.get(), m_found.List().PopupMenuPoint(lParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      m_closing = true;
      EndModal(kModalCancel);
      return 0;
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
