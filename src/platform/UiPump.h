#pragma once
// Long loops of the core (scan, search) keep the windows alive by handing the
// pending window messages to their handlers at fixed points. A Cancel button's
// handler runs inside Pump() and sets the loop's abort flag.
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

}  // namespace discovel
