#pragma once
#include <cstdint>

#include "platform/UiPump.h"

namespace discovel {

// The real pump: PeekMessage until the queue is empty.
class WindowPump final : public UiPump {
 public:
  void Pump() override;
  bool Terminated() const override;
};

// The pump of a walk of a drive or folder, which pumps after every one of its
// millions of entries: each pump asks the window system for its events (some
// 50 microseconds under Wine, as long as listing the entry), and 50 pumps a
// second keep the windows alive and Cancel quick. The tick count paces it: a
// steady clock's reading costs microseconds too under Wine. The application's
// end comes from a handler, so it is looked for after each pump only.
class WalkPump final : public UiPump {
 public:
  static constexpr std::uint64_t kIntervalMs = 20;
  void Pump() override;
  bool Terminated() const override { return m_terminated; }

 private:
  WindowPump m_window;
  std::uint64_t m_last = 0;
  bool m_pumped = false;
  bool m_terminated = false;
};

}  // namespace discovel
