#include "backup/win32/SessionEndBlock.h"

namespace discovel {
namespace {

int g_blocks = 0;

}  // namespace

SessionEndBlock::SessionEndBlock(HWND mainWindow, const wchar_t* reason) : m_window(mainWindow) {
  ++g_blocks;
  // Only the thread that made the window may set its reason: this one, the
  // user-interface thread. Without a reason the refusal still holds.
  if (m_window) ShutdownBlockReasonCreate(m_window, reason);
}

SessionEndBlock::~SessionEndBlock() {
  if (m_window) ShutdownBlockReasonDestroy(m_window);
  --g_blocks;
}

bool SessionEndBlock::Active() { return g_blocks > 0; }

}  // namespace discovel
