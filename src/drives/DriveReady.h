#pragma once
// A drive whose tray was just closed answers "not ready" for some seconds
// while the disc spins up; reading it at once would take the disc for an
// empty or unreadable one. The wait keeps the windows alive.
#include <chrono>
#include <functional>

#include "platform/UiPump.h"

namespace discovel {

struct DriveReadyWait {
  std::chrono::milliseconds limit{20000};
  std::chrono::milliseconds step{100};
};

// Asks `ready` until it says yes, pumping between the questions, for at most
// `wait.limit`. False only when `stopRequested` said so (or the application
// is ending); a drive still not ready at the limit is left to the reader,
// whose error then says why.
bool AwaitDriveReady(UiPump& pump, const std::function<bool()>& ready, const std::function<bool()>& stopRequested,
                     const DriveReadyWait& wait = {});

}  // namespace discovel
