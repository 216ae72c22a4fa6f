#pragma once
// The frame of the dialogs that work on the disc in the read device through a
// session (adding a disc, checking one): the status message below the top
// band, a progress bar, the session opened once the window is up, and the
// close box as Cancel.
#include <string_view>

#include "ui/Dialog.h"
#include "ui/WindowPump.h"

namespace discovel {

class DiscSessionDialog : public Dialog {
 protected:
  // `owner`: the window the dialog belongs to; null takes the active window.
  explicit DiscSessionDialog(HWND owner) { SetOwner(owner); }

  // The session: opened once, on the first activation, so that its work
  // starts with the window up; cancelled by the close box too.
  virtual bool SessionOpened() const = 0;
  virtual void OpenSession() = 0;
  virtual void CancelSession() = 0;

  // The status message across the client area below the top band, `height`
  // design units tall.
  void CreateStatus(int height);
  // Shown at once, also when no pump follows before the next long step.
  void ShowStatus(std::string_view text);
  // A bar of 0 to 100 per cent at `bounds`, as wide as the window.
  HWND CreateProgressBar(const DesignRect& bounds, int id = 0);
  void SetPercent(int percent);

  void OnActivated() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // What keeps the window alive in the session's long loops.
  WindowPump m_pump;

 private:
  HWND m_lblMsg = nullptr;
  HWND m_progress = nullptr;
};

}  // namespace discovel
