#pragma once
// While a restore moves the catalogue, ending the Windows session would cut
// it off between its two renames. For as long as a block lives, the main
// window refuses WM_QUERYENDSESSION and Windows shows the reason beside the
// program in its list of programs that hold the session open.
#include <windows.h>

#include "platform/AppContext.h"

namespace discovel {

class SessionEndBlock {
 public:
  // Counts in `run.sessionEndBlocks` while it lives. `mainWindow` is the window
  // Windows names in that list (may be null).
  SessionEndBlock(RunState& run, HWND mainWindow, const wchar_t* reason);
  ~SessionEndBlock();
  SessionEndBlock(const SessionEndBlock&) = delete;
  SessionEndBlock& operator=(const SessionEndBlock&) = delete;

 private:
  RunState& m_run;
  HWND m_window;
};

// What the main window answers WM_QUERYENDSESSION with is FALSE while this holds.
inline bool SessionEndBlocked(const RunState& run) { return run.sessionEndBlocks > 0; }

}  // namespace discovel
