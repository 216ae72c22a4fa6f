#pragma once
// Substring search through a byte-folding table (upper case, or identity). The
// text is never copied or converted first: candidates are positions whose first
// and last bytes fold to the term's first and last, sixteen positions per SSE2
// step; Horspool covers the rest and the odd term whose ends fold from many bytes.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/TextServices.h"

namespace discovel {

// Maps every byte to itself: for case-sensitive search and pre-folded text.
const UpperTable& IdentityTable();

class TextSearcher {
 public:
  TextSearcher() = default;
  // `term` is compared as given against the folded text bytes.
  TextSearcher(std::string_view term, const UpperTable& fold) { Reset(term, fold); }
  void Reset(std::string_view term, const UpperTable& fold);

  const std::string& Term() const { return m_term; }

  // First offset p in [from, to) with the term at p wholly before `to`;
  // `to` when there is none. An empty term is found at `from`.
  std::size_t Find(const char* text, std::size_t from, std::size_t to) const;
  // Find, counting on the way the line ends (CR, or LF not right after a CR)
  // among the bytes from `from` up to the result: the search needs both, and
  // one pass over the bytes costs little more than either. The byte before
  // `from`, when there is one, decides about an LF at `from`.
  std::size_t FindCountingLines(const char* text, std::size_t from, std::size_t to,
                                std::size_t& lineEnds) const;

  // The raw bytes that fold to one term byte, when there are at most two.
  struct ByteSet {
    unsigned char bytes[2] = {0, 0};
    int count = 0;  // 3 stands for "more than two"
    // When the two differ in one bit (letter case, mostly) or are one byte:
    // a byte b is in the set exactly when (b | orMask) == target.
    bool oneBit = false;
    unsigned char orMask = 0;
    unsigned char target = 0;
  };

 private:
  bool Matches(const unsigned char* at) const;
  std::size_t FindHorspool(const unsigned char* text, std::size_t pos, std::size_t to) const;

  std::string m_term;
  const UpperTable* m_fold = nullptr;
  std::array<std::size_t, 256> m_shift{};  // by raw text byte
  ByteSet m_first;
  ByteSet m_last;
};

}  // namespace discovel
