#pragma once
// While a restore moves the catalogue, ending the Windows session would cut
// it off between its two renames. For as long as a block lives, the main
// window refuses WM_QUERYENDSESSION and Windows shows the reason beside the
// program in its list of programs that hold the session open.
#include <windows.h>

namespace discovel {

class SessionEndBlock {
 public:
  // `mainWindow` is the window Windows names in that list (may be null).
  SessionEndBlock(HWND mainWindow, const wchar_t* reason);
  ~SessionEndBlock();
  SessionEndBlock(const SessionEndBlock&) = delete;
  SessionEndBlock& operator=(const SessionEndBlock&) = delete;

  // What the main window answers WM_QUERYENDSESSION with is FALSE while this holds.
  static bool Active();

 private:
  HWND m_window;
};

}  // namespace discovel
