#pragma once
// Substring search in UTF-8 text, letter case aside by Unicode's simple case
// folding, one character for one: "ΣΟΦΊΑ" finds "σοφία" and "Größe" "GRÖẞE"
// (though not "GRÖSSE"), "k" the Kelvin sign. The text is never folded whole.
// A run of the term whose every character is written with as many bytes in all
// its letter cases (the anchor: "report" of "reports", whose "s" is also "ſ")
// is looked for by the byte searcher, through a table that merges the bytes of
// those cases; each place it is found is then read back and forth character by
// character. ASCII text costs what the byte path costs.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "search/TextSearcher.h"

namespace discovel {

class FoldedTextSearcher {
 public:
  // `term` is UTF-8 (lone surrogates' sequences too), in any letter case; a
  // term that is no UTF-8 matches nothing.
  void Reset(std::string_view term);

  // As TextSearcher's: the first offset p in [from, to) where a match starts
  // that ends at or before `to`; `to` when there is none. A match is a run of
  // whole characters; bytes that are no UTF-8 match nothing.
  std::size_t Find(const char* text, std::size_t from, std::size_t to) const;
  std::size_t FindCountingLines(const char* text, std::size_t from, std::size_t to,
                                std::size_t& lineEnds) const;

 private:
  // Where the match holding the anchor found at `at` would start: the
  // characters before the anchor, read backwards; npos when they are not there
  // from `from` on.
  std::size_t StartBefore(std::string_view text, std::size_t from, std::size_t at) const;
  bool MatchesAt(std::string_view text, std::size_t start) const;

  bool m_matchesNothing = false;
  std::vector<char32_t> m_folded;  // the term's characters, folded
  bool m_hasAnchor = false;
  std::size_t m_anchorAt = 0;  // the anchor's first character in m_folded
  UpperTable m_anchorBytes{};  // merges the bytes of the anchor's letter cases
  TextSearcher m_anchor;
  // Without an anchor: the bytes any match can start with.
  std::array<bool, 256> m_startBytes{};
};

}  // namespace discovel
