#include "search/TextSearcher.h"

#include "search/Sse2.h"

namespace discovel {
namespace {

TextSearcher::ByteSet FoldingTo(unsigned char target, const UpperTable& fold) {
  TextSearcher::ByteSet set;
  for (int c = 0; c < 256 && set.count < 3; ++c) {
    if (fold[c] != target) continue;
    if (set.count < 2) set.bytes[set.count] = static_cast<unsigned char>(c);
    ++set.count;
  }
  // One byte alone is compared twice, which costs nothing extra.
  if (set.count == 1) set.bytes[1] = set.bytes[0];
  return set;
}

#if defined(DISCOVEL_HAVE_SSE2)
// Candidate starts in [pos, stop] sixteen at a time; each is passed to
// `matches`. Returns the hit, or how far it got with `found` false.
template <class Matches>
DISCOVEL_SSE2 std::size_t FindBlocks(const unsigned char* text, std::size_t pos,
                                     std::size_t stop, std::size_t lastOffset,
                                     const TextSearcher::ByteSet& first,
                                     const TextSearcher::ByteSet& last, const Matches& matches,
                                     bool& found) {
  const __m128i first0 = _mm_set1_epi8(static_cast<char>(first.bytes[0]));
  const __m128i first1 = _mm_set1_epi8(static_cast<char>(first.bytes[1]));
  const __m128i last0 = _mm_set1_epi8(static_cast<char>(last.bytes[0]));
  const __m128i last1 = _mm_set1_epi8(static_cast<char>(last.bytes[1]));
  for (; pos + 15 <= stop; pos += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + lastOffset));
    const __m128i firstHits = _mm_or_si128(_mm_cmpeq_epi8(a, first0), _mm_cmpeq_epi8(a, first1));
    const __m128i lastHits = _mm_or_si128(_mm_cmpeq_epi8(b, last0), _mm_cmpeq_epi8(b, last1));
    auto candidates =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(firstHits, lastHits)));
    while (candidates != 0) {
      const std::size_t at = pos + static_cast<unsigned>(__builtin_ctz(candidates));
      if (matches(at)) {
        found = true;
        return at;
      }
      candidates &= candidates - 1;
    }
  }
  found = false;
  return pos;
}
#endif

}  // namespace

const UpperTable& IdentityTable() {
  static const UpperTable table = [] {
    UpperTable t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
    return t;
  }();
  return table;
}

void TextSearcher::Reset(std::string_view term, const UpperTable& fold) {
  m_term.assign(term);
  m_fold = &fold;
  const std::size_t m = m_term.size();
  std::array<std::size_t, 256> byFolded;
  byFolded.fill(m == 0 ? 1 : m);
  for (std::size_t k = 0; k + 1 < m; ++k) {
    byFolded[static_cast<unsigned char>(m_term[k])] = m - 1 - k;
  }
  for (int c = 0; c < 256; ++c) m_shift[c] = byFolded[fold[c]];
  m_first = m == 0 ? ByteSet{} : FoldingTo(static_cast<unsigned char>(m_term.front()), fold);
  m_last = m == 0 ? ByteSet{} : FoldingTo(static_cast<unsigned char>(m_term.back()), fold);
}

bool TextSearcher::Matches(const unsigned char* at) const {
  const UpperTable& fold = *m_fold;
  const auto* term = reinterpret_cast<const unsigned char*>(m_term.data());
  for (std::size_t k = 0; k < m_term.size(); ++k) {
    if (fold[at[k]] != term[k]) return false;
  }
  return true;
}

std::size_t TextSearcher::FindHorspool(const unsigned char* text, std::size_t pos,
                                       std::size_t to) const {
  const std::size_t m = m_term.size();
  const UpperTable& fold = *m_fold;
  const auto last = static_cast<unsigned char>(m_term.back());
  for (const std::size_t stop = to - m; pos <= stop; pos += m_shift[text[pos + m - 1]]) {
    if (fold[text[pos + m - 1]] == last && Matches(text + pos)) return pos;
  }
  return to;
}

std::size_t TextSearcher::Find(const char* text, std::size_t from, std::size_t to) const {
  const std::size_t m = m_term.size();
  if (m == 0) return from;
  if (to < from || to - from < m) return to;
  // A term byte no text byte folds to: nothing can match.
  if (m_first.count == 0 || m_last.count == 0) return to;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::size_t pos = from;
#if defined(DISCOVEL_HAVE_SSE2)
  if (m_first.count <= 2 && m_last.count <= 2 && HasSse2()) {
    bool found = false;
    // The ends are known to match; only the bytes between are left to compare.
    pos = FindBlocks(
        bytes, pos, to - m, m - 1, m_first, m_last,
        [&](std::size_t at) { return m <= 2 || Matches(bytes + at); }, found);
    if (found) return pos;
  }
#endif
  return FindHorspool(bytes, pos, to);
}

}  // namespace discovel
