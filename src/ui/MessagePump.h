#pragma once
// Keeping windows alive inside long loops: hand every pending message to its
// handler and return when none is left.
#include <windows.h>

namespace discovel {

void PumpMessages();

// One queued message through key preview and dialog navigation to its window;
// every message loop of the program uses it.
void DispatchQueued(MSG& msg);

// True once WM_QUIT has been seen: the application is ending.
bool ApplicationTerminated();

}  // namespace discovel
