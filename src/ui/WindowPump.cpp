#include "ui/WindowPump.h"

#include "ui/MessagePump.h"

namespace discovel {

void WindowPump::Pump() { PumpMessages(); }

bool WindowPump::Terminated() const { return ApplicationTerminated(); }

}  // namespace discovel
