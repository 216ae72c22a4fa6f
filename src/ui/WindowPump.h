#pragma once
#include "platform/UiPump.h"

namespace discovel {

// The real pump: PeekMessage until the queue is empty.
class WindowPump final : public UiPump {
 public:
  void Pump() override;
  bool Terminated() const override;
};

}  // namespace discovel
