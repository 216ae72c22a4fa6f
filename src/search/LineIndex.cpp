#include "search/LineIndex.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/AppError.h"
#include "search/Sse2.h"

namespace discovel {
namespace {

#if defined(DISCOVEL_HAVE_SSE2)
// Without -mpopcnt __builtin_popcount is a library call; a table is cheaper.
constexpr auto kBitCount = [] {
  std::array<std::uint8_t, 256> counts{};
  for (int i = 1; i < 256; ++i) counts[i] = static_cast<std::uint8_t>((i & 1) + counts[i / 2]);
  return counts;
}();

// Sixteen bytes per step: a CR, or a LF not right after a CR, ends a line.
// Goes from `i` as far as the room in `ends` allows; returns where it stopped,
// fewer than sixteen bytes before the end at the latest.
DISCOVEL_SSE2 std::size_t IndexBlocks(const char* data, std::size_t i, std::size_t n,
                                      std::uint32_t* ends, std::size_t& count,
                                      std::size_t capacity) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  std::uint32_t crBefore = i > 0 && data[i - 1] == '\r' ? 1 : 0;
  // Each block adds sixteen lines at most.
  for (; i + 16 <= n && count + 16 <= capacity; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const auto crs = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    const auto lfs = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    std::uint32_t lineEnds = crs | (lfs & ~((crs << 1) | crBefore));
    crBefore = (crs >> 15) & 1;
    // Four positions are written whatever the block holds, so that the usual
    // block (a line is seldom shorter than four bytes) takes no branch on its
    // count; four bits above the block keep ctz defined, and what lies past the
    // count is overwritten later.
    const int lines = kBitCount[lineEnds & 0xFF] + kBitCount[lineEnds >> 8];
    std::uint32_t* out = ends + count;
    const auto at = static_cast<std::uint32_t>(i);
    std::uint32_t bits = lineEnds | 0xF0000u;
    for (int k = 0; k < 4; ++k) {
      out[k] = at + static_cast<std::uint32_t>(__builtin_ctz(bits));
      bits &= bits - 1;
    }
    for (int k = 4; k < lines; ++k) {
      out[k] = at + static_cast<std::uint32_t>(__builtin_ctz(bits));
      bits &= bits - 1;
    }
    count += static_cast<std::size_t>(lines);
  }
  return i;
}
#endif

}  // namespace

void LineIndex::Grow() {
  const std::size_t capacity = std::max<std::size_t>(4096, m_capacity * 2);
  auto ends = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
  if (m_count != 0) std::memcpy(ends.get(), m_ends.get(), m_count * sizeof(std::uint32_t));
  m_ends = std::move(ends);
  m_capacity = capacity;
}

void LineIndex::Build(std::string_view bytes) {
  if (bytes.size() >= UINT32_MAX) throw AppError("An archive file of 4 GiB or more cannot be read.");
  m_bytes = bytes;
  m_count = 0;
  const char* data = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t i = 0;
#if defined(DISCOVEL_HAVE_SSE2)
  if (HasSse2()) {
    for (;;) {
      i = IndexBlocks(data, i, n, m_ends.get(), m_count, m_capacity);
      if (n - i < 16) break;
      Grow();  // it stopped for room, not for the end
    }
  }
#endif
  for (; i < n; ++i) {
    const char c = data[i];
    if (c == '\r' || (c == '\n' && (i == 0 || data[i - 1] != '\r'))) {
      if (m_count == m_capacity) Grow();
      m_ends[m_count++] = static_cast<std::uint32_t>(i);
    }
  }
  // A last line without a line end.
  if (n != 0 && (m_count == 0 || AfterLineEnd(m_ends[m_count - 1]) < n)) {
    if (m_count == m_capacity) Grow();
    m_ends[m_count++] = static_cast<std::uint32_t>(n);
  }
}

}  // namespace discovel
