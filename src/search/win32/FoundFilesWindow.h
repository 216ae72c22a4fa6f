#pragma once
// What the search and duplicates windows share: the found-files list filling
// the window down to the status bar with its progress, Go that is Cancel
// while a search runs, the list's pop-up menu, and closing, which is always
// granted and stops a running search first.
#include <chrono>
#include <functional>
#include <string>

#include "platform/AppContext.h"
#include "search/SearchEngine.h"
#include "search/win32/FoundFilesList.h"
#include "ui/StatusBar.h"
#include "ui/ToolWindow.h"
#include "ui/WindowPump.h"

namespace discovel {

class FoundFilesWindow : public ToolWindow, protected SearchObserver {
 public:
  void KeyState() override { m_found.KeyState(); }

 protected:
  explicit FoundFilesWindow(AppContext& context) : m_context(context), m_found(context) {}

  // Makes the status bar with its progress bar.
  void CreateStatusBar(int id, int progressId);
  // The list from `top` (design units) down to the status bar, whose height follows its font.
  void PlaceList(int top);
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

  AppContext& m_context;
  WindowPump m_pump;
  // What the search pumps: every window message waits at most this long,
  // and a long search does not ask the window system for its events after
  // every few hundred entries (under Wine each asking costs a server call).
  PacedPump m_searchPump{m_pump, std::chrono::milliseconds(20)};
  FoundFilesList m_found;
  StatusBar m_sb1;
  MenuHandle m_popupMenu;  // the list's
  bool m_busy = false;
  bool m_closing = false;
};

}  // namespace discovel
