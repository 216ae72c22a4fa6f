#include "scan/win32/DiscSessionDialog.h"

#include <commctrl.h>

#include <string>

#include "platform/ProgramName.h"
#include "ui/DialogIds.h"

namespace discovel {
namespace {

// Posted on the first activation so the session starts once the window is up.
constexpr UINT kMsgOpen = WM_APP + 1;

}  // namespace

void DiscSessionDialog::CreateStatus(int height) {
  m_lblMsg = CreateMessageLabel(kLblMsgId, {0, kBandHeight, DesignClient().width, height});
}

void DiscSessionDialog::ShowStatus(std::string_view text) {
  SetTextOf(m_lblMsg, text);
  UpdateWindow(m_lblMsg);
}

HWND DiscSessionDialog::CreateProgressBar(const DesignRect& bounds, int id) {
  m_progress = CreateChild(Handle(), PROGRESS_CLASSW, "", PBS_SMOOTH, bounds, id, FontRole::Normal, 0, kAnchorTopWide);
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 100);
  return m_progress;
}

void DiscSessionDialog::SetPercent(int percent) { SendMessageW(m_progress, PBM_SETPOS, percent, 0); }

void DiscSessionDialog::OnActivated() {
  SetTextOf(Handle(), kProgramName);
  if (!SessionOpened()) PostMessageW(Handle(), kMsgOpen, 0, 0);
}

LRESULT DiscSessionDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgOpen:
      OpenSession();
      return 0;
    case WM_CLOSE:
      // The close box is Cancel: it also stops the running work.
      CancelSession();
      return 0;
    default:
      return Dialog::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
