#pragma once
// SSE2 for the search's hot loops. The 32-bit build targets plain i686, so the
// SSE2 functions carry their own target attribute and run only where the
// processor has it (every processor a supported Windows runs on does).
#if defined(__i386__) || defined(__x86_64__)
#define DISCOVEL_HAVE_SSE2 1
#include <emmintrin.h>
#define DISCOVEL_SSE2 __attribute__((target("sse2")))
#endif

namespace discovel {

inline bool HasSse2() {
#if defined(__x86_64__)
  return true;
#elif defined(DISCOVEL_HAVE_SSE2)
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
#else
  return false;
#endif
}

}  // namespace discovel
