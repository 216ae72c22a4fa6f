#include "search/LineLocator.h"

#include <algorithm>
#include <array>

#include "search/Sse2.h"

namespace discovel {
namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

bool IsLineEndByte(char c) { return c == '\r' || c == '\n'; }

#if defined(DISCOVEL_HAVE_SSE2)
// Without -mpopcnt __builtin_popcount is a library call; a table is cheaper.
constexpr auto kBitCount = [] {
  std::array<std::uint8_t, 256> counts{};
  for (int i = 1; i < 256; ++i) counts[i] = static_cast<std::uint8_t>((i & 1) + counts[i / 2]);
  return counts;
}();

// Counts in byte lanes (each line end subtracts -1) and folds the lanes into
// the total before any can overflow: no scalar work per block. Goes from
// `from` (>= 1) as far as whole blocks go before `to`, and says how far.
DISCOVEL_SSE2 std::size_t CountBlocks(const char* data, std::size_t& from, std::size_t to) {
  std::size_t total = 0;
  std::size_t i = from;  // kept in a register, written back once
  while (i + 16 <= to) {
    __m128i lanes = _mm_setzero_si128();
    for (int k = 0; k < 255 && i + 16 <= to; ++k, i += 16) {
      lanes = _mm_sub_epi8(lanes, LineEndBytes(data + i));
    }
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    total += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
  from = i;
  return total;
}

// Goes over line ends from `from` (>= 1) on, sixteen bytes a step, until
// `passed` reaches `lines`, and returns the offset of that last line end; or
// stops fewer than sixteen bytes before `n` and returns kNoLimit, `from` at
// the first byte not looked at.
DISCOVEL_SSE2 std::size_t SkipBlocks(const char* data, std::size_t& from, std::size_t n,
                                     std::size_t lines, std::size_t& passed) {
  std::size_t count = passed;
  std::size_t i = from;
  for (; i + 16 <= n; i += 16) {
    const auto ends = static_cast<unsigned>(_mm_movemask_epi8(LineEndBytes(data + i)));
    const std::size_t here = kBitCount[ends & 0xFF] + kBitCount[ends >> 8];
    if (count + here >= lines) {
      unsigned bits = ends;
      for (std::size_t k = count + 1; k < lines; ++k) bits &= bits - 1;
      passed = lines;
      return i + static_cast<unsigned>(__builtin_ctz(bits));
    }
    count += here;
  }
  from = i;
  passed = count;
  return kNoLimit;
}

// The first CR or LF from `pos` on, sixteen bytes a step; stops fewer than
// sixteen bytes before `n` (returning kNoLimit, `pos` where it stopped).
DISCOVEL_SSE2 std::size_t LineEndBlocks(const char* data, std::size_t& pos, std::size_t n) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  std::size_t i = pos;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const auto ends = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
    if (ends != 0) return i + static_cast<unsigned>(__builtin_ctz(ends));
  }
  pos = i;
  return kNoLimit;
}
#endif

}  // namespace

void FindKeyBlockLines(std::string_view bytes, std::vector<std::string_view>& lastFirst) {
  lastFirst.clear();
  bool inBlock = false;  // past the empty lines at the very end
  for (std::size_t next = bytes.size(); next > 0;) {
    // `next` is where the line after this one begins, or the end of the bytes.
    std::size_t end = next;
    if (next < bytes.size() || IsLineEndByte(bytes[next - 1])) {
      end = next - 1;
      if (bytes[end] == '\n' && end > 0 && bytes[end - 1] == '\r') --end;
    }
    std::size_t begin = end;
    while (begin > 0 && !IsLineEndByte(bytes[begin - 1])) --begin;
    const std::string_view line = bytes.substr(begin, end - begin);
    next = begin;
    if (!inBlock && line.empty()) continue;
    inBlock = true;
    if (line.find('=') == std::string_view::npos) break;
    lastFirst.push_back(line);
  }
}

std::size_t CountLineEnds(const char* data, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  std::size_t i = from;
  if (i == 0 && i < to) {
    count += IsLineEndByte(data[0]) ? 1 : 0;
    ++i;
  }
#if defined(DISCOVEL_HAVE_SSE2)
  if (HasSse2()) count += CountBlocks(data, i, to);
#endif
  for (; i < to; ++i) {
    const char c = data[i];
    count += (c == '\r' || (c == '\n' && data[i - 1] != '\r')) ? 1 : 0;
  }
  return count;
}

void LineLocator::Reset(std::string_view bytes) {
  m_bytes = bytes;
  for (Mark& mark : m_marks) mark = Mark{0, 0};
  m_countKnown = bytes.empty();
  m_linesKnown = bytes.empty() ? 0 : 1;
}

std::size_t LineLocator::LineEndFrom(std::size_t pos) const {
  const char* data = m_bytes.data();
  const std::size_t n = m_bytes.size();
#if defined(DISCOVEL_HAVE_SSE2)
  // Listing every entry goes through here four times an entry.
  if (HasSse2()) {
    const std::size_t end = LineEndBlocks(data, pos, n);
    if (end != kNoLimit) return end;
  }
#endif
  while (pos < n && !IsLineEndByte(data[pos])) ++pos;
  return pos;
}

std::size_t LineLocator::AfterLineEnd(std::size_t end) const {
  const std::size_t n = m_bytes.size();
  if (end >= n) return n;
  const bool crLf = m_bytes[end] == '\r' && end + 1 < n && m_bytes[end + 1] == '\n';
  return end + (crLf ? 2 : 1);
}

std::size_t LineLocator::Skip(std::size_t begin, std::size_t lines, std::size_t& passed) const {
  const char* data = m_bytes.data();
  const std::size_t n = m_bytes.size();
  passed = 0;
  if (begin >= n || lines == 0) return begin;
  // Every line takes one byte at least: asked for as many, it runs to the end,
  // which plain counting gets to fastest. An unended last line counts too.
  if (lines >= n - begin) {
    passed = CountLineEnds(data, begin, n) + (IsLineEndByte(data[n - 1]) ? 0 : 1);
    return n;
  }
  const auto endsLine = [data](std::size_t k) {
    const char c = data[k];
    return c == '\r' || (c == '\n' && (k == 0 || data[k - 1] != '\r'));
  };
  std::size_t i = begin;
  if (i == 0) {  // the blocks look one byte back
    if (endsLine(0) && ++passed == lines) return AfterLineEnd(0);
    i = 1;
  }
#if defined(DISCOVEL_HAVE_SSE2)
  // A few lines are quicker to walk one by one.
  if (lines - passed > 8 && HasSse2()) {
    const std::size_t end = SkipBlocks(data, i, n, lines, passed);
    if (end != kNoLimit) return AfterLineEnd(end);
  }
#endif
  for (; i < n; ++i) {
    if (endsLine(i) && ++passed == lines) return AfterLineEnd(i);
  }
  if (!IsLineEndByte(data[n - 1])) ++passed;
  return n;
}

const LineLocator::Mark& LineLocator::LastMarkUpToLine(std::size_t line) const {
  const Mark* best = &m_marks[0];  // line 0 is never forgotten below any other
  for (const Mark& mark : m_marks) {
    if (mark.line <= line && mark.line > best->line) best = &mark;
  }
  return *best;
}

const LineLocator::Mark& LineLocator::LastMarkUpToOffset(std::size_t offset) const {
  const Mark* best = &m_marks[0];
  for (const Mark& mark : m_marks) {
    if (mark.begin <= offset && mark.line > best->line) best = &mark;
  }
  return *best;
}

const LineLocator::Mark& LineLocator::FurthestMark() const {
  const Mark* best = &m_marks[0];
  for (const Mark& mark : m_marks) {
    if (mark.line > best->line) best = &mark;
  }
  return *best;
}

void LineLocator::Remember(std::size_t line, std::size_t begin) {
  if (begin < m_bytes.size()) {
    m_linesKnown = std::max(m_linesKnown, line + 1);
  } else if (!m_countKnown) {
    m_linesKnown = line;
    m_countKnown = true;
  }
  // The lowest mark is the one least likely to be asked for again. Slot 0 keeps
  // line 0, the fallback of every lookup.
  Mark* lowest = nullptr;
  for (int k = 1; k < kMarks; ++k) {
    Mark& mark = m_marks[k];
    if (mark.line == line) return;
    if (!lowest || mark.line < lowest->line) lowest = &mark;
  }
  if (line > lowest->line) *lowest = Mark{line, begin};
}

bool LineLocator::HasSlow(std::uint64_t line) {
  if (m_countKnown) return false;
  const Mark from = FurthestMark();
  const std::uint64_t ahead = line - from.line;
  std::size_t passed = 0;
  const std::size_t begin =
      Skip(from.begin, ahead > kNoLimit ? kNoLimit : static_cast<std::size_t>(ahead), passed);
  Remember(from.line + passed, begin);
  return line < m_linesKnown;
}

std::size_t LineLocator::Begin(std::size_t line) {
  const Mark from = LastMarkUpToLine(line);
  if (from.line == line) return from.begin;
  std::size_t passed = 0;
  const std::size_t begin = Skip(from.begin, line - from.line, passed);
  Remember(from.line + passed, begin);
  return begin;
}

std::size_t LineLocator::LineAt(std::size_t offset) {
  const Mark from = LastMarkUpToOffset(offset);
  return LineAt(offset, from.line, CountLineEnds(m_bytes.data(), from.begin, offset));
}

std::size_t LineLocator::LineAt(std::size_t offset, std::size_t from, std::size_t lineEnds) {
  if (lineEnds == 0) return from;
  const std::size_t line = from + lineEnds;
  // Back from the byte to the line end before it.
  const char* data = m_bytes.data();
  std::size_t begin = offset;
  while (!IsLineEndByte(data[begin - 1])) --begin;
  Remember(line, begin);
  // A hit on an entry's name line is followed by a look at its folder line,
  // the line before: find that too while it is close.
  if (lineEnds > 1) {
    std::size_t end = begin - 1;
    if (data[end] == '\n' && data[end - 1] == '\r') --end;
    std::size_t before = end;
    while (!IsLineEndByte(data[before - 1])) --before;
    Remember(line - 1, before);
  }
  return line;
}

bool LineLocator::Lines(std::size_t first, std::size_t count, Span* out) {
  const std::size_t n = m_bytes.size();
  if (first >= m_linesKnown && m_countKnown) return false;
  std::size_t pos = Begin(first);  // which notes where the lines end, if before
  if (pos >= n) return false;
  for (std::size_t k = 0; k < count; ++k) {
    if (pos >= n) {
      Remember(first + k, n);  // the first line that is not there
      return false;
    }
    const std::size_t end = LineEndFrom(pos);
    out[k] = Span{pos, end};
    pos = AfterLineEnd(end);
  }
  Remember(first + count, pos);
  return true;
}

void LineLocator::LinesEndAfter(std::size_t from, std::size_t lineEnds) {
  // An unended last line counts too.
  const bool unended = !m_bytes.empty() && !IsLineEndByte(m_bytes.back());
  Remember(from + lineEnds + (unended ? 1 : 0), m_bytes.size());
}

std::size_t LineLocator::Count() {
  if (!m_countKnown) {
    const Mark from = FurthestMark();
    std::size_t passed = 0;
    const std::size_t begin = Skip(from.begin, kNoLimit, passed);
    Remember(from.line + passed, begin);
  }
  return m_linesKnown;
}

}  // namespace discovel
