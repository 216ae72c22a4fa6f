// A window driver's fault in a benchmark: the window is not as the benchmark
// must drive it, so no figure it could print would mean anything.
#include "support/win32/DriverFault.h"

#include <windows.h>

#include <cstdio>

namespace discovel::test {

void DriverFault(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::fflush(stderr);
  ExitProcess(1);
}

}  // namespace discovel::test
