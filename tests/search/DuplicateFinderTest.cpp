#include "search/DuplicateFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "catalog/ArchiveEncoding.h"
#include "catalog/DosTime.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "search/FoundFile.h"
#include "search/SearchTestSupport.h"
#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::ArchiveBuilder;

const std::int32_t kMonday = PackDosDateTime({2006, 3, 13, 14, 30, 20, 0});
const std::int32_t kTuesday = PackDosDateTime({2006, 3, 14, 14, 30, 20, 0});

// Lists a folder's entries by name, so archives are read in a known order.
class SortedFileSystem final : public test::ForwardingFileSystem {
 public:
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    std::vector<DirEntry> entries;
    m_fs.ListFolder(folder, mask, [&](const DirEntry& entry) {
      entries.push_back(entry);
      return true;
    });
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    for (const DirEntry& entry : entries) {
      if (!onEntry(entry)) return;
    }
  }
};

class Duplicates : public ::testing::Test {
 protected:
  bool Run(DuplicateHashFunction hash = DuplicateKeyHash,
           std::size_t budget = SearchResults::kDefaultBudget) {
    // Kept until the next run: the rows' texts are the finder's.
    m_finder = std::make_unique<DuplicateFinder>(fs, SystemTextServices(), pump, observer, budget, hash);
    const bool completed = m_finder->Run(catalogue.Path(), "*.dat", request);
    groups = m_finder->Groups();
    totals = m_finder->Totals();
    full = m_finder->ResultsWereFull();
    return completed;
  }
  void AbortNow() { m_finder->Abort(); }

  // Each group as "mark:\directory\file" rows joined by " + ".
  std::vector<std::string> Listed() const {
    std::vector<std::string> listed;
    for (const DuplicateGroup& group : groups) {
      std::string text;
      for (const DuplicateRow& row : group.rows) {
        if (!text.empty()) text += " + ";
        text += std::string(row.mark) + ":" + DiscPathOf('E', row.directory, row.file).substr(2);
      }
      listed.push_back(text);
    }
    return listed;
  }
  void Write(const std::string& file, const ArchiveBuilder& archive) {
    archive.WriteTo(catalogue, file);
  }

  test::TempFolder catalogue;
  SortedFileSystem fs;
  test::ScriptedPump pump;
  test::TestObserver observer;
  DuplicateRequest request;
  std::vector<DuplicateGroup> groups;
  DuplicateTotals totals;
  bool full = false;

 private:
  std::unique_ptr<DuplicateFinder> m_finder;
};

using Listing = std::vector<std::string>;

// Every key shares one hash: what groups must then come from the keys themselves.
std::uint64_t EveryKeyCollides(std::string_view) { return 42; }

TEST_F(Duplicates, NamesMatchIgnoringLetterCaseAndGroupsListEveryCopyInOrder) {
  Write("1.dat", ArchiveBuilder("A").Entry("docs", "README.TXT", 100, kMonday).Entry("x", "only.txt"));
  Write("2.dat", ArchiveBuilder("B").Entry("old", "readme.txt", 100, kMonday).Entry("x", "other.txt"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\docs\\README.TXT + B:\\old\\readme.txt"}));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].rows[1].archivePath, catalogue / "2.dat");
  EXPECT_EQ(groups[0].rows[1].size, 100);
  EXPECT_EQ(groups[0].rows[1].dosTime, kMonday);
  EXPECT_EQ(observer.archives, 2);
}

TEST_F(Duplicates, EachCombinationOfCriteriaDecidesWhatIsOneKey) {
  Write("1.dat", ArchiveBuilder("A")
                     .Entry("\\", "same.txt", 10, kMonday)
                     .Entry("\\", "size.txt", 20, kMonday)
                     .Entry("\\", "date.txt", 30, kMonday));
  Write("2.dat", ArchiveBuilder("B")
                     .Entry("\\", "same.txt", 10, kMonday)
                     .Entry("\\", "size.txt", 21, kMonday)
                     .Entry("\\", "date.txt", 30, kTuesday)
                     .Entry("\\", "other.bin", 20, kTuesday));
  const auto find = [&](bool name, bool size, bool date) {
    request.criteria = {name, size, date};
    Run();
    return Listed();
  };
  EXPECT_EQ(find(true, false, false),
            (Listing{"A:\\date.txt + B:\\date.txt", "A:\\size.txt + B:\\size.txt",
                     "A:\\same.txt + B:\\same.txt"}));
  EXPECT_EQ(find(true, true, false), (Listing{"A:\\date.txt + B:\\date.txt", "A:\\same.txt + B:\\same.txt"}));
  EXPECT_EQ(find(true, true, true), (Listing{"A:\\same.txt + B:\\same.txt"}));
  // Without the name, files of equal size (and time) are copies.
  EXPECT_EQ(find(false, true, false),
            (Listing{"A:\\date.txt + B:\\date.txt", "A:\\size.txt + B:\\other.bin",
                     "A:\\same.txt + B:\\same.txt"}));
  EXPECT_EQ(find(false, true, true), (Listing{"A:\\same.txt + B:\\same.txt"}));
  // Monday's five files; Tuesday's two are both on B.
  EXPECT_EQ(find(false, false, true),
            (Listing{"A:\\date.txt + A:\\same.txt + A:\\size.txt + B:\\same.txt + B:\\size.txt"}));
  EXPECT_THROW(find(false, false, false), AppError);
}

TEST_F(Duplicates, CopiesInsideOneArchiveGroupOnlyWithACopyElsewhere) {
  Write("1.dat", ArchiveBuilder("A").Entry("a", "twice.txt").Entry("b", "twice.txt"));
  Write("2.dat", ArchiveBuilder("B").Entry("c", "x.txt").Entry("d", "x.txt"));
  EXPECT_TRUE(Run());
  EXPECT_TRUE(groups.empty());

  EXPECT_TRUE(Run(EveryKeyCollides));
  EXPECT_TRUE(groups.empty());

  Write("3.dat", ArchiveBuilder("C").Entry("e", "TWICE.txt"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\a\\twice.txt + A:\\b\\twice.txt + C:\\e\\TWICE.txt"}));
  EXPECT_EQ(groups[0].extraBytes.Digits(), "200");
}

TEST_F(Duplicates, AFileOnThreeDiscsIsOneGroupAndGroupsComeByTheirExtraSize) {
  Write("1.dat", ArchiveBuilder("A").Entry("\\", "small.txt", 1000).Entry("\\", "video.iso", 5000));
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "small.txt", 1000).Entry("\\", "video.iso", 5000));
  Write("3.dat", ArchiveBuilder("C").Entry("\\", "small.txt", 1000));
  Write("4.dat", ArchiveBuilder("D").Entry("\\", "small.txt", 1000));
  EXPECT_TRUE(Run());
  // 1 extra copy of 5000 bytes, then 3 of 1000.
  EXPECT_EQ(Listed(), (Listing{"A:\\video.iso + B:\\video.iso",
                               "A:\\small.txt + B:\\small.txt + C:\\small.txt + D:\\small.txt"}));
  EXPECT_EQ(groups[0].extraBytes.Digits(), "5000");
  EXPECT_EQ(groups[1].extraBytes.Digits(), "3000");
  EXPECT_EQ(totals.groups, 2u);
  EXPECT_EQ(totals.files, 6u);
  EXPECT_EQ(totals.bytes.Digits(), "8000");
}

TEST_F(Duplicates, AMarkKeepsTheGroupsWithACopyOnThatDisc) {
  Write("1.dat", ArchiveBuilder("A").Entry("\\", "ab.txt"));
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "ab.txt").Entry("\\", "bc.txt"));
  Write("3.dat", ArchiveBuilder("C").Entry("\\", "bc.txt"));
  request.mark = "A";
  for (const auto hash : {DuplicateKeyHash, EveryKeyCollides}) {
    EXPECT_TRUE(Run(hash));
    EXPECT_EQ(Listed(), (Listing{"A:\\ab.txt + B:\\ab.txt"}));
  }
}

TEST_F(Duplicates, OnThisDiscOnlyListsTheFilesNoOtherArchiveHolds) {
  Write("1.dat", ArchiveBuilder("A")
                     .Entry("\\", "shared.txt", 10)
                     .Entry("z", "mine.txt", 20)
                     .Entry("a", "also mine.txt", 30)
                     .Entry("b", "also mine.txt", 30));
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "SHARED.TXT", 10).Entry("\\", "theirs.txt"));
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "A";
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\a\\also mine.txt + A:\\b\\also mine.txt", "A:\\z\\mine.txt"}));
  EXPECT_EQ(totals.files, 3u);
  EXPECT_EQ(totals.bytes.Digits(), "80");

  request.mark.clear();
  EXPECT_THROW(Run(), AppError);
}

TEST_F(Duplicates, ADamagedArchiveIsNamedOnceAndLeftOutWhole) {
  Write("1.dat", ArchiveBuilder("A").Entry("\\", "a.txt").Entry("\\", "b.txt"));
  // Its count promises more entries than it holds: its first entry was read.
  std::string damaged = ArchiveBuilder("B").Entry("\\", "a.txt").Text();
  const std::size_t files = damaged.find("AFiles=1");
  ASSERT_NE(files, std::string::npos);
  damaged.replace(files, 8, "AFiles=9");
  catalogue.WriteFile("2.dat", damaged);
  Write("3.dat", ArchiveBuilder("C").Entry("\\", "b.txt"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\b.txt + C:\\b.txt"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("2.dat"), std::string::npos);

  // Its copy of a.txt does not count against A's either.
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "A";
  observer = test::TestObserver();
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\a.txt"}));
  EXPECT_EQ(observer.failures.size(), 1u);
}

TEST_F(Duplicates, AbortStopsTheSearchWithNothingListed) {
  ArchiveBuilder many("A");
  for (int i = 0; i < 1000; ++i) many.Entry("\\", std::to_string(i) + ".txt");
  Write("1.dat", many);
  Write("2.dat", many);
  Write("3.dat", many);
  int pumps = 0;
  pump.onPump = [&] {
    if (++pumps == 3) AbortNow();
  };
  EXPECT_FALSE(Run());
  EXPECT_TRUE(groups.empty());
  EXPECT_LT(observer.archives, 3);
  EXPECT_FALSE(full);

  pump.onPump = nullptr;  // a new run starts with the flag cleared
  EXPECT_TRUE(Run());
  EXPECT_EQ(groups.size(), 1000u);
}

TEST_F(Duplicates, KeysSharingAHashDoNotFormAGroup) {
  Write("1.dat", ArchiveBuilder("A").Entry("\\", "one.txt").Entry("\\", "two.txt"));
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "three.txt").Entry("\\", "TWO.TXT"));
  EXPECT_TRUE(Run(EveryKeyCollides));
  EXPECT_EQ(Listed(), (Listing{"A:\\two.txt + B:\\TWO.TXT"}));

  // Nor does a file of this disc lose its place to another disc's different key.
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "A";
  EXPECT_TRUE(Run(EveryKeyCollides));
  EXPECT_EQ(Listed(), (Listing{"A:\\one.txt"}));
}

TEST_F(Duplicates, PastTheMemoryBudgetItStopsAsFull) {
  ArchiveBuilder many("A");
  for (int i = 0; i < 100; ++i) many.Entry("\\", std::to_string(i) + ".txt");
  Write("1.dat", many);
  Write("2.dat", many);
  EXPECT_FALSE(Run(DuplicateKeyHash, 1000));  // not even the 2400 bytes of records
  EXPECT_TRUE(full);
  EXPECT_TRUE(groups.empty());
  EXPECT_FALSE(Run(DuplicateKeyHash, 10000));  // the records, but not the rows
  EXPECT_TRUE(full);
  EXPECT_TRUE(Run(DuplicateKeyHash, 100000));
  EXPECT_FALSE(full);
  EXPECT_EQ(groups.size(), 100u);
}

TEST_F(Duplicates, AnArchiveWrittenAnewDuringTheSearchIsNamedAndLeftOut) {
  Write("1.dat", ArchiveBuilder("A").Entry("\\", "a.txt").Entry("\\", "b.txt"));
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "a.txt"));
  Write("3.dat", ArchiveBuilder("C").Entry("\\", "b.txt"));
  // Once every archive was read, B gets another file where its copy of a.txt was.
  observer.onArchive = [&] {
    if (observer.archives == 3) Write("2.dat", ArchiveBuilder("B").Entry("\\", "new.txt").Entry("\\", "a.txt"));
  };
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\b.txt + C:\\b.txt"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("2.dat"), std::string::npos);
  EXPECT_NE(observer.failures[0].find("search again"), std::string::npos);

  // One removed in the meantime is named too; the rows of the one read before it stay.
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "a.txt"));
  observer = test::TestObserver();
  observer.onArchive = [&] {
    if (observer.archives == 3) SystemFileSystem().RemoveFile(catalogue / "2.dat");
  };
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\b.txt + C:\\b.txt"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("2.dat"), std::string::npos);

  // Files on one disc only: the other discs are read after the chosen one,
  // and one that takes its mark meanwhile is named and left out.
  Write("2.dat", ArchiveBuilder("B").Entry("\\", "a.txt"));
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "A";
  observer = test::TestObserver();
  observer.onArchive = [&] {
    if (observer.archives == 1) Write("3.dat", ArchiveBuilder("A").Entry("\\", "b.txt"));
  };
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\b.txt"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_NE(observer.failures[0].find("3.dat"), std::string::npos);
  EXPECT_NE(observer.failures[0].find("search again"), std::string::npos);
}

TEST_F(Duplicates, EntriesOfMoreLinesThanFourAreFoundWhereTheyStart) {
  static const std::string kLongFolder = "a folder whose name runs on past the sixty-four bytes of one step";
  // Each archive with its own line ends, and folder lines longer than the 64
  // bytes the line scan looks at in one step, so line ends fall on every side of one.
  const auto archive = [](const std::string& mark, std::vector<const char*> names, const std::string& eol) {
    std::string text;
    for (const char* name : names) {
      text += kLongFolder + eol + name + eol + "10" + eol + "879719370" + eol +
              "extra" + eol + "extra" + eol;
    }
    return text + "AMark=" + mark + eol + "AFiles=" + std::to_string(names.size()) + eol + "APars=6" + eol;
  };
  catalogue.WriteFile("1.dat", archive("A", {"one", "two", "three"}, "\r\n"));
  catalogue.WriteFile("2.dat", archive("B", {"four", "three", "one"}, "\r"));
  catalogue.WriteFile("3.dat", archive("C", {"two", "five"}, "\n"));
  EXPECT_TRUE(Run());
  const std::string folder = "\\" + kLongFolder + "\\";
  EXPECT_EQ(Listed(), (Listing{"A:" + folder + "one + B:" + folder + "one",
                               "A:" + folder + "three + B:" + folder + "three",
                               "A:" + folder + "two + C:" + folder + "two"}));
  EXPECT_TRUE(observer.failures.empty());
}

TEST_F(Duplicates, SizesNearTheSixtyFourBitLimitAreSummedExactly) {
  const std::string largest = "9223372036854775807";  // the largest 64-bit number
  const std::string nearly = "9223372036854775000";
  const auto archive = [&](const std::string& file, const std::string& mark,
                           const std::vector<test::TestEntry>& entries) {
    catalogue.WriteFile(file, test::ArchiveOf(entries, mark));
  };
  archive("1.dat", "A", {{"\\", "big.iso", largest}});
  archive("2.dat", "B", {{"\\", "big.iso", largest}, {"\\", "less.iso", nearly}});
  archive("3.dat", "C", {{"\\", "big.iso", largest}, {"\\", "less.iso", nearly}});
  // A size line below 0 takes nothing from the sums.
  archive("4.dat", "D", {{"\\", "odd.txt", "-5"}, {"\\", "big.iso", largest}});
  archive("5.dat", "E", {{"\\", "odd.txt", "-5"}});
  EXPECT_TRUE(Run());
  ASSERT_EQ(groups.size(), 3u);
  // Three extra copies of the largest size, then one of the other; the odd size last.
  EXPECT_EQ(groups[0].extraBytes.Digits(), "27670116110564327421");
  EXPECT_EQ(groups[1].extraBytes.Digits(), "9223372036854775000");
  EXPECT_EQ(groups[2].extraBytes.Digits(), "0");
  EXPECT_EQ(totals.bytes.Digits(), "36893488147419102421");

  // Files on one disc only: every size listed.
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "B";
  archive("2.dat", "B", {{"a", "one.iso", largest}, {"b", "two.iso", largest}, {"c", "odd.bin", "-5"}});
  EXPECT_TRUE(Run());
  EXPECT_EQ(totals.files, 3u);
  EXPECT_EQ(totals.bytes.Digits(), "18446744073709551614");
}

// Archives in either encoding: names compare as the same text, letter case
// aside by case folding, and the rows are UTF-8.

TEST_F(Duplicates, TheSameFileInAnAnsiAndAUtf8ArchiveIsOneGroup) {
  catalogue.WriteFile("1.dat", test::ArchiveOf({{"M\xFCsik", "Gr\xF6\xDF" "e.txt"}, {"\\", "caf\xE9.doc"}}, "Caf\xE9"));
  catalogue.WriteFile("2.dat", test::Utf8ArchiveOf({{"\u00C4", "GR\u00D6\u1E9EE.TXT"}, {"\\", "cafe.doc"}}, "\u0394"));
  for (const auto hash : {DuplicateKeyHash, EveryKeyCollides}) {
    EXPECT_TRUE(Run(hash));
    EXPECT_EQ(Listed(), (Listing{"Caf\u00E9:\\M\u00FCsik\\Gr\u00F6\u00DFe.txt + \u0394:\\\u00C4\\GR\u00D6\u1E9EE.TXT"}));    ASSERT_EQ(groups.size(), 1u);
    // The row of the ANSI archive is fetched by the code page's form of its names.
    EXPECT_TRUE(groups[0].rows[0].namesInCodePage);
    EXPECT_FALSE(groups[0].rows[1].namesInCodePage);
  }
  // Either disc's own files: the other disc holds the same name in another encoding.
  request.mode = DuplicateMode::kOnThisDiscOnly;
  request.mark = "\u0394";
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"\u0394:\\cafe.doc"}));
  EXPECT_TRUE(observer.failures.empty());
}

TEST_F(Duplicates, Utf8NamesMatchIgnoringLetterCaseInEveryScript) {
  catalogue.WriteFile("1.dat", test::Utf8ArchiveOf({{"\\", "\u03A3\u039F\u03A6\u0399\u0391.txt"},
                                                    {"\\", "\u041C\u043E\u0441\u043A\u0432\u0430"},
                                                    {"\\", "desk.ini"},
                                                    {"\\", "stra\u00DFe"}},
                                                   "A"));
  catalogue.WriteFile("2.dat", test::Utf8ArchiveOf({{"\\", "\u03C3\u03BF\u03C6\u03B9\u03B1.TXT"},
                                                    {"\\", "\u043C\u041E\u0421\u041A\u0412\u0410"},
                                                    {"\\", "DES\u212A.INI"},
                                                    {"\\", "STRASSE"}},
                                                   "B"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed().size(), 3u);  // the sharp s is no "SS"
  for (const std::string& group : Listed()) EXPECT_EQ(group.find("stra"), std::string::npos) << group;
}

TEST_F(Duplicates, NamesOfAsciiAloneKeepTheirOrderOfUpperCase) {
  // Groups of one size come by their keys, in which "_" comes after letters.
  for (const char* file : {"1.dat", "2.dat"}) {
    catalogue.WriteFile(file, test::ArchiveOf({{"\\", "a_b.txt"}, {"\\", "aab.txt"}}, file));
  }
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"1.dat:\\aab.txt + 2.dat:\\aab.txt", "1.dat:\\a_b.txt + 2.dat:\\a_b.txt"}));
}

TEST_F(Duplicates, AnArchiveInAnUnknownEncodingIsNamedAndLeftOut) {
  catalogue.WriteFile("1.dat", test::ArchiveOf({{"\\", "a.txt"}}, "A"));
  catalogue.WriteFile("2.dat", test::ArchiveOf({{"\\", "a.txt"}}, "B") + "AEncoding=UTF-7\r\n");
  catalogue.WriteFile("3.dat", test::Utf8ArchiveOf({{"\\", "a.txt"}}, "C"));
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"A:\\a.txt + C:\\a.txt"}));
  ASSERT_EQ(observer.failures.size(), 1u);
  EXPECT_EQ(observer.failures[0].find(kMsgUnknownEncoding), 0u) << observer.failures[0];
  EXPECT_NE(observer.failures[0].find(catalogue / "2.dat"), std::string::npos) << observer.failures[0];
}

TEST_F(Duplicates, AMarkNamesAnAnsiArchiveByItsMarkAsUtf8) {
  catalogue.WriteFile("1.dat", test::ArchiveOf({{"\\", "a.txt"}, {"\\", "b.txt"}}, "Caf\xE9"));
  catalogue.WriteFile("2.dat", test::Utf8ArchiveOf({{"\\", "a.txt"}}, "Other"));
  request.mark = "Caf\u00E9";
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"Caf\u00E9:\\a.txt + Other:\\a.txt"}));
  EXPECT_TRUE(observer.failures.empty()) << observer.failures[0];
}

TEST_F(Duplicates, TheFilesOnlyOnADiscOfAnAnsiArchiveNamedByItsMarkAsUtf8) {
  catalogue.WriteFile("1.dat", test::ArchiveOf({{"\\", "a.txt"}, {"\\", "b.txt"}}, "Caf\xE9"));
  catalogue.WriteFile("2.dat", test::Utf8ArchiveOf({{"\\", "a.txt"}}, "Other"));
  request.mark = "Caf\u00E9";
  request.mode = DuplicateMode::kOnThisDiscOnly;
  EXPECT_TRUE(Run());
  EXPECT_EQ(Listed(), (Listing{"Caf\u00E9:\\b.txt"}));
  EXPECT_TRUE(observer.failures.empty()) << observer.failures[0];
}

// The hash worked out over the fields is the hash of the key text itself.
TEST(DuplicateKeyHash, HashOverTheFieldsIsTheHashOfTheKey) {
  const NameFolder names(SystemTextServices());
  std::string key;
  std::string scratch;
  const std::string longName(300, 'x');
  for (const DuplicateCriteria criteria :
       {DuplicateCriteria{true, false, false}, DuplicateCriteria{false, true, false},
        DuplicateCriteria{false, false, true}, DuplicateCriteria{true, true, true}}) {
    for (const auto& [name, size, time] :
         {std::tuple{"Read Me.TXT", " 100 ", "879719370\t"}, std::tuple{"", "", ""},
          std::tuple{"\u00C4rger.doc", "7", "-3"}, std::tuple{"\xC4rger", "", ""},
          std::tuple{longName.c_str(), "12345678", "1"}}) {
      BuildDuplicateKey(criteria, names, name, size, time, key);
      EXPECT_EQ(HashDuplicateKey(criteria, names, name, size, time, scratch), DuplicateKeyHash(key))
          << key;
    }
  }
  // Fields never run together: the name "ab" with no size is not "a" of size "b".
  DuplicateCriteria both{true, true, false};
  EXPECT_NE(HashDuplicateKey(both, names, "ab", "", "", scratch),
            HashDuplicateKey(both, names, "a", "b", "", scratch));
}

TEST(DuplicateHashSet, FindsWhatWasPutInAndNothingElse) {
  DuplicateHashSet set(20);
  // Twenty hashes whose low bits agree, so each is placed past the others; and 0.
  for (std::uint64_t k = 1; k <= 20; ++k) set.Insert(k << 40);
  EXPECT_FALSE(set.Contains(0));
  set.Insert(0);
  set.Insert(5ull << 40);  // once more
  for (std::uint64_t k = 1; k <= 20; ++k) EXPECT_TRUE(set.Contains(k << 40)) << k;
  EXPECT_TRUE(set.Contains(0));
  EXPECT_FALSE(set.Contains(21ull << 40));
  EXPECT_FALSE(set.Contains(1));
}

}  // namespace
}  // namespace discovel
