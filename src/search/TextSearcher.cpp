#include "search/TextSearcher.h"

#include "search/LineLocator.h"
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
  const unsigned char differ = set.bytes[0] ^ set.bytes[1];
  if (set.count >= 1 && set.count <= 2 && (differ & (differ - 1)) == 0) {
    set.oneBit = true;
    set.orMask = differ;
    set.target = set.bytes[0] | differ;
  }
  return set;
}

#if defined(DISCOVEL_HAVE_SSE2)
DISCOVEL_SSE2 inline __m128i Load(const unsigned char* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

DISCOVEL_SSE2 inline __m128i Splat(unsigned char byte) {
  return _mm_set1_epi8(static_cast<char>(byte));
}

// The candidate starts among the sixteen at `text + pos`: the first byte in
// the first set and the byte `lastOffset` on in the last. With kOneBit each set
// is tested by one OR and one compare (see ByteSet), else by two compares.
template <bool kOneBit>
DISCOVEL_SSE2 inline __m128i CandidatesAt(const unsigned char* text, std::size_t pos,
                                          std::size_t lastOffset, __m128i first0, __m128i first1,
                                          __m128i last0, __m128i last1) {
  if constexpr (kOneBit) {
    return _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(Load(text + pos), first0), first1),
                         _mm_cmpeq_epi8(_mm_or_si128(Load(text + pos + lastOffset), last0), last1));
  } else {
    const __m128i a = Load(text + pos);
    const __m128i b = Load(text + pos + lastOffset);
    return _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(a, first0), _mm_cmpeq_epi8(a, first1)),
                         _mm_or_si128(_mm_cmpeq_epi8(b, last0), _mm_cmpeq_epi8(b, last1)));
  }
}

// The first block of sixteen starts, from `pos` on and wholly at or before
// `stop`, that holds a candidate; its candidates go to `found` (0 when there is
// no such block, and the first block not looked at is returned). The loop does
// nothing else, so the 32-bit build keeps all it needs in registers.
template <bool kOneBit>
DISCOVEL_SSE2 std::size_t NextCandidates(const unsigned char* text, std::size_t pos,
                                         std::size_t stop, std::size_t lastOffset,
                                         const TextSearcher::ByteSet& first,
                                         const TextSearcher::ByteSet& last, unsigned& found) {
  const __m128i first0 = Splat(kOneBit ? first.orMask : first.bytes[0]);
  const __m128i first1 = Splat(kOneBit ? first.target : first.bytes[1]);
  const __m128i last0 = Splat(kOneBit ? last.orMask : last.bytes[0]);
  const __m128i last1 = Splat(kOneBit ? last.target : last.bytes[1]);
  // Two blocks a step, one branch for both.
  for (; pos + 31 <= stop; pos += 32) {
    const __m128i low = CandidatesAt<kOneBit>(text, pos, lastOffset, first0, first1, last0, last1);
    const __m128i high =
        CandidatesAt<kOneBit>(text, pos + 16, lastOffset, first0, first1, last0, last1);
    if (_mm_movemask_epi8(_mm_or_si128(low, high)) != 0) {
      found = static_cast<unsigned>(_mm_movemask_epi8(low));
      if (found != 0) return pos;
      found = static_cast<unsigned>(_mm_movemask_epi8(high));
      return pos + 16;
    }
  }
  if (pos + 15 <= stop) {
    found = static_cast<unsigned>(_mm_movemask_epi8(
        CandidatesAt<kOneBit>(text, pos, lastOffset, first0, first1, last0, last1)));
    if (found != 0) return pos;
    pos += 16;
  }
  found = 0;
  return pos;
}

// NextCandidates, one block a step (pos >= 1), adding to `lineEnds` those of
// the blocks it passes over, though not of the block it returns.
template <bool kOneBit>
DISCOVEL_SSE2 std::size_t NextCandidatesCounting(const unsigned char* text, std::size_t pos,
                                                 std::size_t stop, std::size_t lastOffset,
                                                 const TextSearcher::ByteSet& first,
                                                 const TextSearcher::ByteSet& last,
                                                 unsigned& found, std::size_t& lineEnds) {
  const __m128i first0 = Splat(kOneBit ? first.orMask : first.bytes[0]);
  const __m128i first1 = Splat(kOneBit ? first.target : first.bytes[1]);
  const __m128i last0 = Splat(kOneBit ? last.orMask : last.bytes[0]);
  const __m128i last1 = Splat(kOneBit ? last.target : last.bytes[1]);
  found = 0;
  std::size_t ends = 0;
  while (found == 0 && pos + 15 <= stop) {
    // Line ends are counted in byte lanes, folded before any lane can overflow.
    __m128i lanes = _mm_setzero_si128();
    for (int k = 0; k < 255 && pos + 15 <= stop; ++k, pos += 16) {
      found = static_cast<unsigned>(_mm_movemask_epi8(
          CandidatesAt<kOneBit>(text, pos, lastOffset, first0, first1, last0, last1)));
      if (found != 0) break;
      lanes = _mm_sub_epi8(lanes, LineEndBytes(reinterpret_cast<const char*>(text + pos)));
    }
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    ends += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
            static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
  lineEnds += ends;
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
    const bool oneBit = m_first.oneBit && m_last.oneBit;
    for (const std::size_t stop = to - m; pos + 15 <= stop; pos += 16) {
      unsigned candidates = 0;
      pos = oneBit ? NextCandidates<true>(bytes, pos, stop, m - 1, m_first, m_last, candidates)
                   : NextCandidates<false>(bytes, pos, stop, m - 1, m_first, m_last, candidates);
      for (; candidates != 0; candidates &= candidates - 1) {
        const std::size_t at = pos + static_cast<unsigned>(__builtin_ctz(candidates));
        // The ends are known to match; only the bytes between are left to compare.
        if (m <= 2 || Matches(bytes + at)) return at;
      }
      if (pos + 15 > stop) break;  // no block was left with a candidate
    }
  }
#endif
  return FindHorspool(bytes, pos, to);
}

std::size_t TextSearcher::FindCountingLines(const char* text, std::size_t from, std::size_t to,
                                            std::size_t& lineEnds) const {
  const std::size_t m = m_term.size();
  std::size_t pos = from;
  lineEnds = 0;
#if defined(DISCOVEL_HAVE_SSE2)
  if (m != 0 && to >= from && to - from >= m + 16 && m_first.count >= 1 && m_first.count <= 2 &&
      m_last.count >= 1 && m_last.count <= 2 && HasSse2()) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (pos == 0) {
      // The blocks look one byte back: the first starts are searched alone.
      const std::size_t hit = Find(text, 0, 15 + m);
      if (hit < 15 + m) {
        lineEnds = CountLineEnds(text, 0, hit);
        return hit;
      }
      lineEnds = CountLineEnds(text, 0, 16);
      pos = 16;
    }
    const bool oneBit = m_first.oneBit && m_last.oneBit;
    for (const std::size_t stop = to - m; pos + 15 <= stop; pos += 16) {
      unsigned candidates = 0;
      pos = oneBit ? NextCandidatesCounting<true>(bytes, pos, stop, m - 1, m_first, m_last,
                                                  candidates, lineEnds)
                   : NextCandidatesCounting<false>(bytes, pos, stop, m - 1, m_first, m_last,
                                                   candidates, lineEnds);
      if (candidates == 0) break;
      for (; candidates != 0; candidates &= candidates - 1) {
        const std::size_t at = pos + static_cast<unsigned>(__builtin_ctz(candidates));
        if (m <= 2 || Matches(bytes + at)) {
          lineEnds += CountLineEnds(text, pos, at);
          return at;
        }
      }
      lineEnds += CountLineEnds(text, pos, pos + 16);
    }
  }
#endif
  // Short ranges, the odd term, and what is left after the blocks.
  const std::size_t hit = Find(text, pos, to);
  lineEnds += CountLineEnds(text, pos, hit);
  return hit;
}

}  // namespace discovel
