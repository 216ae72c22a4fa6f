#pragma once
// Long loops of the core (scan, search) keep the windows alive by handing the
// pending window messages to their handlers at fixed points. A Cancel button's
// handler runs inside Pump() and sets the loop's abort flag.
#include <chrono>

namespace discovel {

class UiPump {
 public:
  virtual ~UiPump() = default;
  virtual void Pump() = 0;
  // True once the application is ending (WM_QUIT was seen).
  virtual bool Terminated() const = 0;
};

// For loops that run where nothing needs to stay alive.
class NoPump final : public UiPump {
 public:
  void Pump() override {}
  bool Terminated() const override { return false; }
};

// Hands on at most one pump per interval: for loops that would pump after
// every one of thousands of quick steps, where each pump has a price (it asks
// the window system for its events) and 50 a second keep the windows alive.
class PacedPump final : public UiPump {
 public:
  PacedPump(UiPump& inner, std::chrono::milliseconds interval) : m_inner(inner), m_interval(interval) {}
  void Pump() override {
    const auto now = std::chrono::steady_clock::now();
    if (m_pumped && now - m_last < m_interval) return;
    m_pumped = true;
    m_last = now;
    m_inner.Pump();
  }
  bool Terminated() const override { return m_inner.Terminated(); }

 private:
  UiPump& m_inner;
  std::chrono::milliseconds m_interval;
  std::chrono::steady_clock::time_point m_last{};
  bool m_pumped = false;
};

}  // namespace discovel
