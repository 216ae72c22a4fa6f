#pragma once
// What the typed control wrappers share: a child control created in the
// program's font, owned by its wrapper. The wrapper destroys the control when
// it goes, and forgets it when the control goes first (its form closed).
#include <windows.h>

#include "ui/Form.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

// Where a control sits in its parent's client area, in design units (pixels
// at 96 DPI).
using ControlBounds = DesignRect;

class ChildWindow : public CommandTarget {
 public:
  ChildWindow() = default;
  virtual ~ChildWindow();
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  // The control's WM_COMMAND notifications, from its form.
  bool OnCommandCode(WORD code) override { return false; }

  // Creates the control; `commonControls` (ICC_...) registers the common
  // control class first, since a program may not have done so yet. Throws
  // AppError when the control cannot be created.
  void Create(HWND parent, const wchar_t* className, int id, const ControlBounds& bounds, DWORD style,
              DWORD exStyle = 0, DWORD commonControls = 0, unsigned anchors = kAnchorTopLeft);
  // Destroys the control now. Its notifications sent while it goes are
  // ignored: Handle() is already null then.
  void Destroy();

  // Stops the control painting while it lives (rows or items changed by the
  // thousand, each of which a painting control lays out on its own) and
  // repaints it at the end. Guards nest: only the outermost one repaints. A
  // hidden control is left as it is.
  class RedrawSuspension {
   public:
    explicit RedrawSuspension(ChildWindow& control);
    ~RedrawSuspension();
    RedrawSuspension(const RedrawSuspension&) = delete;
    RedrawSuspension& operator=(const RedrawSuspension&) = delete;

   private:
    ChildWindow& m_control;
    bool m_hidden;
  };

  // While it lives, messages sent to the control reach it directly, not
  // through this wrapper's subclass, which costs Wine about a tenth of a
  // millisecond a message: for items sent by the hundred, with no message
  // loop run meanwhile. Guards nest.
  class DirectSends {
   public:
    explicit DirectSends(ChildWindow& control);
    ~DirectSends();
    DirectSends(const DirectSends&) = delete;
    DirectSends& operator=(const DirectSends&) = delete;

   private:
    ChildWindow& m_control;
  };

 protected:
  // The control's WM_COMMAND notifications come to OnCommandCode from now on.
  void TakeCommands();
  // The control's own messages before the control sees them. True: handled,
  // and `result` is the answer.
  virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  HWND m_hwnd = nullptr;
  int m_redrawSuspensions = 0;
  int m_directSends = 0;
};

}  // namespace discovel
