#include "search/win32/FoundFilesWindow.h"

#include <algorithm>

#include "ui/MessagePump.h"

namespace discovel {
namespace {

constexpr int kProgressStep = 10;

}  // namespace

void FoundFilesWindow::CreateStatusBar(int id, int progressId) {
  m_sb1.Create(Handle(), id, progressId, {400, 157, 50}, 1);
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
  // Closing is granted at once; a running search stops after its current entry.
  if (message == WM_CLOSE && m_busy) AbortSearch();
  return FoundListWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace discovel
