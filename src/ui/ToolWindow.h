#pragma once
// A resizable window of the program that lists things (the search and the
// catalogue): shown modally, a blue band across the top with its title, no
// smaller than its design size, the application-starting cursor while busy,
// and minimizing it minimizes the whole program.
#include <string_view>

#include "ui/Dialog.h"

namespace discovel {

class ToolWindow : public Dialog {
 protected:
  struct Frame {
    const char* className;
    const char* bandTitle;
    int width;   // the design size, also the smallest
    int height;
    // Where the window's placement is kept across runs, under the form's
    // name; without a store it opens centred every time.
    Settings* placementStore = nullptr;
    std::string_view formName;
  };
  // Creates the window over the active window and places it on the screen.
  void CreateToolWindow(const Frame& frame);
  // Paints what lies below the band (the band itself is painted already).
  virtual void PaintBody(HDC dc, const RECT& client) {}
  // The window's size changed.
  virtual void OnResized() {}
  // True while the window works: the cursor shows it.
  virtual bool Busy() const { return false; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  Frame m_frame{};
  GdiObject m_bandBrush;
};

// Shows the application-starting cursor (an arrow with an hourglass) or the arrow.
void ShowBusyCursor(bool busy);

}  // namespace discovel
