// The engine's building blocks, each against a plain reference.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "platform/Platform.h"
#include "search/LineIndex.h"
#include "search/SearchResults.h"
#include "search/TextSearcher.h"

namespace discovel {
namespace {

std::size_t NaiveFind(std::string_view text, std::size_t from, std::size_t to,
                      std::string_view term, const UpperTable& fold) {
  for (std::size_t p = from; p + term.size() <= to; ++p) {
    std::size_t k = 0;
    while (k < term.size() && fold[static_cast<unsigned char>(text[p + k])] ==
                                  static_cast<unsigned char>(term[k])) {
      ++k;
    }
    if (k == term.size()) return p;
  }
  return to;
}

TEST(TextSearcher, AgreesWithANaiveSearch) {
  const UpperTable upper = SystemTextServices().BuildUpperTable();
  // Three bytes folding to one: too many for the block compare.
  UpperTable crowded = IdentityTable();
  crowded['a'] = crowded['b'] = 'A';
  const UpperTable* folds[] = {&IdentityTable(), &upper, &crowded};
  std::mt19937 random(7);
  const std::string alphabet = "aAbB.\xE9\xC9\xFF\x9F";
  const auto randomText = [&](std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 6000; ++round) {
    const std::string text = randomText(random() % 90);
    std::string term = randomText(1 + random() % 5);
    const UpperTable& fold = *folds[round % 3];
    if (round % 4 != 0) {  // now and then a term that cannot match at all
      for (char& c : term) c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
    }
    const TextSearcher searcher(term, fold);
    const std::size_t from = text.empty() ? 0 : random() % text.size();
    const std::size_t to = from + random() % (text.size() - from + 1);
    EXPECT_EQ(searcher.Find(text.data(), from, to), NaiveFind(text, from, to, term, fold))
        << "text " << text << " term " << term << " from " << from << " to " << to;
  }
}

TEST(TextSearcher, StaysInsideTheRange) {
  const TextSearcher searcher("ABC", IdentityTable());
  const std::string text = "xxABCxxABC";
  EXPECT_EQ(searcher.Find(text.data(), 0, 10), 2u);
  EXPECT_EQ(searcher.Find(text.data(), 3, 10), 7u);
  EXPECT_EQ(searcher.Find(text.data(), 3, 9), 9u);  // the hit would end past `to`
  EXPECT_EQ(searcher.Find(text.data(), 0, 1), 1u);
  EXPECT_EQ(TextSearcher("", IdentityTable()).Find(text.data(), 4, 10), 4u);
}

void ExpectSameLines(LineIndex& index, const std::string& bytes) {
  const ArchiveText reference(bytes);
  index.Build(bytes);
  ASSERT_EQ(index.Count(), reference.LineCount()) << bytes;
  for (std::size_t i = 0; i < index.Count(); ++i) {
    ASSERT_EQ(index.Text(i), reference.Line(i)) << bytes;
  }
}

TEST(LineIndex, SplitsLikeTheArchiveReader) {
  std::mt19937 random(11);
  const std::string pieces[] = {"\r", "\n", "\r\n", "\n\r", "a", "bc", "=", "long line text"};
  LineIndex index;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    // Long enough now and then to cross the sixteen-byte blocks.
    const int count = static_cast<int>(random() % (round % 10 == 0 ? 60 : 12));
    for (int i = 0; i < count; ++i) bytes += pieces[random() % 8];
    ExpectSameLines(index, bytes);
  }
  // Many lines at once: the index grows while a CR LF may straddle blocks.
  std::string many;
  for (int i = 0; i < 30000; ++i) many += pieces[random() % 8];
  ExpectSameLines(index, many);
  ExpectSameLines(index, std::string(20000, '\n') + "x");
  ExpectSameLines(index, "short");
}

TEST(SearchResults, KeepsRowsAndPartRowsAcrossChunks) {
  SearchResults results;
  const std::string longCell(3 << 20, 'L');  // larger than a chunk
  for (int i = 0; i < 40000; ++i) {
    results.BeginRow("CD " + std::to_string(i));
    results.AppendCell("Music\\Rock\\Folder number " + std::to_string(i));
    results.AppendCell(i == 20000 ? longCell : "track.mp3");
    if (i % 7 == 0) continue;  // left incomplete
    results.AppendCell("mp3");
    results.AppendCell("15/03/2006 14:30:20");
    results.AppendCell(std::to_string(i));
  }
  ASSERT_EQ(results.RowCount(), 40000u);
  for (int i : {0, 1, 6999, 19999, 20000, 20001, 39999}) {
    const auto row = static_cast<std::size_t>(i);
    EXPECT_EQ(results.Cell(row, ResultColumn::kArchive), "CD " + std::to_string(i));
    EXPECT_EQ(results.Cell(row, ResultColumn::kDirectory),
              "Music\\Rock\\Folder number " + std::to_string(i));
    EXPECT_EQ(results.Cell(row, ResultColumn::kFile), i == 20000 ? longCell : "track.mp3");
    if (i % 7 == 0) {
      EXPECT_EQ(results.FilledColumns(row), 3);
      EXPECT_EQ(results.Cell(row, ResultColumn::kType), "");
      EXPECT_EQ(results.Cell(row, ResultColumn::kSize), "");
    } else {
      EXPECT_EQ(results.FilledColumns(row), 6);
      EXPECT_EQ(results.Cell(row, ResultColumn::kSize), std::to_string(i));
    }
  }
  results.Clear();
  EXPECT_TRUE(results.Empty());
  results.BeginRow("");
  EXPECT_EQ(results.Cell(0, ResultColumn::kArchive), "");
  EXPECT_EQ(results.Cell(0, ResultColumn::kDirectory), "");
}

TEST(SearchResults, ARowPastTheBudgetIsDroppedWhole) {
  SearchResults results(4 << 20);
  results.BeginRow("CD 1");
  results.AppendCell("kept");
  // The cell needs a chunk of its own that the budget has no room for.
  results.BeginRow("CD 2");
  EXPECT_THROW(results.AppendCell(std::string(5 << 20, 'x')), ResultsFull);
  ASSERT_EQ(results.RowCount(), 1u);
  EXPECT_EQ(results.Cell(0, ResultColumn::kDirectory), "kept");
  // What was freed serves the next row.
  results.BeginRow("CD 3");
  results.AppendCell("next");
  EXPECT_EQ(results.RowCount(), 2u);
  EXPECT_EQ(results.Cell(1, ResultColumn::kArchive), "CD 3");
  EXPECT_EQ(results.Cell(1, ResultColumn::kDirectory), "next");
  EXPECT_LE(results.MemoryBytes(), std::size_t{4} << 20);

  // Room for one block of row records and no second: the row that would need
  // the second block is refused, and every row before it stays.
  SearchResults probe;
  probe.BeginRow("x");
  SearchResults oneBlock(probe.MemoryBytes() + 64);
  std::size_t begun = 0;
  try {
    for (;; ++begun) oneBlock.BeginRow("row " + std::to_string(begun));
  } catch (const ResultsFull&) {
  }
  ASSERT_GT(begun, 1000u);
  EXPECT_EQ(oneBlock.RowCount(), begun);
  EXPECT_EQ(oneBlock.Cell(begun - 1, ResultColumn::kArchive), "row " + std::to_string(begun - 1));
}

}  // namespace
}  // namespace discovel
