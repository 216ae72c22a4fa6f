#pragma once
// A search running inside its window (the search's, the duplicates'): the
// window looks busy meanwhile (the cursor, the list greyed and not painted,
// Go showing Cancel, "Searching..." and the progress in the status bar), Go
// asks the running search to stop, and closing the window stops it too. A
// window has one as a member and is its search's observer through it.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "search/SearchEngine.h"
#include "search/win32/FoundFilesList.h"
#include "ui/Action.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/WindowPump.h"

namespace discovel {

class SearchRun final : public SearchObserver {
 public:
  struct Parts {
    Form& form;
    UINT goCommand;  // Go's command; its button has the same id
    StatusBar& status;
    FoundFilesList& list;
    // Stops the running search after its current entry.
    std::function<void()> abort;
    // The window's own controls follow the look: off while it searches.
    std::function<void(bool idle)> showIdle;
  };
  explicit SearchRun(Parts parts) : m_parts(std::move(parts)) {}
  SearchRun(const SearchRun&) = delete;
  SearchRun& operator=(const SearchRun&) = delete;

  // Go: while a search runs it asks that search to stop, and the search stays
  // busy until it has wound down, so no second one starts inside it; no
  // search starts while a file waits for its disc. Otherwise `search` runs busy.
  void GoOrCancel(const std::function<void()>& search);
  bool Busy() const { return m_busy; }
  // The search is over for the window, though its call has not returned.
  void Done() { m_busy = false; }
  // The window closes: a running search stops after its current entry.
  void Close();

  // The look of a running search, and back to the idle one.
  void ShowRunning();
  void ShowIdle();

  // What the search pumps: every window message waits at most this long,
  // and a long search does not ask the window system for its events after
  // every few hundred entries (under Wine each asking costs a server call).
  UiPump& Pump() { return m_searchPump; }

  std::function<void(const std::string& message)> onRowIncomplete;
  std::function<void(const std::string& message)> onArchiveFailed;

 private:
  // One progress step per archive; full stays full.
  void ArchiveSearched() override;
  void RowIncomplete(const std::string& message) override;
  void ArchiveFailed(const std::string& message) override;
  void ShowGo(bool go);

  Parts m_parts;
  WindowPump m_pump;
  PacedPump m_searchPump{m_pump, std::chrono::milliseconds(20)};
  bool m_busy = false;
  std::optional<ListView::RedrawSuspension> m_quiet;  // while searching
};

}  // namespace discovel
