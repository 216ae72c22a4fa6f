#pragma once
// What the search and duplicates windows share beyond the found-files list:
// the progress in the status bar, Go that is Cancel while a search runs, and
// closing, which stops a running search first.
#include <chrono>
#include <functional>

#include "platform/AppContext.h"
#include "search/SearchEngine.h"
#include "search/win32/FoundListWindow.h"
#include "ui/WindowPump.h"

namespace discovel {

class FoundFilesWindow : public FoundListWindow, protected SearchObserver {
 protected:
  explicit FoundFilesWindow(AppContext& context) : FoundListWindow(context) {}

  // Makes the status bar with its progress bar.
  void CreateStatusBar(int id, int progressId);
  // Go: while a search runs it asks that search to stop, and the search stays
  // busy until it has wound down, so no second one starts inside it; no
  // search starts while a file waits for its disc. Otherwise `search` runs busy.
  void GoOrCancel(const std::function<void()>& search);
  // Stops the running search after its current entry.
  virtual void AbortSearch() = 0;
  // The search says it is done with an archive: one progress step; full stays full.
  void ArchiveSearched() override;
  bool Busy() const override { return m_busy; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  WindowPump m_pump;
  // What the search pumps: every window message waits at most this long,
  // and a long search does not ask the window system for its events after
  // every few hundred entries (under Wine each asking costs a server call).
  PacedPump m_searchPump{m_pump, std::chrono::milliseconds(20)};
  bool m_busy = false;
};

}  // namespace discovel
