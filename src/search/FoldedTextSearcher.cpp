#include "search/FoldedTextSearcher.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "search/LineLocator.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Folding {
  char32_t code;
  char32_t folded;
};

// Case folding's own table, {code point, its folding}.
constexpr Folding kFoldings[] = {
#include "text/CaseFoldingTable.inc"
};

// {folded, code point} for every code point that folds to another, by the
// folded one: which letter cases a folded character stands for.
const std::vector<std::pair<char32_t, char32_t>>& Unfoldings() {
  static const std::vector<std::pair<char32_t, char32_t>> pairs = [] {
    std::vector<std::pair<char32_t, char32_t>> found;
    for (const Folding& f : kFoldings) found.emplace_back(f.folded, f.code);
    std::sort(found.begin(), found.end());
    return found;
  }();
  return pairs;
}

std::string Utf8Of(char32_t code) {
  std::string bytes;
  utf8::Append(code, bytes);
  return bytes;
}

// The folded character and every other that folds to it.
std::vector<char32_t> LetterCasesOf(char32_t folded) {
  std::vector<char32_t> cases{folded};
  const auto& pairs = Unfoldings();
  for (auto it = std::lower_bound(pairs.begin(), pairs.end(), std::pair<char32_t, char32_t>{folded, 0});
       it != pairs.end() && it->first == folded; ++it) {
    cases.push_back(it->second);
  }
  return cases;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The character at `at`; false for a byte that starts no UTF-8.
bool DecodeCharacter(std::string_view text, std::size_t at, utf8::Decoded& out) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) {
    out = {byte, 1};
    return true;
  }
  out = utf8::DecodeAt(text, at);
  return !(out.code == utf8::kReplacement && out.length == 1);
}

// Bytes the byte searcher takes as one: classes joined by union, each byte
// mapped to the least of its class.
class ByteClasses {
 public:
  ByteClasses() { std::iota(m_parent.begin(), m_parent.end(), 0); }
  void Join(unsigned char a, unsigned char b) {
    const unsigned char ra = Root(a);
    const unsigned char rb = Root(b);
    m_parent[std::max(ra, rb)] = std::min(ra, rb);
  }
  UpperTable Table() {
    UpperTable table{};
    for (int c = 0; c < 256; ++c) table[c] = Root(static_cast<unsigned char>(c));
    return table;
  }

 private:
  unsigned char Root(unsigned char c) {
    while (m_parent[c] != c) c = m_parent[c];
    return c;
  }
  std::array<unsigned char, 256> m_parent{};
};

}  // namespace

void FoldedTextSearcher::Reset(std::string_view term) {
  m_folded.clear();
  m_matchesNothing = !utf8::IsValid(term);
  for (std::size_t i = 0; i < term.size() && !m_matchesNothing;) {
    const utf8::Decoded decoded = utf8::DecodeAt(term, i);
    m_folded.push_back(casefold::Fold(decoded.code));
    i += decoded.length;
  }
  // A character fits the anchor when all its cases take as many bytes as it:
  // the anchor's bytes then stand at fixed places in every match.
  std::vector<std::vector<char32_t>> cases;
  std::vector<bool> fits;
  for (const char32_t code : m_folded) {
    cases.push_back(LetterCasesOf(code));
    const std::size_t length = Utf8Of(code).size();
    fits.push_back(std::all_of(cases.back().begin(), cases.back().end(),
                               [&](char32_t other) { return Utf8Of(other).size() == length; }));
  }
  // The run of such characters with the most bytes.
  std::size_t bestFirst = 0;
  std::size_t bestEnd = 0;
  std::size_t bestBytes = 0;
  for (std::size_t first = 0; first < m_folded.size();) {
    if (!fits[first]) {
      ++first;
      continue;
    }
    std::size_t end = first;
    std::size_t bytes = 0;
    for (; end < m_folded.size() && fits[end]; ++end) bytes += Utf8Of(m_folded[end]).size();
    if (bytes > bestBytes) bestFirst = first, bestEnd = end, bestBytes = bytes;
    first = end;
  }
  m_hasAnchor = bestBytes > 0;
  m_startBytes.fill(false);
  if (!m_hasAnchor) {
    if (!m_folded.empty()) {
      for (const char32_t code : cases.front()) m_startBytes[static_cast<unsigned char>(Utf8Of(code)[0])] = true;
    }
    return;
  }
  m_anchorAt = bestFirst;
  ByteClasses classes;
  std::string anchor;
  for (std::size_t k = bestFirst; k < bestEnd; ++k) {
    const std::string own = Utf8Of(m_folded[k]);
    for (const char32_t other : cases[k]) {
      const std::string bytes = Utf8Of(other);
      for (std::size_t b = 0; b < own.size(); ++b) {
        classes.Join(static_cast<unsigned char>(own[b]), static_cast<unsigned char>(bytes[b]));
      }
    }
    anchor += own;
  }
  m_anchorBytes = classes.Table();
  for (char& c : anchor) c = static_cast<char>(m_anchorBytes[static_cast<unsigned char>(c)]);
  m_anchor.Reset(anchor, m_anchorBytes);
}

std::size_t FoldedTextSearcher::StartBefore(std::string_view text, std::size_t from, std::size_t at) const {
  std::size_t start = at;
  for (std::size_t k = 0; k < m_anchorAt; ++k) {
    // The character that ends here begins at the last byte before it that
    // continues none, at most three bytes back.
    if (start <= from) return kNone;
    std::size_t begin = start - 1;
    while (begin > from && start - begin < 4 && IsContinuation(static_cast<unsigned char>(text[begin]))) --begin;
    utf8::Decoded decoded{};
    if (!DecodeCharacter(text, begin, decoded) || begin + decoded.length != start) return kNone;
    start = begin;
  }
  return start;
}

bool FoldedTextSearcher::MatchesAt(std::string_view text, std::size_t start) const {
  std::size_t at = start;
  for (const char32_t wanted : m_folded) {
    if (at >= text.size()) return false;
    utf8::Decoded decoded{};
    if (!DecodeCharacter(text, at, decoded) || casefold::Fold(decoded.code) != wanted) return false;
    at += decoded.length;
  }
  return true;
}

std::size_t FoldedTextSearcher::Find(const char* text, std::size_t from, std::size_t to) const {
  if (m_matchesNothing) return to;
  if (m_folded.empty()) return from;
  if (to < from) return to;
  // Characters are read no further than `to`: a match must end before it.
  const std::string_view bytes(text, to);
  if (!m_hasAnchor) {
    for (std::size_t p = from; p < to; ++p) {
      if (m_startBytes[static_cast<unsigned char>(text[p])] && MatchesAt(bytes, p)) return p;
    }
    return to;
  }
  for (std::size_t pos = from;;) {
    const std::size_t at = m_anchor.Find(text, pos, to);
    if (at == to) return to;
    const std::size_t start = StartBefore(bytes, from, at);
    if (start != kNone && MatchesAt(bytes, start)) return start;
    pos = at + 1;
  }
}

std::size_t FoldedTextSearcher::FindCountingLines(const char* text, std::size_t from, std::size_t to,
                                                  std::size_t& lineEnds) const {
  if (m_matchesNothing || m_folded.empty() || !m_hasAnchor || to < from) {
    const std::size_t hit = Find(text, from, to);
    lineEnds = to < from ? 0 : CountLineEnds(text, from, hit);
    return hit;
  }
  const std::string_view bytes(text, to);
  lineEnds = 0;
  for (std::size_t pos = from;;) {
    std::size_t ends = 0;
    const std::size_t at = m_anchor.FindCountingLines(text, pos, to, ends);
    lineEnds += ends;
    if (at == to) return to;
    const std::size_t start = StartBefore(bytes, from, at);
    if (start != kNone && MatchesAt(bytes, start)) {
      // The line ends counted are those up to the anchor.
      lineEnds -= CountLineEnds(text, start, at);
      return start;
    }
    lineEnds += CountLineEnds(text, at, at + 1);
    pos = at + 1;
  }
}

}  // namespace discovel
