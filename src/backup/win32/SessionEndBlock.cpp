#include "backup/win32/SessionEndBlock.h"

namespace discovel {

SessionEndBlock::SessionEndBlock(RunState& run, HWND mainWindow, const wchar_t* reason)
    : m_run(run), m_window(mainWindow) {
  ++m_run.sessionEndBlocks;
  // Only the thread that made the window may set its reason: this one, the
  // user-interface thread. Without a reason the refusal still holds.
  if (m_window) ShutdownBlockReasonCreate(m_window, reason);
}

SessionEndBlock::~SessionEndBlock() {
  if (m_window) ShutdownBlockReasonDestroy(m_window);
  --m_run.sessionEndBlocks;
}

}  // namespace discovel
