// The search through UTF-8 text by case folding, against the plainest reading
// of it: the first place from which some run of bytes folds to the folded term.
#include "search/FoldedTextSearcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/LineLocator.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

std::size_t PlainFoldedFind(std::string_view text, std::size_t from, std::size_t to, std::string_view term) {
  const std::string wanted = casefold::Fold(term);
  if (wanted.empty()) return from;
  for (std::size_t p = from; p < to; ++p) {
    for (std::size_t end = p + 1; end <= to && end - p <= 4 * wanted.size(); ++end) {
      if (casefold::Fold(text.substr(p, end - p)) == wanted) return p;
    }
  }
  return to;
}

constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

std::size_t Found(std::string_view term, std::string_view text) {
  FoldedTextSearcher searcher;
  searcher.Reset(term);
  const std::size_t at = searcher.Find(text.data(), 0, text.size());
  return at == text.size() ? kNowhere : at;
}

TEST(FoldedTextSearcher, LetterCaseAsideInEveryScript) {
  EXPECT_EQ(Found("\u03A3\u039F\u03A6\u0399\u0391", "x \u03C3\u03BF\u03C6\u03B9\u03B1"), 2u);  // ΣΟΦΙΑ, σοφια
  EXPECT_EQ(Found("\u03C3", "\u03C2"), 0u);  // the final sigma folds like the other
  EXPECT_EQ(Found("\u041C\u041E\u0421\u041A\u0412\u0410", "\u043C\u043E\u0441\u043A\u0432\u0430.txt"), 0u);
  EXPECT_EQ(Found("gr\u00D6\u00DFe", "GR\u00F6\u1E9EE"), 0u);  // the capital sharp s is longer
  EXPECT_EQ(Found("gr\u00F6sse", "Gr\u00F6\u00DFe"), kNowhere);  // simple folding: ß is no "ss"
  EXPECT_EQ(Found("desk", "DES\u212A.txt"), 0u);                 // the Kelvin sign
  EXPECT_EQ(Found("\u212A", "kK"), 0u);
  EXPECT_EQ(Found("\u6771\u4EAC", "a\u6771\u4EAC"), 1u);           // no letter case at all
  EXPECT_EQ(Found("\u00C9t\u00E9", "l'\u00E9T\u00C9"), 2u);
}

TEST(FoldedTextSearcher, BytesThatAreNoUtf8MatchNothing) {
  // A cut sequence before a match does not hide it; one inside breaks it.
  EXPECT_EQ(Found("\u00E4b", "\xC3" "\u00C4B"), 1u);
  EXPECT_EQ(Found("ab", "a\xC3" "b"), kNowhere);
  EXPECT_EQ(Found("\xC3", "\xC3\xC3"), kNowhere);  // nor is a term that is no UTF-8 found
  // A lone surrogate's sequence is a character of its own.
  EXPECT_EQ(Found("\xED\xA0\x80x", "a\xED\xA0\x80X"), 1u);
}

TEST(FoldedTextSearcher, StaysInsideTheRange) {
  FoldedTextSearcher searcher;
  searcher.Reset("\u00C4B");
  const std::string text = "x\u00E4bx\u00E4b";  // at 1 and 5, each three bytes long
  EXPECT_EQ(searcher.Find(text.data(), 0, text.size()), 1u);
  EXPECT_EQ(searcher.Find(text.data(), 2, text.size()), 5u);
  EXPECT_EQ(searcher.Find(text.data(), 2, 7), 7u);  // the match would end past `to`
  searcher.Reset("k\u00E4");  // the anchor is the second character: the match starts before it
  EXPECT_EQ(searcher.Find(text.data(), 0, text.size()), text.size());
  const std::string kelvin = "\u212A\u00E4 k\u00C4";
  EXPECT_EQ(searcher.Find(kelvin.data(), 0, kelvin.size()), 0u);
  EXPECT_EQ(searcher.Find(kelvin.data(), 1, kelvin.size()), 6u);
  // The line ends counted are those before the match, not before its anchor.
  searcher.Reset("\nk\u00E4\u00E4");
  const std::string lines = "a\r\n\n\u212A\u00C4\u00E4";
  std::size_t lineEnds = 0;
  EXPECT_EQ(searcher.FindCountingLines(lines.data(), 0, lines.size(), lineEnds), 3u);
  EXPECT_EQ(lineEnds, 1u);
}

// Random text of letters in several cases and lengths, line ends, bytes that
// are no UTF-8, and terms taken from it or made of the same pieces.
TEST(FoldedTextSearcher, AgreesWithThePlainReading) {
  const std::vector<std::string> pieces = {"a", "A", "k", "K", "\u212A", "s", "\u017F", "S", "\u00E4", "\u00C4",
                                           "\u03C3", "\u03C2", "\u03A3", "\u00DF", "\u1E9E", "\u0436", "\u0416",
                                           "\r", "\n", ".", "\xC3", "\xA4", "\xFF", "\u6771", "\u2126", "\u03C9"};
  std::mt19937 random(11);
  FoldedTextSearcher searcher;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t count = random() % (round % 10 == 0 ? 400 : 40);
    for (std::size_t i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    std::string term;
    if (round % 2 == 0 && !text.empty()) {
      const std::size_t at = random() % text.size();
      term = text.substr(at, 1 + random() % 6);
    } else {
      for (std::size_t k = 1 + random() % 3; k > 0; --k) term += pieces[random() % pieces.size()];
    }
    searcher.Reset(term);
    const std::size_t from = text.empty() ? 0 : random() % text.size();
    const std::size_t to = from + random() % (text.size() - from + 1);
    const std::size_t expected = utf8::IsValid(term) ? PlainFoldedFind(text, from, to, term) : to;
    ASSERT_EQ(searcher.Find(text.data(), from, to), expected) << round << " term " << term << " text " << text;
    std::size_t lineEnds = 12345;
    ASSERT_EQ(searcher.FindCountingLines(text.data(), from, to, lineEnds), expected) << round;
    ASSERT_EQ(lineEnds, CountLineEnds(text.data(), from, expected)) << round;
  }
}

}  // namespace
}  // namespace discovel
