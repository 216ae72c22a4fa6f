#pragma once
// The program's dialogs: white body between two blue bands, a title in the top
// band, the buttons at the right of the bottom band, centred on the screen,
// shown modally.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "ui/Button.h"
#include "ui/Controls.h"
#include "ui/DialogIds.h"
#include "ui/ModalForm.h"

namespace discovel {

inline constexpr int kBandHeight = 25;
inline constexpr COLORREF kBandBlue = RGB(0, 95, 140);
inline constexpr COLORREF kTitleColour = RGB(249, 253, 255);

class Dialog : public ModalForm {
 protected:
  struct Look {
    const char* className;
    const char* title;  // in the top band
    DesignSize client;
    COLORREF bandColour = kBandBlue;
    COLORREF bodyColour = RGB(255, 255, 255);
  };
  void CreateDialogWindow(const Look& look);
  // Creates the 59 x 22 buttons of the bottom band, each with its action's
  // command id and caption and bound to it, the last one at the right edge
  // (design units: they keep that place at any size and DPI).
  struct BandButton {
    Button& button;
    Action& action;
  };
  void CreateBandButtons(std::initializer_list<BandButton> buttons);
  // A label for status texts: bold, centred both ways, word-wrapped.
  HWND CreateMessageLabel(int id, const DesignRect& bounds);
  // The design rectangle between the two bands.
  DesignRect Body() const;

  // Paints over the body once it and the bands are painted, behind every control.
  virtual void OnPaintBody(HDC dc) {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PlaceBandButtons(const std::vector<HWND>& buttons);
  void Paint();
  void DrawMessageLabel(const DRAWITEMSTRUCT& item);
  std::string m_title;
  COLORREF m_bandColour = kBandBlue;
  GdiObject m_bodyBrush;
  GdiObject m_bandBrush;
  HBRUSH BodyBrush() const { return static_cast<HBRUSH>(m_bodyBrush.get()); }
};

// The title of a window in its top band, white on the band's colour, in the
// title font at `dpi`.
void DrawBandTitle(HDC dc, const char* title, RECT area, UINT dpi);

}  // namespace discovel
