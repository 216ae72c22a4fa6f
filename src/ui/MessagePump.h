#pragma once
// Keeping windows alive inside long loops: hand every pending message to its
// handler and return when none is left.
namespace discovel {

void PumpMessages();

// True once WM_QUIT has been seen: the application is ending.
bool ApplicationTerminated();

}  // namespace discovel
