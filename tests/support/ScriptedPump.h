#pragma once
// A message pump for core tests: counts its pumps and runs `onPump` at each,
// as a Cancel button's handler would run inside the real pump. A pump started
// from inside `onPump` does not run it again.
#include <functional>

#include "platform/UiPump.h"

namespace discovel::test {

class ScriptedPump final : public UiPump {
 public:
  void Pump() override {
    ++pumps;
    if (onPump && !m_inside) {
      m_inside = true;
      onPump();
      m_inside = false;
    }
  }
  bool Terminated() const override { return terminated; }

  std::function<void()> onPump;
  int pumps = 0;
  bool terminated = false;

 private:
  bool m_inside = false;
};

}  // namespace discovel::test
