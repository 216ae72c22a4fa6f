#include "search/SearchEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "catalog/ArchiveEncoding.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "search/SearchTestSupport.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::ArchiveOf;
using test::DosTimeText;
using test::TestEntry;
using test::Utf8ArchiveOf;

class Search : public ::testing::Test {
 protected:
  bool Run(const TextServices& text = SystemTextServices()) {
    SearchEngine engine(fs, text, pump, observer);
    m_engine = &engine;
    const bool completed = engine.Run(catalogue.Path(), "*.dat", criteria.Request(), criteria.Mode(), results);
    m_engine = nullptr;
    return completed;
  }
  void AbortNow() { m_engine->Abort(); }

  // "Directory|File" of every row, in the order found.
  std::vector<std::string> Found() const {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < results.RowCount(); ++i) {
      found.push_back(std::string(results.Cell(i, FoundColumn::kDirectory)) + "|" +
                      std::string(results.Cell(i, FoundColumn::kFile)));
    }
    return found;
  }
  std::vector<std::string> FindSimple(const std::string& typed) {
    criteria.text = typed;
    results.Clear();
    Run();
    return Found();
  }
  std::vector<std::string> FindAdvanced(const std::string& typed) {
    criteria.advancedMode = true;
    return FindSimple(typed);
  }

  FileSystem& fs = SystemFileSystem();
  test::TempFolder catalogue;
  test::TestCriteria criteria;
  test::TestObserver observer;
  test::ScriptedPump pump;
  SearchResults results;

 private:
  SearchEngine* m_engine = nullptr;
};

using Files = std::vector<std::string>;

TEST_F(Search, WildcardsAreRemovedAndTheRestIsASubstring) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "notes.txt"},
                                          {"\\", "a.txt.bak"},
                                          {"old.txt", "photo.jpg"},
                                          {"\\", "readme.md"},
                                          {"\\", "txt"}},
                                         "CD 1"));
  EXPECT_EQ(FindSimple("*.txt"),
            (Files{"\\|notes.txt", "\\|a.txt.bak", "old.txt|photo.jpg"}));
  EXPECT_EQ(FindSimple("*?*").size(), 5u);
  EXPECT_EQ(FindSimple("").size(), 5u);
  EXPECT_EQ(FindSimple("n?otes").size(), 1u);  // "notes": '?' stands for nothing
}

TEST_F(Search, SimpleModeIgnoresLetterCase) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"Docs", "readme.txt"}, {"\\", "README.TXT"},
                                          {"\\", "CAF\xC9.doc"}},
                                         "CD 1"));
  EXPECT_EQ(FindSimple("README.TXT"), (Files{"Docs|readme.txt", "\\|README.TXT"}));
  EXPECT_EQ(FindSimple("readme.txt").size(), 2u);
  EXPECT_EQ(FindSimple("DOCS").size(), 1u);
  EXPECT_EQ(FindSimple("caf\u00E9").size(), 1u);  // by the code page, not ASCII alone
}

TEST_F(Search, AdvancedModeKeepsNameAndExtensionApart) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "readme.txt"}, {"\\", "makefile"}}, "CD 1"));
  EXPECT_EQ(FindAdvanced("readme.txt"), Files{});
  EXPECT_EQ(FindAdvanced("readme"), Files{"\\|readme.txt"});
  EXPECT_EQ(FindAdvanced(".txt"), Files{"\\|readme.txt"});
  EXPECT_EQ(FindAdvanced("E.T"), Files{});
  // A name without a dot is all name; its type field is empty.
  EXPECT_EQ(FindAdvanced("makefile"), Files{"\\|makefile"});
  criteria.advanced.fileNames = false;
  EXPECT_EQ(FindAdvanced("readme"), Files{});
  EXPECT_EQ(FindAdvanced("txt"), Files{"\\|readme.txt"});
  // No field checked: a term matches nothing, no term everything.
  criteria.advanced = AdvancedCriteria{false, false, false, false};
  EXPECT_EQ(FindAdvanced("readme"), Files{});
  EXPECT_EQ(FindAdvanced("").size(), 2u);
}

TEST_F(Search, TermNeverSpansFolderAndName) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"DOCS", "README"}, {"docs\\readme", "x"}}, "CD 1"));
  EXPECT_EQ(FindSimple("docs\\readme"), Files{"docs\\readme|x"});
  EXPECT_EQ(FindAdvanced("docs\\readme"), Files{"docs\\readme|x"});
  EXPECT_EQ(FindSimple("SREA"), Files{});
  EXPECT_EQ(FindAdvanced("SREA"), Files{});
}

TEST_F(Search, TheSeparatorIsPartOfTheMatchText) {
  // Typed with the character the code page writes as the separator byte
  // ("\u00FF" in 1252), a term does reach over it in an ANSI archive,
  // upper-cased like the separator in the match text.
  catalogue.WriteFile("1.dat", ArchiveOf({{"docs", "readme.txt"}, {"docs", "readme.txt.bak"}},
                                         "CD 1"));
  EXPECT_EQ(FindSimple("docs\u00FFread").size(), 2u);
  EXPECT_EQ(FindSimple(".txt\u00FF"), Files{"docs|readme.txt"});
  EXPECT_EQ(FindAdvanced("readme\u00FF.txt\u00FF"), Files{"docs|readme.txt"});
}

TEST_F(Search, CaseSensitiveAdvancedSearch) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"Docs", "ReadMe.txt"}}, "CD 1"));
  criteria.advanced.caseSensitive = true;
  EXPECT_EQ(FindAdvanced("README"), Files{});
  EXPECT_EQ(FindAdvanced("ReadMe").size(), 1u);
  EXPECT_EQ(FindAdvanced("docs"), Files{});
  // Case sensitivity belongs to advanced mode only.
  criteria.advancedMode = false;
  EXPECT_EQ(FindSimple("readme").size(), 1u);
}

TEST_F(Search, MarksFieldSearchesTheArchiveMark) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "a.mp3"}, {"\\", "b.mp3"}}, "Holiday 2006"));
  catalogue.WriteFile("2.dat", ArchiveOf({{"\\", "c.mp3"}}, "Work"));
  EXPECT_EQ(FindSimple("holiday"), Files{});
  EXPECT_EQ(FindAdvanced("holiday"), Files{});
  criteria.advanced.marks = true;
  EXPECT_EQ(FindAdvanced("holiday").size(), 2u);
  EXPECT_EQ(FindAdvanced("day 2006").size(), 2u);
}

TEST_F(Search, DateFilterCoversWholeDaysInEitherOrder) {
  catalogue.WriteFile(
      "1.dat", ArchiveOf({{"\\", "before", "1", DosTimeText(2004, 3, 9, 23, 59, 58)},
                          {"\\", "first", "1", DosTimeText(2004, 3, 10, 0, 0, 0)},
                          {"\\", "last", "1", DosTimeText(2004, 3, 15, 23, 59, 58)},
                          {"\\", "after", "1", DosTimeText(2004, 3, 16, 0, 0, 0)},
                          {"\\", "garbage", "1", "soon"}},
                         "CD 1"));
  criteria.advanced.byDate = true;
  criteria.advanced.dates = DateBoundsOf({2004, 3, 15, 12, 0, 0, 0}, {2004, 3, 10, 9, 30, 0, 0});
  EXPECT_EQ(FindAdvanced(""), (Files{"\\|first", "\\|last"}));
  // The filter belongs to advanced mode only.
  criteria.advancedMode = false;
  EXPECT_EQ(FindSimple("").size(), 5u);
}

TEST_F(Search, SizeFilterAtLeastAndAtMost) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "empty", "0"},
                                          {"\\", "small", "999"},
                                          {"\\", "kilo", "1000"},
                                          {"\\", "big", "5000000000"},
                                          {"\\", "odd", "n/a"}},
                                         "CD 1"));
  criteria.advanced.bySize = true;
  criteria.advanced.sizeThreshold = SizeThresholdOf(1, "KiloBytes");
  EXPECT_EQ(FindAdvanced(""), (Files{"\\|kilo", "\\|big"}));
  criteria.advanced.sizeAtMost = IsAtMost("at most");
  criteria.advanced.sizeThreshold = SizeThresholdOf(0, "Bytes");
  // A size that is not a number counts as 0.
  EXPECT_EQ(FindAdvanced(""), (Files{"\\|empty", "\\|odd"}));
}

TEST_F(Search, RestrictionTakesTheExactMarkOnly) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "a"}, {"\\", "b"}}, "CD No: 1"));
  catalogue.WriteFile("2.dat", ArchiveOf({{"\\", "c"}}, "cd no: 1"));
  catalogue.WriteFile("3.dat", ArchiveOf({{"\\", "d"}}, "  CD No: 1  "));  // trimmed
  catalogue.WriteFile("4.dat", ArchiveOf({{"\\", "e"}}, ""));
  criteria.restriction = "CD No: 1";
  auto found = FindSimple("");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Files{"\\|a", "\\|b", "\\|d"}));
  EXPECT_EQ(FindAdvanced("b"), Files{"\\|b"});
  // An archive without a mark is shown, and restricted to, as "Unknown".
  criteria.restriction = "Unknown";
  EXPECT_EQ(FindSimple(""), Files{"\\|e"});
  EXPECT_EQ(results.Cell(0, FoundColumn::kArchive), "Unknown");
}

TEST_F(Search, ARestrictedSearchOpensOnlyTheArchivesOfItsMark) {
  class CountingOpens : public test::ForwardingFileSystem {
   public:
    std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override {
      opened.push_back(path.substr(path.find_last_of('\\') + 1));
      return m_fs.OpenForBlocks(path);
    }
    std::vector<std::string> opened;
  } counting;
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "a"}}, "CD 1"));
  catalogue.WriteFile("sub\\2.dat", ArchiveOf({{"\\", "b"}}, "CD 2"));
  catalogue.WriteFile("3.dat", ArchiveOf({{"\\", "c"}}, "CD 3"));
  criteria.restriction = "CD 2";
  SearchEngine engine(counting, SystemTextServices(), pump, observer);
  engine.Run(catalogue.Path(), "*.dat", criteria.Request(), criteria.Mode(), results);
  EXPECT_EQ(Found(), Files{"\\|b"});
  EXPECT_EQ(counting.opened, std::vector<std::string>{"2.dat"});
  // The progress still counts every archive.
  EXPECT_EQ(observer.archives, 3);
}

TEST_F(Search, SubfoldersAreSearchedAfterTheArchivesOfTheirFolder) {
  catalogue.WriteFile("a\\b\\3.dat", ArchiveOf({{"\\", "three"}}, "CD 3"));
  catalogue.WriteFile("a\\2.dat", ArchiveOf({{"\\", "two"}}, "CD 2"));
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "one"}}, "CD 1"));
  catalogue.WriteFile("notes.txt", ArchiveOf({{"\\", "never"}}, "CD 0"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Found(), (Files{"\\|one", "\\|two", "\\|three"}));
  EXPECT_EQ(observer.archives, 3);
}

TEST_F(Search, RowTextsFollowTheLocale) {
  catalogue.WriteFile("1.dat",
                      ArchiveOf({{"Music\\Rock", "a.b.mp3", "1234567", "879719370"},
                                 {"\\", "boot", "0", DosTimeText(2006, 3, 15, 0, 0, 0)}},
                                " Shelf CD "));
  EXPECT_TRUE(Run());
  ASSERT_EQ(results.RowCount(), 2u);
  const auto row = [&](std::size_t r) {
    std::vector<std::string> cells;
    for (int c = 0; c < kFoundColumnCount; ++c) {
      cells.emplace_back(results.Cell(r, static_cast<FoundColumn>(c)));
    }
    return cells;
  };
  EXPECT_EQ(row(0), (Files{"Shelf CD", "Music\\Rock", "a.b.mp3", "mp3", "15/03/2006 14:30:20",
                           "1,234,567"}));
  EXPECT_EQ(row(1), (Files{"Shelf CD", "\\", "boot", "", "15/03/2006", "0"}));

  results.Clear();
  test::TestText german;
  german.thousands = ".";
  german.date = '.';
  german.time = '.';
  EXPECT_TRUE(Run(german));
  EXPECT_EQ(row(0)[4], "15.03.2006 14.30.20");
  EXPECT_EQ(row(0)[5], "1.234.567");
}

TEST_F(Search, RowThatCannotBeFilledStaysPartlyAndIsReported) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "badtime.txt", "10", "noon"},
                                          {"\\", "baddate.txt", "10", "0"},
                                          {"\\", "badsize.txt", "ten", "879719370"},
                                          {"\\", "good.txt", "10", "879719370"}},
                                         "CD 1"));
  EXPECT_TRUE(Run());
  ASSERT_EQ(results.RowCount(), 4u);
  EXPECT_EQ(results.FilledColumns(0), 4);
  EXPECT_EQ(results.Cell(0, FoundColumn::kType), "txt");
  EXPECT_EQ(results.Cell(0, FoundColumn::kDateModified), "");
  EXPECT_EQ(results.FilledColumns(1), 4);  // packed 0 is no valid date
  EXPECT_EQ(results.FilledColumns(2), 5);
  EXPECT_EQ(results.FilledColumns(3), 6);
  const std::string path = catalogue / "1.dat";
  EXPECT_EQ(observer.reports, (Files{path + " 0", path + " 1", path + " 2"}));
}

TEST_F(Search, EntryStrideComesFromAPars) {
  std::string text;
  for (const char* name : {"one", "two", "three"}) {
    text += std::string("\\\r\n") + name + "\r\n10\r\n879719370\r\nextra\r\nextra\r\n";
  }
  text += "AMark=CD 1\r\nAFiles=3\r\nAPars= 6 \r\nAEnd=EndTag\r\n";
  catalogue.WriteFile("1.dat", text);
  EXPECT_EQ(FindSimple(""), (Files{"\\|one", "\\|two", "\\|three"}));
}

TEST_F(Search, CountFromAFiles) {
  const std::vector<TestEntry> two = {{"\\", "a"}, {"\\", "b"}};
  // Fewer than the file holds: only those are read.
  catalogue.WriteFile("1.dat", ArchiveOf(two, "CD 1", "AFiles=1\r\n").replace(
                                   ArchiveOf(two, "CD 1").find("AFiles=2"), 10, ""));
  catalogue.WriteFile("2.dat", "\\\r\nc\r\n1\r\n879719370\r\nAMark=no count\r\n");
  catalogue.WriteFile("3.dat", "\\\r\nd\r\n1\r\n879719370\r\nAFiles= \r\n");
  catalogue.WriteFile("4.dat", "\\\r\ne\r\n1\r\n879719370\r\nAFiles=0\r\n");
  catalogue.WriteFile("5.dat", "\\\r\nf\r\n1\r\n879719370\r\nAFiles=-3\r\n");
  EXPECT_EQ(FindSimple(""), Files{"\\|a"});
  EXPECT_TRUE(observer.reports.empty());
  EXPECT_EQ(observer.archives, 5);
}

TEST_F(Search, ListedFileNamedLikeAKeyIsNoKey) {
  catalogue.WriteFile("1.dat",
                      "\\\r\nAFiles=1\r\n1\r\n879719370\r\n"
                      "\\\r\nAMark=fake\r\n1\r\n879719370\r\n"
                      "AMark=real\r\nAFiles=2\r\nAEnd=EndTag\r\n");
  EXPECT_EQ(FindSimple(""), (Files{"\\|AFiles=1", "\\|AMark=fake"}));
  EXPECT_EQ(results.Cell(1, FoundColumn::kArchive), "real");
}

TEST_F(Search, DamagedArchiveKeepsItsRowsAndTheSearchGoesOn) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "kept"}}, "CD 1"));
  catalogue.MakeFolder("sub");
  catalogue.MakeFolder("sub\\deeper");
  catalogue.WriteFile("sub\\deeper\\3.dat", ArchiveOf({{"\\", "after"}}, "CD 3"));
  // Two entries declared, one and a half present: the key lines stand in
  // for entry 1, but entry 2 would run past the end.
  catalogue.WriteFile("sub\\2.dat",
                      "\\\r\nfirst\r\n1\r\n879719370\r\nAMark=CD 2\r\nAFiles=3\r\n"
                      "AEnd=EndTag\r\nANote=\r\n");
  EXPECT_TRUE(Run());
  EXPECT_EQ(Found(), (Files{"\\|kept", "\\|first", "AMark=CD 2|AFiles=3", "\\|after"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("2.dat\" ends before the lines of its entry 2"), std::string::npos)
      << observer.failures[0];
  EXPECT_EQ(observer.archives, 3);

  for (const char* keys : {"AFiles=two\r\n", "AFiles=1\r\nAPars=four\r\n"}) {
    catalogue.WriteFile("sub\\2.dat", std::string("\\\r\nx\r\n1\r\n879719370\r\n") + keys);
    observer.failures.clear();
    EXPECT_EQ(FindSimple(""), (Files{"\\|kept", "\\|after"})) << keys;
    ASSERT_EQ(observer.failures.size(), 1u);
    EXPECT_NE(observer.failures[0].find("is not a number"), std::string::npos) << observer.failures[0];
  }
}

TEST_F(Search, AParsOfZeroLinesIsADamagedArchive) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "kept match"}}, "CD 1"));
  criteria.text = "match";
  // Should entry 0 be read again and again, this stops it before memory runs out.
  pump.onPump = [&] {
    if (pump.pumps > 100) AbortNow();
  };
  // Only the low 32 bits count, so these all give entries 0 lines each.
  for (const char* pars : {"0", "4294967296", "1099511627776"}) {
    for (const char* files : {"2", "2147483647"}) {
      catalogue.WriteFile("sub\\2.dat", std::string("\\\r\nmatch\r\n1\r\n879719370\r\n"
                                                     "\\\r\nother\r\n1\r\n879719370\r\n"
                                                     "AFiles=") +
                                             files + "\r\nAPars=" + pars + "\r\n");
      pump.pumps = 0;
      observer.failures.clear();
      EXPECT_EQ(FindSimple("match"), Files{"\\|kept match"}) << pars << " " << files;
      ASSERT_EQ(observer.failures.size(), 1u) << pars << " " << files;
      EXPECT_NE(observer.failures[0].find("is damaged"), std::string::npos) << observer.failures[0];
    }
  }
}

TEST_F(Search, FullResultsStopTheSearchKeepingWholeRows) {
  std::vector<TestEntry> many;
  for (int i = 0; i < 3000; ++i) many.push_back({"\\folder", "entry" + std::to_string(i) + ".txt"});
  catalogue.WriteFile("1.dat", ArchiveOf(many, "CD 1"));
  catalogue.WriteFile("2.dat", ArchiveOf(many, "CD 2"));
  for (int i = 0; i < 10; ++i) catalogue.WriteFile(std::to_string(10 + i) + ".dat", ArchiveOf(many, "CD"));
  // Room for one block of row records and one chunk of text (1 MiB): some
  // 20,000 of the 36,000 rows.
  constexpr std::size_t kBudget = 2 << 20;
  SearchResults small(kBudget);
  SearchEngine engine(fs, SystemTextServices(), pump, observer);
  const SearchRequest engineRequest = criteria.Request();
  const AdvancedModeQuestion engineMode = criteria.Mode();
  EXPECT_FALSE(engine.Run(catalogue.Path(), "*.dat", engineRequest, engineMode, small));
  EXPECT_TRUE(engine.ResultsWereFull());
  ASSERT_GT(small.RowCount(), 1000u);
  EXPECT_LT(small.RowCount(), 36000u);
  EXPECT_LE(small.MemoryBytes(), kBudget);
  for (std::size_t row = 0; row < small.RowCount(); ++row) ASSERT_EQ(small.FilledColumns(row), 6) << row;
  EXPECT_TRUE(observer.failures.empty());

  // The next search starts afresh.
  small.Clear();
  criteria.text = "entry2999.";
  EXPECT_TRUE(engine.Run(catalogue.Path(), "*.dat", engineRequest, engineMode, small));
  EXPECT_FALSE(engine.ResultsWereFull());
  EXPECT_EQ(small.RowCount(), 12u);
}

TEST_F(Search, AbortStopsTheArchiveAndTheWalk) {
  std::vector<TestEntry> many;
  for (int i = 0; i < 700; ++i) many.push_back({"\\", std::string("e").append(std::to_string(i))});
  catalogue.WriteFile("1.dat", ArchiveOf(many, "CD 1"));
  catalogue.WriteFile("2.dat", ArchiveOf(many, "CD 2"));
  catalogue.WriteFile("3.dat", ArchiveOf(many, "CD 3"));
  catalogue.WriteFile("sub\\4.dat", ArchiveOf(many, "CD 4"));
  // The pumps: 1 at the start, then entry 0 and entry 300 of the first archive.
  pump.onPump = [&] {
    if (pump.pumps == 3) AbortNow();
  };
  EXPECT_FALSE(Run());
  // Entry 301 is still tested after the abort; each further archive of the
  // folder is opened and its first entry tested; the subfolder is never entered.
  ASSERT_EQ(results.RowCount(), 302u + 2u);
  EXPECT_EQ(results.Cell(301, FoundColumn::kFile), "e301");
  for (std::size_t row : {302u, 303u}) {
    EXPECT_EQ(results.Cell(row, FoundColumn::kFile), "e0");
    EXPECT_NE(results.Cell(row, FoundColumn::kArchive), "CD 4");
  }
  EXPECT_EQ(observer.archives, 3);
}

TEST_F(Search, AbortOrTerminationBetweenFoldersStopsTheWalk) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "one"}}, "CD 1"));
  catalogue.WriteFile("sub\\2.dat", ArchiveOf({{"\\", "two"}}, "CD 2"));
  observer.onArchive = [&] { AbortNow(); };
  EXPECT_FALSE(Run());
  EXPECT_EQ(Found(), Files{"\\|one"});

  observer.onArchive = nullptr;
  pump.terminated = true;
  results.Clear();
  EXPECT_FALSE(Run());
  EXPECT_EQ(Found(), Files{"\\|one"});

  // A new search clears the abort flag.
  pump.terminated = false;
  results.Clear();
  EXPECT_TRUE(Run());
  EXPECT_EQ(Found().size(), 2u);
}

TEST_F(Search, MessagesArePumpedAtTheirFixedPoints) {
  std::vector<TestEntry> entries(601, TestEntry{"\\", "x"});
  catalogue.WriteFile("1.dat", ArchiveOf(entries, "CD 1"));
  catalogue.MakeFolder("empty.dat");  // a folder matching the mask: one pump
  EXPECT_TRUE(Run());
  // Start 1; entries 0, 300 and 600: 3; after the archive 1; after the folder
  // 1; before the subfolders 1; and the same last step inside "empty.dat" 1.
  EXPECT_EQ(pump.pumps, 8);
}

TEST_F(Search, TermIsReadPerArchiveAndModePerEntry) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "alpha"}}, "CD 1"));
  catalogue.WriteFile("sub\\2.dat", ArchiveOf({{"\\", "alpha"}, {"\\", "beta"}}, "CD 2"));
  criteria.text = "alpha";
  observer.onArchive = [&] { criteria.text = "beta"; };
  EXPECT_TRUE(Run());
  EXPECT_EQ(Found(), (Files{"\\|alpha", "\\|beta"}));

  std::vector<TestEntry> entries(400, TestEntry{"\\", "same"});
  catalogue.WriteFile("sub\\2.dat", ArchiveOf(entries, "CD 2"));
  criteria.text = "same";
  observer.onArchive = nullptr;
  // Switching to advanced mode with no field checked during the pump after entry 0.
  criteria.advanced = AdvancedCriteria{false, false, false, false};
  pump.pumps = 0;
  pump.onPump = [&] {
    if (pump.pumps == 5) criteria.advancedMode = true;
  };
  results.Clear();
  EXPECT_TRUE(Run());
  EXPECT_EQ(Found(), Files{"\\|same"});
}

TEST_F(Search, MultiByteCodePageUpperCasesThroughThePlatform) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"Docs", "readme.txt"}, {"\\", "notes.txt"},
                                          {"x", "CAF\xC9"}},
                                         "CD 1"));
  test::TestText text;
  text.multiByte = true;
  criteria.text = "README";
  EXPECT_TRUE(Run(text));
  EXPECT_EQ(Found(), Files{"Docs|readme.txt"});
  EXPECT_GT(text.upperCalls, 0);

  for (const bool advanced : {false, true}) {
    criteria.advancedMode = advanced;
    criteria.text = "caf\u00E9";
    results.Clear();
    EXPECT_TRUE(Run(text));
    EXPECT_EQ(Found(), Files{"x|CAF\u00C9"});  // the row as UTF-8
    criteria.text = "x\u00FF";  // the separator upper-cased the platform's way
    results.Clear();
    EXPECT_TRUE(Run(text));
    EXPECT_EQ(Found().size(), 1u) << advanced;
  }
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Many entries of every stride and kind of line end, the term now on a folder
// line, now on a name line, now on lines no entry searches (sizes, times, the
// lines between entries, the keys): found exactly where a plain reading finds it.
TEST_F(Search, SelectiveTermOnEveryStrideAndLineEnd) {
  for (const std::string ending : {"\r\n", "\n", "\r"}) {
    for (const int stride : {1, 2, 3, 4, 5, 7}) {
      constexpr int kEntries = 700;
      std::vector<std::string> lines;
      for (int l = 0; l < (kEntries - 1) * stride + 4; ++l) {
        std::string line = "line" + std::to_string(l);
        if (l % 97 == 5) line += "_ZqX";
        if (l % 131 == 7) line = "zqx" + line;
        lines.push_back(line);
      }
      std::string text;
      for (const std::string& line : lines) text += line + ending;
      text += "ANote=zqx" + ending + "AMark=CD 1" + ending + "AFiles=" +
              std::to_string(kEntries) + ending + "APars=" + std::to_string(stride) + ending +
              "AEnd=EndTag";  // no last line end
      catalogue.WriteFile("1.dat", text);
      Files expected;
      for (int i = 0; i < kEntries; ++i) {
        const std::string& folder = lines[static_cast<std::size_t>(i * stride)];
        const std::string& name = lines[static_cast<std::size_t>(i * stride + 1)];
        const auto has = [](const std::string& t) { return Lower(t).find("zqx") != std::string::npos; };
        if (has(folder) || has(name)) expected.push_back(folder + "|" + name);
      }
      ASSERT_GT(expected.size(), 5u);
      EXPECT_EQ(FindSimple("zQx"), expected) << stride << " " << ending.size();
      // Names without a dot are all file name: advanced mode finds the same.
      EXPECT_EQ(FindAdvanced("*ZQX"), expected) << stride << " " << ending.size();
      criteria.advancedMode = false;
      EXPECT_TRUE(observer.failures.empty());
    }
  }
}

// Counts the calls that read the mode, and answers "advanced" for chosen ones.
class CountingCriteria {
 public:
  SearchRequest Request() const { return {[this] { return text; }, advanced, {}}; }
  AdvancedModeQuestion Mode() const {
    return [this] { return advancedCalls.count(m_calls++) != 0; };
  }

  std::string text;
  AdvancedCriteria advanced;
  std::set<int> advancedCalls;

 private:
  mutable int m_calls = 0;
};

TEST_F(Search, ModeIsReadForEveryEntryBetweenHits) {
  std::vector<TestEntry> many(2000, TestEntry{"\\dir", "file.txt"});
  many[1500].name = "target.txt";
  // In advanced mode with "Marks" checked every entry matches, by the mark.
  catalogue.WriteFile("1.dat", ArchiveOf(many, "Shelf target"));
  CountingCriteria counting;
  counting.text = "target";
  counting.advanced.marks = true;
  // Call 0 comes as the archive opens; entry i reads the mode in call 1 + i.
  counting.advancedCalls = {701, 1201};
  SearchEngine engine(fs, SystemTextServices(), pump, observer);
  const SearchRequest engineRequest = counting.Request();
  const AdvancedModeQuestion engineMode = counting.Mode();
  EXPECT_TRUE(engine.Run(catalogue.Path(), "*.dat", engineRequest, engineMode, results));
  EXPECT_EQ(Found(), (Files{"\\dir|file.txt", "\\dir|file.txt", "\\dir|target.txt"}));

  // Entry 0 alone in case-sensitive advanced mode finds no "TARGET" anywhere,
  // which counts the archive's lines; the simple search after it still stops
  // at the name line of entry 1500.
  CountingCriteria sensitive;
  sensitive.text = "target";
  sensitive.advanced.caseSensitive = true;
  sensitive.advancedCalls = {1};
  results.Clear();
  SearchEngine second(fs, SystemTextServices(), pump, observer);
  const SearchRequest secondRequest = sensitive.Request();
  const AdvancedModeQuestion secondMode = sensitive.Mode();
  EXPECT_TRUE(second.Run(catalogue.Path(), "*.dat", secondRequest, secondMode, results));
  EXPECT_EQ(Found(), Files{"\\dir|target.txt"});
}

TEST_F(Search, ArchiveShorterThanItsCountFoundBySelectiveSearch) {
  std::vector<TestEntry> many(600, TestEntry{"\\", "other"});
  many[100].name = "hit one";
  many[599].name = "hit two";
  std::string text = ArchiveOf(many, "CD 1");
  text.replace(text.find("AFiles=600"), 10, "AFiles=1000");
  catalogue.WriteFile("1.dat", text);
  // The four key lines stand in for entry 600; entry 601 runs past the end.
  EXPECT_EQ(FindSimple("HIT"), (Files{"\\|hit one", "\\|hit two"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("ends before the lines of its entry 601."), std::string::npos)
      << observer.failures[0];
}

// Opens fail for one archive and reads for another; the others, read ahead
// on a second thread, keep their rows and their order.
class FlakyFileSystem final : public test::ForwardingFileSystem {
 public:
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override {
    if (path.ends_with("\\3.dat")) throw FileError("Cannot open file \"" + path + "\".");
    if (path.ends_with("\\5.dat")) return std::make_unique<FailingReader>(path);
    return m_fs.OpenForBlocks(path);
  }

 private:
  class FailingReader final : public BlockReader {
   public:
    explicit FailingReader(std::string path) : m_path(std::move(path)) {}
    std::size_t Read(char*, std::size_t) override {
      throw FileError("Cannot read file \"" + m_path + "\".");
    }

   private:
    std::string m_path;
  };
};

TEST_F(Search, ArchivesThatCannotBeReadAmongMany) {
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    catalogue.WriteFile(n + ".dat", ArchiveOf({{"\\", "a" + n}, {"\\", "b" + n}}, "CD " + n));
  }
  FlakyFileSystem flaky;
  Files expected;
  std::vector<std::string> expectedFailures;
  flaky.ListFolder(catalogue.Path(), "*.dat", [&](const DirEntry& entry) {
    const std::string n = entry.name.substr(0, 1);
    if (n == "3" || n == "5") {
      expectedFailures.push_back((n == "3" ? "Cannot open file \"" : "Cannot read file \"") +
                                 catalogue / entry.name + "\".");
    } else {
      expected.push_back("\\|a" + n);
      expected.push_back("\\|b" + n);
    }
    return true;
  });
  SearchEngine engine(flaky, SystemTextServices(), pump, observer);
  const SearchRequest engineRequest = criteria.Request();
  const AdvancedModeQuestion engineMode = criteria.Mode();
  EXPECT_TRUE(engine.Run(catalogue.Path(), "*.dat", engineRequest, engineMode, results));
  EXPECT_EQ(Found(), expected);
  EXPECT_EQ(observer.failures, expectedFailures);
  EXPECT_EQ(observer.archives, 8);
}

TEST_F(Search, AbortDuringASelectiveSearch) {
  std::vector<TestEntry> many;
  for (int i = 0; i < 700; ++i) {
    const bool hit = i == 0 || i == 5 || i == 301 || i == 302 || i == 650;
    many.push_back({"\\", std::string(hit ? "hit" : "e").append(std::to_string(i))});
  }
  for (const char* name : {"1.dat", "2.dat", "3.dat", "sub\\4.dat"}) {
    catalogue.WriteFile(name, ArchiveOf(many, name));
  }
  // The pumps: 1 at the start, then entries 0 and 300 of the first archive.
  pump.onPump = [&] {
    if (pump.pumps == 3) AbortNow();
  };
  criteria.text = "HIT";
  EXPECT_FALSE(Run());
  // Entry 301 is still tested; the other archives of the folder are opened and
  // their first entry tested; the subfolder is never entered.
  EXPECT_EQ(Found(), (Files{"\\|hit0", "\\|hit5", "\\|hit301", "\\|hit0", "\\|hit0"}));
  EXPECT_EQ(observer.archives, 3);
}

TEST_F(Search, SelectiveSearchPumpsAtTheSamePoints) {
  std::vector<TestEntry> entries(601, TestEntry{"\\", "x"});
  entries[299].name = "needle";
  catalogue.WriteFile("1.dat", ArchiveOf(entries, "CD 1"));
  catalogue.MakeFolder("empty.dat");
  EXPECT_EQ(FindSimple("needle"), Files{"\\|needle"});
  EXPECT_EQ(pump.pumps, 8);  // as when every entry is listed
}


// Archives in either encoding: ANSI archives through the code page's bytes,
// UTF-8 archives by Unicode's case folding; what comes out is UTF-8.

TEST_F(Search, ATermOutsideTheCodePageFindsOnlyInUtf8Archives) {
  // "??.txt" is what an earlier version listed for a name it could not write.
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "??.txt"}, {"\\", "readme.txt"}}, "CD 1"));
  catalogue.WriteFile("2.dat", Utf8ArchiveOf({{"\\", "\u6771\u4EAC.txt"}, {"\\", "readme.txt"}}, "CD 2"));
  for (const bool advanced : {false, true}) {
    criteria.advancedMode = advanced;
    EXPECT_EQ(FindSimple("\u6771\u4EAC"), Files{"\\|\u6771\u4EAC.txt"}) << advanced;
    EXPECT_EQ(FindSimple("*\u6771?\u4EAC*"), Files{"\\|\u6771\u4EAC.txt"}) << advanced;
  }
  criteria.advancedMode = false;
  // Only a term that is nothing but wildcards lists everything.
  EXPECT_EQ(FindSimple("*").size(), 4u);
  EXPECT_TRUE(observer.failures.empty());
  // Each row says whether its names are the code page's, to be fetched by that form.
  for (std::size_t row = 0; row < results.RowCount(); ++row) {
    EXPECT_EQ(results.NamesInCodePage(row), results.Cell(row, FoundColumn::kArchive) == "CD 1") << row;
  }
}

TEST_F(Search, Utf8ArchivesIgnoreLetterCaseInEveryScript) {
  catalogue.WriteFile("1.dat", Utf8ArchiveOf({{"\u039C\u03BF\u03C5\u03C3\u03B9\u03BA\u03AE", "\u03A3\u039F\u03A6\u0399\u0391.txt"},
                                              {"\u0424\u043E\u0442\u043E", "\u041C\u043E\u0441\u043A\u0432\u0430.jpg"},
                                              {"\\", "\u00C9lan Gr\u00F6\u00DFe.doc"},
                                              {"\\", "DES\u212A.ini"}},
                                             "\u0394\u03AF\u03C3\u03BA\u03BF\u03C2 1"));
  EXPECT_EQ(FindSimple("\u03C3\u03BF\u03C6\u03B9\u03B1"), Files{"\u039C\u03BF\u03C5\u03C3\u03B9\u03BA\u03AE|\u03A3\u039F\u03A6\u0399\u0391.txt"});
  EXPECT_EQ(FindSimple("\u039C\u039F\u03A5\u03A3\u0399\u039A\u0389").size(), 1u);  // the folder, accent and all
  EXPECT_EQ(FindSimple("\u043C\u041E\u0421\u041A\u0412\u0410").size(), 1u);
  EXPECT_EQ(FindSimple("\u0444\u043E\u0442\u043E\\").size(), 0u);  // no match reaches past the folder
  EXPECT_EQ(FindSimple("\u00E9LAN GR\u00D6\u1E9EE").size(), 1u);
  EXPECT_EQ(FindSimple("gr\u00F6sse").size(), 0u);  // one character for one
  EXPECT_EQ(FindSimple("desk.INI").size(), 1u);
  // In advanced mode too, name and type apart, the mark when asked for.
  EXPECT_EQ(FindAdvanced("\u043C\u043E\u0441\u043A\u0432\u0430.jpg").size(), 0u);
  EXPECT_EQ(FindAdvanced(".JPG").size(), 1u);
  EXPECT_EQ(FindAdvanced("\u03B4\u03AF\u03C3\u03BA\u03BF\u03C3").size(), 0u);
  criteria.advanced.marks = true;
  EXPECT_EQ(FindAdvanced("\u03B4\u03AF\u03C3\u03BA\u03BF\u03C3").size(), 4u);
  criteria.advanced.caseSensitive = true;
  EXPECT_EQ(FindAdvanced("\u03C3\u03BF\u03C6\u03B9\u03B1").size(), 0u);
  EXPECT_EQ(FindAdvanced("\u03A3\u039F\u03A6").size(), 1u);
}

TEST_F(Search, AnArchiveInAnUnknownEncodingIsReportedAndNotRead) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "one.txt"}}, "CD 1") + "AEncoding=UTF-16\r\n");
  catalogue.WriteFile("2.dat", Utf8ArchiveOf({{"\\", "two.txt"}}, "CD 2"));
  for (const char* typed : {"", "txt"}) {
    observer.failures.clear();
    EXPECT_EQ(FindSimple(typed), Files{"\\|two.txt"}) << typed;
    ASSERT_EQ(observer.failures.size(), 1u);
    EXPECT_EQ(observer.failures[0].find(kMsgUnknownEncoding), 0u) << observer.failures[0];
    EXPECT_NE(observer.failures[0].find(catalogue / "1.dat"), std::string::npos) << observer.failures[0];
    EXPECT_NE(observer.failures[0].find("UTF-16"), std::string::npos) << observer.failures[0];
  }
}

TEST_F(Search, RowsOfAnAnsiArchiveComeOutAsUtf8) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"M\xFCsik", "\xC9t\xE9.txt"}, {"M\xFCsik", "plain.txt"}}, " Caf\xE9 "));
  EXPECT_EQ(FindSimple("\u00E9T\u00C9"), Files{"M\u00FCsik|\u00C9t\u00E9.txt"});
  EXPECT_EQ(results.Cell(0, FoundColumn::kArchive), "Caf\u00E9");
  EXPECT_EQ(results.Cell(0, FoundColumn::kType), "txt");
  // The mark searched in advanced mode is the mark as UTF-8 too.
  criteria.advanced.marks = true;
  EXPECT_EQ(FindAdvanced("CAF\u00C9").size(), 2u);
}

TEST_F(Search, ARestrictionTakesTheMarkOfAnAnsiArchiveAsUtf8) {
  catalogue.WriteFile("1.dat", ArchiveOf({{"\\", "a.txt"}, {"\\", "b.txt"}}, "Caf\xE9"));
  catalogue.WriteFile("2.dat", Utf8ArchiveOf({{"\\", "c.txt"}}, "Caf\u00E9"));
  catalogue.WriteFile("3.dat", ArchiveOf({{"\\", "d.txt"}}, "Cafe"));
  criteria.restriction = "Caf\u00E9";
  auto found = FindSimple("");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Files{"\\|a.txt", "\\|b.txt", "\\|c.txt"}));
}

// One catalogue's texts written once in each encoding: every query finds the
// same rows in both.
TEST_F(Search, EveryCriterionActsAlikeOnBothEncodings) {
  const std::vector<TestEntry> entries = {
      {"Music\\Caf\u00E9", "Song.MP3", "5000", DosTimeText(2004, 3, 10, 12, 0, 0)},
      {"\\", "caf\u00C9 au lait.txt", "999", DosTimeText(2004, 3, 16, 0, 0, 0)},
      {"Docs", "readme", "1000", DosTimeText(2005, 1, 1, 0, 0, 0)},
      {"Docs", "\u00C4rger.doc.bak", "0", "soon"},
      {"A.b", "a.B.c", "12.345", DosTimeText(2004, 3, 12, 0, 0, 0)}};
  std::vector<TestEntry> ansi = entries;
  for (TestEntry& e : ansi) {
    e.folder = SystemTextServices().ToCodePageExactly(e.folder).value();
    e.name = SystemTextServices().ToCodePageExactly(e.name).value();
  }
  const std::string mark = "Disc caf\u00E9";
  const auto find = [&](const std::string& typed) {
    catalogue.WriteFile("1.dat", ArchiveOf(ansi, SystemTextServices().ToCodePageExactly(mark).value()));
    const Files inAnsi = FindSimple(typed);
    catalogue.WriteFile("1.dat", Utf8ArchiveOf(entries, mark));
    const Files inUtf8 = FindSimple(typed);
    EXPECT_EQ(inAnsi, inUtf8) << "\"" << typed << "\" advanced " << criteria.advancedMode;
    return inUtf8;
  };
  const std::vector<std::string> typed = {"", "*", "caf\u00E9", "CAF\u00C9", "*.mp3", "c", ".", "B.C", "doc",
                                          "\u00E4rger", "\u00C4RGER.DOC", "music\\", "readme", "e"};
  std::size_t found = 0;
  for (const bool advanced : {false, true}) {
    criteria.advancedMode = advanced;
    for (const std::string& t : typed) found += find(t).size();
  }
  criteria.advancedMode = true;
  for (const AdvancedCriteria fields : {AdvancedCriteria{true, false, false, false}, AdvancedCriteria{false, true, false, false},
                                        AdvancedCriteria{false, false, true, false}, AdvancedCriteria{false, false, false, true}}) {
    criteria.advanced = fields;
    for (const std::string& t : typed) found += find(t).size();
  }
  criteria.advanced = AdvancedCriteria{};
  criteria.advanced.caseSensitive = true;
  for (const std::string& t : typed) found += find(t).size();
  criteria.advanced = AdvancedCriteria{};
  criteria.advanced.byDate = true;
  criteria.advanced.dates = DateBoundsOf({2004, 3, 10, 0, 0, 0, 0}, {2004, 3, 12, 0, 0, 0, 0});
  EXPECT_EQ(find("").size(), 2u);
  criteria.advanced.byDate = false;
  criteria.advanced.bySize = true;
  criteria.advanced.sizeThreshold = 1000;
  EXPECT_EQ(find("").size(), 3u);
  criteria.advanced.sizeAtMost = true;
  EXPECT_EQ(find("caf\u00E9").size(), 1u);
  EXPECT_GT(found, 100u);
  EXPECT_TRUE(observer.failures.empty());
}

}  // namespace
}  // namespace discovel
