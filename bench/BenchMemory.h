#pragma once
// The memory a Windows benchmark's process took at its most.
#ifdef _WIN32
#include <windows.h>

#include <psapi.h>

namespace discovel::bench {

// Peak private bytes (the commit charge), in MiB.
inline double PeakPrivateMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

}  // namespace discovel::bench
#endif
