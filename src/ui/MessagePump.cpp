#include "ui/MessagePump.h"

#include <windows.h>

#include "ui/Form.h"

namespace discovel {
namespace {
bool g_terminated = false;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the loop that owns it.
      g_terminated = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchQueued(msg);
  }
}

void DispatchQueued(MSG& msg) {
  if (Form::RouteMessage(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool ApplicationTerminated() { return g_terminated; }

}  // namespace discovel
