#include "search/win32/FoundFilesWindow.h"

#include <algorithm>

#include "ui/MessagePump.h"
#include "platform/ModalResult.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

constexpr int kProgressStep = 10;

}  // namespace

void FoundFilesWindow::CreateStatusBar(int id, int progressId) {
  m_sb1.Create(Handle(), id, progressId, {400, 157, 50}, 1);
}

void FoundFilesWindow::PlaceList(int top) {
  if (!m_sb1.Handle()) return;  // sizes sent while the window is being made
  m_sb1.Layout();
  const DesignSize client = DesignClient();
  const int statusHeight = DesignCovering(m_sb1.Height(), Dpi());
  Place(m_found.Handle(), {0, top, client.width, std::max(0, client.height - statusHeight - top)}, kAnchorAll);
  m_found.FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void FoundFilesWindow::GoOrCancel(const std::function<void()>& search) {
  if (m_busy) {
    AbortSearch();
    return;
  }
  if (m_found.GettingFile()) return;
  m_busy = true;
  struct Idle {
    bool& busy;
    ~Idle() { busy = false; }
  } idle{m_busy};
  PumpMessages();
  search();
}

void FoundFilesWindow::ArchiveSearched() { m_sb1.SetProgress(std::min(100, m_sb1.Progress() + kProgressStep)); }

LRESULT FoundFilesWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == m_found.Handle()) {
        PopUpMenu(m_popupMenu.get(), m_found.List().PopupMenuPoint(lParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      m_closing = true;
      if (m_busy) AbortSearch();
      EndModal(kModalCancel);
      return 0;
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
