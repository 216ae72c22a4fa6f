#include "ui/WindowPump.h"

#include <windows.h>

#include "ui/MessagePump.h"

namespace discovel {

void WindowPump::Pump() { PumpMessages(); }

bool WindowPump::Terminated() const { return ApplicationTerminated(); }

void WalkPump::Pump() {
  const ULONGLONG now = GetTickCount64();
  if (m_pumped && now - m_last < kIntervalMs) return;
  m_pumped = true;
  m_last = now;
  m_window.Pump();
  m_terminated = m_terminated || m_window.Terminated();
}

}  // namespace discovel
