#include "browse/ArchiveFolders.h"

#include <gtest/gtest.h>

#include <limits>

#include "catalog/ArchiveEntries.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"

namespace discovel {
namespace {

using Index = ArchiveFolders::FolderIndex;

ArchiveFolders Tree(const test::ArchiveBuilder& archive) {
  return ArchiveFolders(archive.Decoded(), "C:\\Cat\\1.dat", SystemTextServices());
}

std::vector<std::string> Names(const ArchiveFolders& tree, const std::vector<Index>& folders) {
  std::vector<std::string> names;
  for (const Index folder : folders) names.emplace_back(tree.Name(folder));
  return names;
}

std::vector<std::string> ChildNames(const ArchiveFolders& tree, Index folder) {
  const auto children = tree.Children(folder);
  return Names(tree, std::vector<Index>(children.begin(), children.end()));
}

std::vector<std::string> FileNames(const ArchiveFolders& tree, Index folder) {
  std::vector<std::string> names;
  for (const auto& file : tree.Files(folder)) names.emplace_back(tree.Name(file));
  return names;
}

Index Found(const ArchiveFolders& tree, std::string_view line) {
  const auto folder = tree.Find(line);
  EXPECT_TRUE(folder) << line;
  return folder.value_or(ArchiveFolders::kRoot);
}

TEST(ArchiveFolders, FoldersInAnyOrderAndLetterCaseMakeOneTreeWithItsParents) {
  test::ArchiveBuilder archive;
  archive.Entry("Photos\\2009\\Summer", "beach.jpg", 10)
      .Entry("\\", "readme.txt", 1)
      .Entry("PHOTOS", "index.html", 2)
      .Entry("Ärger", "one", 3)
      .Entry("photos\\2009\\summer", "sea.jpg", 20)
      .Entry("ärger", "two", 4)
      .Entry("Photos\\2009\\Summer", "sand.jpg", 30);
  const ArchiveFolders tree = Tree(archive);
  EXPECT_EQ(tree.FolderCount(), 5u);  // the root, Photos, 2009, Summer, Ärger
  EXPECT_EQ(tree.Children(ArchiveFolders::kRoot).size(), 2u);
  const Index summer = Found(tree, "PHOTOS\\2009\\SUMMER");
  EXPECT_EQ(tree.Name(summer), "Summer");  // as first met
  EXPECT_EQ(tree.FolderLine(summer), "Photos\\2009\\Summer");
  EXPECT_EQ(tree.DisplayPath(summer, "D:\\"), "D:\\Photos\\2009\\Summer");
  EXPECT_EQ(tree.DisplayPath(ArchiveFolders::kRoot, "D:\\"), "D:\\");
  EXPECT_EQ(tree.FolderLine(ArchiveFolders::kRoot), "\\");
  EXPECT_EQ(tree.Name(tree.Parent(tree.Parent(summer))), "Photos");
  EXPECT_EQ(tree.Parent(ArchiveFolders::kRoot), ArchiveFolders::kNoFolder);
  // A folder listed again later is the same folder, its files in the archive's order.
  EXPECT_EQ(FileNames(tree, summer), (std::vector<std::string>{"beach.jpg", "sea.jpg", "sand.jpg"}));
  EXPECT_EQ(FileNames(tree, Found(tree, "ÄRGER")), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(FileNames(tree, Found(tree, "photos\\2009")), std::vector<std::string>{});
  EXPECT_EQ(Found(tree, "\\"), ArchiveFolders::kRoot);
  EXPECT_FALSE(tree.Find("Photos\\2010"));
  EXPECT_FALSE(tree.Find("Summer"));

  // Each entry is found again in its folder.
  for (std::size_t entry = 0; entry < tree.FileCount(); ++entry) {
    const auto place = tree.FindEntry(entry);
    ASSERT_TRUE(place);
    EXPECT_EQ(tree.Files(place->folder)[place->position].entry, entry);
  }
  EXPECT_EQ(tree.FindEntry(4)->folder, summer);
  EXPECT_EQ(tree.FindEntry(4)->position, 1u);
  EXPECT_FALSE(tree.FindEntry(tree.FileCount()));

  const auto& root = tree.TotalsOf(ArchiveFolders::kRoot);
  EXPECT_EQ(root.files, 7u);
  EXPECT_EQ(root.folders, 4u);
  EXPECT_EQ(root.bytes.Digits(), "70");
  const auto& photos = tree.TotalsOf(Found(tree, "photos"));
  EXPECT_EQ(photos.files, 4u);
  EXPECT_EQ(photos.folders, 2u);
  EXPECT_EQ(photos.bytes.Digits(), "62");
}

TEST(ArchiveFolders, ChildrenSortByNameOrByTotalSizeAndFilesByName) {
  test::ArchiveBuilder archive;
  archive.Entry("gamma", "b", 5)
      .Entry("Alpha\\deep", "x", 1)
      .Entry("beta", "c", 50)
      .Entry("gamma", "c2", 5)
      .Entry("gamma", "A", 1)
      .Entry("gamma", "C1", 0)
      .Entry("Alpha", "y", 7);
  const ArchiveFolders tree = Tree(archive);
  EXPECT_EQ(ChildNames(tree, ArchiveFolders::kRoot), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  // Alpha (8 bytes) and gamma (11): the total of what lies below counts.
  EXPECT_EQ(Names(tree, tree.ChildrenBySize(ArchiveFolders::kRoot)),
            (std::vector<std::string>{"beta", "gamma", "Alpha"}));
  const Index gamma = Found(tree, "gamma");
  const auto byName = tree.FilesByName(gamma);
  std::vector<std::string> names;
  for (const auto position : byName) names.emplace_back(tree.Name(tree.Files(gamma)[position]));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "C1", "c2"}));
}

// A folder listed twice can name a file twice: the one of the found file's
// size and time is the one shown.
TEST(ArchiveFolders, AFileIsFoundByItsExactNameAndOfSeveralByItsSizeAndTime) {
  test::ArchiveBuilder archive;
  archive.Entry("Docs", "a.txt", 5, 100).Entry("docs", "a.txt", 7, 200).Entry("Docs", "B.txt", 1);
  const ArchiveFolders tree = Tree(archive);
  const Index docs = Found(tree, "DOCS");
  const auto nameAt = [&](std::optional<std::size_t> at) {
    return at ? std::string(tree.Name(tree.Files(docs)[*at])) + "/" + std::to_string(tree.Files(docs)[*at].size)
              : std::string("none");
  };
  EXPECT_EQ(nameAt(tree.FindFile(docs, "a.txt", 7, 200)), "a.txt/7");
  EXPECT_EQ(nameAt(tree.FindFile(docs, "a.txt", std::nullopt, std::nullopt)), "a.txt/5");
  EXPECT_EQ(nameAt(tree.FindFile(docs, "a.txt", 9, std::nullopt)), "a.txt/5") << "no size matches: the first named so";
  EXPECT_EQ(nameAt(tree.FindFile(docs, "b.txt", std::nullopt, std::nullopt)), "none") << "the name as listed";
}

TEST(ArchiveFolders, TotalsAddUpPastSixtyFourBits) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  // The builder's own ASize would overflow: the entries are written by hand.
  ArchiveLines archive;
  archive.AppendEntry("a\\b", "1", kMax, 0);
  archive.AppendEntry("a", "2", kMax, 0);
  archive.AppendEntry("a\\b", "3", kMax, 0);
  archive.AppendEntry("c", "4", 5, 0);
  archive.AppendLine("AFiles=4");
  const ArchiveFolders tree(DecodedArchive{archive.Text(), ArchiveEncoding::Utf8}, "1.dat", SystemTextServices());
  EXPECT_EQ(tree.TotalsOf(Found(tree, "a\\b")).bytes.Digits(), "18446744073709551614");
  EXPECT_EQ(tree.TotalsOf(Found(tree, "a")).bytes.Digits(), "27670116110564327421");
  EXPECT_EQ(tree.TotalsOf(ArchiveFolders::kRoot).bytes.Digits(), "27670116110564327426");
}

// The tree reads the text in one pass, without the search's index of its lines.
TEST(ArchiveFolders, EntriesAreTheSearchsForAnyStrideLineEndsAndKeyBlockLength) {
  const char* const lineEnds[] = {"\r\n", "\n", "\r"};
  for (const std::size_t stride : {1u, 2u, 3u, 4u, 6u}) {
    // Every line a number, so that entries sharing lines (a stride below 4) are whole.
    std::string text;
    constexpr std::size_t kLines = 40;
    for (std::size_t line = 0; line < kLines; ++line) text += std::to_string(line % 7) + lineEnds[line % 3];
    const std::size_t count = (kLines - 4) / stride + 1;
    // A note longer than the first piece of the text's end that is looked at for the keys.
    text += "AFiles=" + std::to_string(count) + "\r\nAPars=" + std::to_string(stride) + "\nANote=" +
            std::string(10000, 'n') + "\r\n\r\n";
    const ArchiveText indexed(text);
    const std::vector<EntryView> entries = ListArchiveEntries(indexed, "1.dat");
    ASSERT_EQ(entries.size(), count);
    const ArchiveFolders tree(DecodedArchive{text, ArchiveEncoding::Utf8}, "1.dat", SystemTextServices());
    ASSERT_EQ(tree.FileCount(), count) << "stride " << stride;
    for (std::size_t i = 0; i < count; ++i) {
      const auto place = tree.FindEntry(i);
      ASSERT_TRUE(place);
      EXPECT_EQ(tree.FolderLine(place->folder), entries[i].folder) << "stride " << stride << ", entry " << i;
      const ArchiveFolders::File& file = tree.Files(place->folder)[place->position];
      EXPECT_EQ(tree.Name(file), entries[i].name) << "stride " << stride << ", entry " << i;
      EXPECT_EQ(std::to_string(file.size), entries[i].size) << "stride " << stride << ", entry " << i;
    }
  }
}

// Each entry as the tree holds it, in the archive's order, or what it says
// of the archive.
std::vector<std::string> Described(const std::string& text, const EntryReading& reading) {
  std::vector<std::string> described;
  try {
    const ArchiveFolders tree(DecodedArchive{text, ArchiveEncoding::Utf8}, "1.dat", SystemTextServices(), reading);
    for (std::size_t i = 0; i < tree.FileCount(); ++i) {
      const auto place = tree.FindEntry(i);
      const ArchiveFolders::File& file = tree.Files(place->folder)[place->position];
      described.push_back(tree.FolderLine(place->folder) + "|" + std::string(tree.Name(file)) + "|" +
                          std::to_string(file.size) + "|" + std::to_string(file.dosTime));
    }
    described.push_back(std::to_string(tree.FolderCount()) + " folders");
  } catch (const AppError& e) {
    described.push_back(e.what());
  }
  return described;
}

// A large text is read in stretches on several threads, each begun where an
// entry seems to begin: lines that are numbers or empty make such guesses go
// wrong, and the tree must come out as one reading of the text makes it.
TEST(ArchiveFolders, ReadingInStretchesAtOnceMakesTheTreeOfOneReading) {
  const char* const lines[] = {"", "-5", "3", "12", "a", "\\", "Docs\\x", "DOCS"};
  std::uint32_t seed = 7;
  const auto next = [&seed](std::uint32_t below) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % below;
  };
  for (int round = 0; round < 40; ++round) {
    std::string text;
    const std::size_t entries = 200 + next(200);
    // Now and then one entry whose size is no number.
    const std::size_t damaged = next(4) == 0 ? next(static_cast<std::uint32_t>(entries)) : entries;
    for (std::size_t e = 0; e < entries; ++e) {
      if (round % 2 == 0) {
        // Blocks of nine: an entry of no name, then eight whose folder and
        // name are numbers, which look like entries begun at its size.
        text += e % 9 == 0 ? "\\\r\n\r\n" : "3\r\n-5\r\n";
        text += std::string(e == damaged ? "a" : "1") + "\r\n2\r\n";
        continue;
      }
      // Mostly sound entries, with runs of numbers and empty lines among them.
      const bool odd = next(3) == 0;
      text += std::string(odd ? lines[next(8)] : "Photos\\2009") + "\r\n";
      text += std::string(odd ? lines[next(8)] : "b.jpg") + "\r\n";
      text += std::string(e == damaged ? "a" : odd ? lines[2 + next(2)] : "100") + "\r\n";
      text += std::string(odd ? lines[1 + next(3)] : "879719370") + "\r\n";
    }
    // Sometimes fewer entries than the count says.
    text += "AFiles=" + std::to_string(entries + next(2)) + "\r\n";
    const std::vector<std::string> once = Described(text, EntryReading{.threads = 1});
    for (const unsigned threads : {2u, 3u, 4u}) {
      EXPECT_EQ(Described(text, EntryReading{.splitFrom = 0, .threads = threads}), once)
          << "round " << round << ", " << threads << " threads";
    }
  }
}

TEST(ArchiveFolders, AnEmptyArchiveIsItsRootAlone) {
  const ArchiveFolders tree = Tree(test::ArchiveBuilder());
  EXPECT_EQ(tree.FolderCount(), 1u);
  EXPECT_TRUE(tree.Children(ArchiveFolders::kRoot).empty());
  EXPECT_TRUE(tree.Files(ArchiveFolders::kRoot).empty());
  EXPECT_TRUE(tree.TotalsOf(ArchiveFolders::kRoot).bytes.IsZero());
  EXPECT_FALSE(tree.FindEntry(0));
}

TEST(ArchiveFolders, ADamagedArchiveIsNamedAsTheSearchNamesIt) {
  const std::string entry = "\\\r\nx\r\n1\r\n879719370\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {entry + "AFiles=two\r\n", "The AFiles value \"two\" of archive \"C:\\Cat\\1.dat\" is not a number."},
      {entry + "AFiles=1\r\nAPars=four\r\n", "The APars value \"four\" of archive \"C:\\Cat\\1.dat\" is not a number."},
      {entry + "AFiles=2\r\n", "Archive \"C:\\Cat\\1.dat\" ends before the lines of its entry 1."},
      {entry + "\\\r\ny\r\nbig\r\n0\r\nAFiles=2\r\n", "C:\\Cat\\1.dat 1"},
      {entry + "\\\r\ny\r\n-1\r\n0\r\nAFiles=2\r\n", "C:\\Cat\\1.dat 1"},
      {"\\\r\ny\r\n1\r\nnoon\r\nAFiles=1\r\n", "C:\\Cat\\1.dat 0"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ArchiveFolders(DecodedArchive{text, ArchiveEncoding::Utf8}, "C:\\Cat\\1.dat", SystemTextServices());
      ADD_FAILURE() << "no error for " << text;
    } catch (const AppError& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
}

}  // namespace
}  // namespace discovel
