#pragma once
// The program's dialogs: white body between two blue bands, a title in the top
// band, the buttons at the right of the bottom band, centred on the screen,
// shown modally with the form seeing its keys first.
#include <memory>
#include <set>
#include <vector>
#include <string>

#include "platform/ModalResult.h"
#include "platform/win32/Handles.h"
#include "ui/Button.h"
#include "ui/Controls.h"
#include "ui/DialogIds.h"
#include "ui/Form.h"
#include "ui/MessagePump.h"

namespace discovel {

inline constexpr int kBandHeight = 25;
inline constexpr COLORREF kBandBlue = RGB(0, 95, 140);
inline constexpr COLORREF kTitleColour = RGB(249, 253, 255);

class Dialog : public Form {
 public:
  // Shows the dialog and runs its modal loop until a result is set.
  int ShowModal();
  void EndModal(int result);
  int ModalResult() const { return m_modalResult; }
  // The window that owns the dialog. Without one it is the active window,
  // which is none while the program is in the background: a dialog that an
  // event opens names its owner.
  void SetOwner(HWND owner) { m_owner = owner; }

 protected:
  struct Look {
    const char* className;
    const char* title;  // in the top band
    int clientWidth;
    int clientHeight;
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
  HWND CreateMessageLabel(int id, int x, int y, int width, int height);
  // Enter moves to the next control (Shift+Enter to the previous) in this edit.
  void UseEditKeyFilter(HWND edit) { m_filteredEdits.insert(edit); }

  // Runs once, after the window exists and before it is first shown.
  virtual void OnShowing() {}
  // The window became the active window.
  virtual void OnActivated() {}
  // Paints over the body once it and the bands are painted, behind every control.
  virtual void OnPaintBody(HDC dc) {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  void PlaceBandButtons(const std::vector<HWND>& buttons);
  void Paint();
  void DrawMessageLabel(const DRAWITEMSTRUCT& item);
  std::string m_title;
  int m_clientHeight = 0;
  COLORREF m_bandColour = kBandBlue;
  GdiObject m_bodyBrush;
  GdiObject m_bandBrush;
  HBRUSH BodyBrush() const { return static_cast<HBRUSH>(m_bodyBrush.get()); }
  int m_modalResult = 0;
  HWND m_owner = nullptr;
  std::set<HWND> m_filteredEdits;
};

// While it lives, every other shown window of the program's thread is
// disabled, as they are behind a modal dialog.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND keep);
  ~OtherWindowsDisabled();
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  std::vector<HWND> m_disabled;
};

// The title of a window in its top band, white on the band's colour, in the
// title font at `dpi`.
void DrawBandTitle(HDC dc, const char* title, RECT area, UINT dpi);

// After a modal dialog closed: the form that opened it decides again what it
// allows (its KeyState).
void ModalDialogReturned(HWND owner);

// The opener convention of every modal window: at most one open at a time (a
// second call returns `alreadyOpen` at once), created and shown modally, then
// destroyed (also when an error ends the modal loop) before pending messages
// are processed, so that nothing reaches a dialog that has ended.
template <class T, class Make>
int RunModalOnce(T*& current, Make make, int alreadyOpen = 0) {
  if (current) return alreadyOpen;
  int result = 0;
  HWND owner = nullptr;
  {
    std::unique_ptr<T> form = make();
    struct Forget {
      T*& current;
      ~Forget() { current = nullptr; }
    } forget{current};
    current = form.get();
    form->Create();
    owner = GetWindow(form->Handle(), GW_OWNER);
    result = form->ShowModal();
  }
  PumpMessages();
  ModalDialogReturned(owner);
  return result;
}

}  // namespace discovel
