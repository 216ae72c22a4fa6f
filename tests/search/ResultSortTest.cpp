#include "catalog/ColumnSort.h"
#include "search/FoundColumns.h"
#include "search/FoundRows.h"
#include "search/SearchResults.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/TestText.h"

namespace discovel {
namespace {

// Sorts `results` by `column` as the found-files list does, from the order
// `order` has already; the table rows in their new order.
std::vector<std::uint32_t> SortResultRows(FoundRowOrder& order, const SearchResults& results, FoundColumn column,
                                          SortKind kind, bool flag, const TextServices& text) {
  order.Sort(results, FoundColumnIndex(column), kind, flag, text, std::nullopt);
  std::vector<std::uint32_t> rows;
  for (std::size_t shown = 0; shown < results.RowCount(); ++shown) {
    rows.push_back(static_cast<std::uint32_t>(order.Row(shown)));
  }
  return rows;
}

struct Row {
  std::string archive, directory, file, type, date, size;
};

class ResultSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text.thousands.emplace(".");
    text.date = '/';
    text.time = ':';
  }
  void Add(const Row& row, int filled = kFoundColumnCount) {
    const std::string* cells[] = {&row.archive, &row.directory, &row.file, &row.type, &row.date, &row.size};
    results.BeginRow(*cells[0]);
    for (int i = 1; i < filled; ++i) results.AppendCell(*cells[i]);
  }
  // The File texts in the order of the sort.
  std::vector<std::string> Sorted(FoundColumn column, bool flag) {
    const auto rows =
        SortResultRows(order, results, column, kFoundColumns[FoundColumnIndex(column)].look.sort, flag, text);
    std::vector<std::string> files;
    for (const std::uint32_t row : rows) files.emplace_back(results.Cell(row, FoundColumn::kFile));
    return files;
  }

  test::TestText text;
  SearchResults results;
  FoundRowOrder order;
};

using Files = std::vector<std::string>;

TEST_F(ResultSortTest, TextIgnoresCaseAndKeepsEqualRowsInOrder) {
  Add({"CD 2", "b", "one", "TXT", "15/03/2006", "1"});
  Add({"cd 1", "A", "two", "txt", "15/03/2006", "1"});
  Add({"CD 1", "a", "three", "doc", "15/03/2006", "1"});
  Add({"CD 10", "c", "four", "", "15/03/2006", "1"});
  EXPECT_EQ(Sorted(FoundColumn::kArchive, true), (Files{"two", "three", "four", "one"}));
  EXPECT_EQ(Sorted(FoundColumn::kArchive, false), (Files{"one", "four", "two", "three"}));
  EXPECT_EQ(Sorted(FoundColumn::kDirectory, true), (Files{"two", "three", "one", "four"}));
  // Equal types keep the order of the sort before.
  EXPECT_EQ(Sorted(FoundColumn::kType, true), (Files{"four", "three", "two", "one"}));
  EXPECT_EQ(Sorted(FoundColumn::kFile, false), (Files{"two", "three", "one", "four"}));
}

TEST_F(ResultSortTest, SizeByValueLargestFirstWhenTheFlagIsSet) {
  Add({"CD", "\\", "small", "", "15/03/2006", "999"});
  Add({"CD", "\\", "huge", "", "15/03/2006", "5.000.000.000"});
  Add({"CD", "\\", "empty", "", "15/03/2006", "0"});
  Add({"CD", "\\", "middle", "", "15/03/2006", "1.000"});
  EXPECT_EQ(Sorted(FoundColumn::kSize, true), (Files{"huge", "middle", "small", "empty"}));
  EXPECT_EQ(Sorted(FoundColumn::kSize, false), (Files{"empty", "small", "middle", "huge"}));
}

TEST_F(ResultSortTest, DatesByMomentOldestFirstWhenTheFlagIsSet) {
  Add({"CD", "\\", "later that day", "", "02/01/2004 13:00:00", "1"});
  Add({"CD", "\\", "next year", "", "01/01/2005", "1"});
  Add({"CD", "\\", "midnight", "", "02/01/2004", "1"});
  Add({"CD", "\\", "earlier month", "", "31/12/2003 23:59:58", "1"});
  EXPECT_EQ(Sorted(FoundColumn::kDateModified, true),
            (Files{"earlier month", "midnight", "later that day", "next year"}));
  EXPECT_EQ(Sorted(FoundColumn::kDateModified, false),
            (Files{"next year", "later that day", "midnight", "earlier month"}));
}

TEST_F(ResultSortTest, RowsWithoutAReadableValueFollowTheOthersInTheirOrder) {
  Add({"CD", "\\", "no date", "", "", ""}, 4);
  Add({"CD", "\\", "big", "", "15/03/2006", "2.000"});
  Add({"CD", "\\", "no size", "", "15/03/2006", ""}, 5);
  Add({"CD", "\\", "small", "", "14/03/2006", "1"});
  EXPECT_EQ(Sorted(FoundColumn::kSize, true), (Files{"big", "small", "no date", "no size"}));
  EXPECT_EQ(Sorted(FoundColumn::kSize, false), (Files{"small", "big", "no date", "no size"}));
  EXPECT_EQ(Sorted(FoundColumn::kDateModified, true), (Files{"small", "big", "no size", "no date"}));
}

// Primary weights that skip '-' (as word sorts do) and ignore case; the whole
// key puts the bytes themselves after them. As on the platform, the table
// holds the one-byte characters of UTF-8; an "é" or "É" weighs as an "E".
class WeightedText final : public TextServices {
 public:
  WeightedText() {
    for (int c = 1; c < 0x80; ++c) m_weights[c] = std::string(1, static_cast<char>(std::toupper(c)));
    m_weights['-'] = "";
  }
  std::string ThousandsSeparator() const override { return ","; }
  char DateSeparator() const override { return '/'; }
  char TimeSeparator() const override { return ':'; }
  std::string ToUpper(std::string_view text) const override { return std::string(text); }
  std::string AnsiToUpper(std::string_view text) const override { return std::string(text); }
  bool IsSingleByteCodePage() const override { return true; }
  UpperTable BuildUpperTable() const override { return {}; }
  void AppendAsUtf8(std::string_view ansi, std::string& out) const override { out += ansi; }
  std::optional<std::string> ToCodePageExactly(std::string_view utf8) const override { return std::string(utf8); }
  std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const override { return std::string(utf8); }
  LocalTime Now() const override { return {}; }
  std::string CollationKey(std::string_view text) const override {
    ++wholeKeys;
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) {
        key += m_weights[c];
      } else if (c == 0xC3 && i + 1 < text.size() && (text[i + 1] == '\xA9' || text[i + 1] == '\x89')) {
        key += 'E';
        ++i;
      } else {
        key += static_cast<char>(c);
      }
    }
    return key + '\x01' + std::string(text);
  }
  const PrimaryWeightTable* PrimaryWeights() const override { return &m_weights; }
  mutable int wholeKeys = 0;

 private:
  PrimaryWeightTable m_weights;
};

TEST(ResultSortWeights, WholeKeysOnlyWhereThePrimaryWeightsTie) {
  SearchResults results;
  for (const char* name : {"coop", "b", "co-op", "a", "Coop", "c", "same long beginning, then 2", "same long beginning, then 1"}) {
    results.BeginRow("CD");
    results.AppendCell("\\");
    results.AppendCell(name);
  }
  WeightedText text;
  FoundRowOrder shown;
  std::vector<std::string> files;
  for (const std::uint32_t row : SortResultRows(shown, results, FoundColumn::kFile, SortKind::Text, true, text))
    files.emplace_back(results.Cell(row, FoundColumn::kFile));
  // The three spellings of coop tie on their weights; their whole keys decide.
  EXPECT_EQ(files, (std::vector<std::string>{"a", "b", "c", "Coop", "co-op", "coop", "same long beginning, then 1",
                                             "same long beginning, then 2"}));
  EXPECT_EQ(text.wholeKeys, 3);
}

TEST(ResultSortWeights, ATextBeyondAsciiWeighsAsItsWholeKeySays) {
  SearchResults results;
  for (const char* name : {"f", "éa", "b", "eb", "Éa"}) {
    results.BeginRow("CD");
    results.AppendCell("\\");
    results.AppendCell(name);
  }
  WeightedText text;
  FoundRowOrder shown;
  std::vector<std::string> files;
  for (const std::uint32_t row : SortResultRows(shown, results, FoundColumn::kFile, SortKind::Text, true, text))
    files.emplace_back(results.Cell(row, FoundColumn::kFile));
  // "éa" and "Éa" weigh as "EA"; their whole keys part them.
  EXPECT_EQ(files, (std::vector<std::string>{"b", "Éa", "éa", "eb", "f"}));
}

// With the platform's own collation (the Windows one under Wine), ordering by
// primary weights first gives the order of the whole keys.
TEST(ResultSortWeights, SameOrderAsWholeKeysForFileNames) {
  const TextServices& text = SystemTextServices();
  const char* const pieces[] = {"a", "B", "-", "'", "_", " ", ".", "1", "10", "2", "é", "E", "e", "Æ", "ae",
                                "~", "!", "ß", "ss", "z", "ÿ", "Y", "#", "(", "0", "Ж", "東"};
  std::uint32_t state = 7;
  SearchResults results;
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) {
    std::string name;
    const int length = 1 + static_cast<int>((state = state * 1664525u + 1013904223u) >> 29);
    for (int k = 0; k < length; ++k) {
      name += pieces[((state = state * 1664525u + 1013904223u) >> 8) % std::size(pieces)];
    }
    names.push_back(name);
    results.BeginRow("CD");
    results.AppendCell("\\");
    results.AppendCell(name);
  }
  FoundRowOrder shown;
  const auto order = SortResultRows(shown, results, FoundColumn::kFile, SortKind::Text, true, text);
  for (std::size_t i = 1; i < order.size(); ++i) {
    const std::string a = text.CollationKey(names[order[i - 1]]);
    const std::string b = text.CollationKey(names[order[i]]);
    ASSERT_LE(a, b) << "\"" << names[order[i - 1]] << "\" before \"" << names[order[i]] << "\"";
  }
}

TEST(ColumnSortState, StartsOnDirectoryAndASecondClickTurnsTheDirection) {
  ColumnSortState state;
  EXPECT_EQ(state.column, 1);
  state.ClickColumn(1);  // the first click on Directory sorts descending
  EXPECT_FALSE(state.flag);
  state.ClickColumn(5);  // another column keeps the flag as it is
  EXPECT_EQ(state.column, 5);
  EXPECT_FALSE(state.flag);
  state.ClickColumn(5);
  EXPECT_TRUE(state.flag);
}

}  // namespace
}  // namespace discovel
