#include "drives/DriveReady.h"

#include <thread>

namespace discovel {

bool AwaitDriveReady(UiPump& pump, const std::function<bool()>& ready, const std::function<bool()>& stopRequested,
                     const DriveReadyWait& wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait.limit;
  while (!ready()) {
    pump.Pump();
    if (pump.Terminated() || stopRequested()) return false;
    if (std::chrono::steady_clock::now() >= deadline) return true;
    std::this_thread::sleep_for(wait.step);
  }
  return true;
}

}  // namespace discovel
