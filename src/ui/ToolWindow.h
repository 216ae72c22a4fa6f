#pragma once
// A resizable window of the program that lists things (the search, the
// duplicates, a check's result, the catalogue): shown modally, a blue band
// across the top with its title, no smaller than its design size, its list
// filling the window from below its bar down to the status bar, the list's
// pop-up menu, Escape and closing, which is always granted; the
// application-starting cursor while busy; minimizing it minimizes the whole
// program.
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"
#include "ui/ModalForm.h"
#include "ui/StatusBar.h"

namespace discovel {

class ToolWindow : public ModalForm {
 protected:
  struct Frame {
    const char* className;
    const char* bandTitle;
    // Where the window's placement is kept across runs, under the form's
    // name; without a store it opens centred every time.
    Settings* placementStore = nullptr;
    std::string_view formName;
    int width = 584;  // the design size, also the smallest
    int height = 360;
    // The status bar's panels' design widths (the last takes the rest) and
    // the progress bar over one of them (-1: none).
    std::vector<int> statusPanels{400, 157, 50};
    int progressPanel = 1;
  };
  // Creates the window over the active window, places it on the screen and
  // makes its status bar; Escape closes it.
  void CreateToolWindow(const Frame& frame);
  // The list that fills the window from `top` (design units) down to the
  // status bar, with its pop-up menu.
  void FrameList(ListView& list, int top, MenuHandle popupMenu);
  // The list starts at `top` now (a panel above it opened or closed).
  void MoveListTop(int top);
  // A control at the left of the list (a tree), `width` design units wide and
  // as high as the list, which starts right of it.
  void FrameBeside(HWND control, int width);
  StatusBar& Status() { return m_status; }
  // The user closed the window (it may still be working).
  bool Closing() const { return m_closing; }

  // Paints what lies below the band (the band itself is painted already).
  virtual void PaintBody(HDC dc, const RECT& client) {}
  // The window's size changed; the list has its place already.
  virtual void OnResized() {}
  // The window closes: what runs stops.
  virtual void OnClosing() {}
  // True while the window works: the cursor shows it.
  virtual bool Busy() const { return false; }
  void OnDpiChanged() override { PlaceList(); }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void PlaceList();
  Frame m_frame{};
  GdiObject m_bandBrush;
  StatusBar m_status;
  ListView* m_list = nullptr;
  int m_listTop = 0;
  HWND m_beside = nullptr;
  int m_besideWidth = 0;
  MenuHandle m_popupMenu;
  bool m_closing = false;
};

// Shows the application-starting cursor (an arrow with an hourglass) or the arrow.
void ShowBusyCursor(bool busy);

}  // namespace discovel
