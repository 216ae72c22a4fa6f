#pragma once
// SSE2 for the search's hot loops. The 32-bit build targets plain i686, so the
// SSE2 functions carry their own target attribute and run only where the
// processor has it (every processor a supported Windows runs on does).
#if defined(__i386__) || defined(__x86_64__)
#define DISCOVEL_HAVE_SSE2 1
#include <emmintrin.h>
#if defined(__i386__)
// Windows promises 32-bit code a stack aligned to 4 bytes only, and the
// window procedures a search runs under are called from its code; the 16-byte
// stack slots these functions spill vectors to need aligning on entry.
#define DISCOVEL_SSE2 __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define DISCOVEL_SSE2 __attribute__((target("sse2")))
#endif
#endif

namespace discovel {

#if defined(DISCOVEL_HAVE_SSE2)
// One byte set for each of the sixteen at `at` that ends a line: a CR, or an
// LF not right after a CR. Looks at the byte before `at`, so at > data.
DISCOVEL_SSE2 inline __m128i LineEndBytes(const char* at) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - 1));
  const __m128i lfs = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
  return _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_andnot_si128(_mm_cmpeq_epi8(before, cr), lfs));
}
#endif

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
