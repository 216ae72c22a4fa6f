#include "ui/MessagePump.h"

#include <windows.h>

#include "ui/Form.h"

namespace discovel {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the loop that owns it: it stays pending, and so the
      // application is seen ending, until that loop takes it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchQueued(msg);
  }
}

void DispatchQueued(MSG& msg) {
  if (Form::RouteMessage(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool ApplicationTerminated() {
  // WM_QUIT is retrieved whatever the filter; a filter of it alone leaves
  // every other message where it is.
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace discovel
