#pragma once
// Keeping windows alive inside long loops: hand every pending message to its
// handler and return when none is left.
#include <windows.h>

namespace discovel {

void PumpMessages();

// One queued message through key preview and dialog navigation to its window;
// every message loop of the program uses it.
void DispatchQueued(MSG& msg);

// True while a WM_QUIT is pending in this thread's queue: the application is
// ending. A nested pump leaves the quit there for the loop that owns it, so it
// stays true until that loop has taken it. Like any PeekMessage, it delivers
// the messages other threads have sent to this one.
bool ApplicationTerminated();

}  // namespace discovel
