#include "scan/FolderScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/DosTime.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "support/MemorySettings.h"
#include "support/ForwardingFileSystem.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using test::MemorySettings;
using test::ScriptedPump;
using test::TempFolder;
using Lines = std::vector<std::string>;

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// Hands every listing on in descending name order, which no file system
// returns by itself: a scanner that sorted, or listed in any order but the one
// it was given, shows. Also counts the listings asked for.
class ReversedFileSystem final : public test::ForwardingFileSystem {
 public:
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    ++listings;
    std::vector<DirEntry> entries;
    m_fs.ListFolder(folder, mask, [&](const DirEntry& e) {
      entries.push_back(e);
      return true;
    });
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return Folded(a.name) > Folded(b.name); });
    for (DirEntry& e : entries) {
      // Some platforms (Wine among them) do not flag links as reparse points.
      if (hideLinks) e.isLink = false;
      if (listedNumber) e.fileNumber = *listedNumber;
      if (!onEntry(e)) return;
    }
  }

  int listings = 0;
  bool hideLinks = false;
  // Gives every entry this number: 0 as a listing that gives none, another
  // as numbers that meet on different volumes.
  std::optional<std::uint64_t> listedNumber;
};

class ProgressLog final : public ScanProgress {
 public:
  void SetProgress(int position) override { positions.push_back(position); }
  std::vector<int> positions;
};

class FolderScannerTest : public testing::Test {
 protected:
  // A file with its own modification time, so swapped time lines show.
  void AddFile(const std::string& relative, std::size_t size) {
    disc.WriteFile(relative, std::string(size, 'x'));
    const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 7 * ++m_fileNumber);
    std::filesystem::last_write_time(test::NativePath(disc / relative), when);
  }

  // The entry the disc's file should give, its time as the file system reports it.
  Lines EntryOf(const std::string& folderLine, const std::string& relative) {
    const std::size_t slash = relative.rfind('\\');
    const std::string folder = slash == std::string::npos ? disc.Path() : disc / relative.substr(0, slash + 1);
    const std::string name = relative.substr(slash == std::string::npos ? 0 : slash + 1);
    Lines entry;
    SystemFileSystem().ListFolder(folder, name, [&](const DirEntry& e) {
      entry = {folderLine, name, std::to_string(e.size), std::to_string(PackDosDateTime(e.lastWrite))};
      return false;
    });
    return entry;
  }

  static Lines Join(std::initializer_list<Lines> entries) {
    Lines all;
    for (const Lines& e : entries) all.insert(all.end(), e.begin(), e.end());
    return all;
  }

  std::string Hostage() { return settings.ReadString(names::kKeyState, names::kHostageFile); }
  int HostageWrites() { return settings.WriteCount(names::kKeyState, names::kHostageFile); }

  TempFolder disc;
  ReversedFileSystem fs;
  MemorySettings settings;
  ScriptedPump pump;
  FolderScanner scanner{fs, settings, pump};

 private:
  int m_fileNumber = 0;
};

TEST(FolderLineTest, RootIsBackslashOthersLoseRootAndTrailingBackslash) {
  EXPECT_EQ(FolderLine("D:\\", 3), "\\");
  EXPECT_EQ(FolderLine("D:\\Music\\", 3), "Music");
  EXPECT_EQ(FolderLine("D:\\Music\\Rock\\", 3), "Music\\Rock");
  EXPECT_EQ(FolderLine("\\tmp\\disc\\Music\\Rock\\", 10), "Music\\Rock");
  // Only one trailing backslash goes, and blanks around the rest are trimmed.
  EXPECT_EQ(FolderLine("D:\\ Old \\", 3), "Old");
  EXPECT_EQ(FolderLine("D:\\a\\\\", 3), "a\\");
  // What is left blank counts as the root.
  EXPECT_EQ(FolderLine("D:\\ \t", 3), "\\");
  EXPECT_EQ(FolderLine("D:", 3), "\\");
}

TEST_F(FolderScannerTest, FilesOfAFolderComeFirstThenSubfoldersDepthFirstInEnumerationOrder) {
  // Descending enumeration: zeta.txt, Music, Empty, Docs, alpha.txt.
  AddFile("zeta.txt", 3);
  AddFile("alpha.txt", 0);
  AddFile("Music\\x.mp3", 5);
  AddFile("Music\\Rock\\y.mp3", 7);
  disc.MakeFolder("Empty");
  AddFile("Docs\\d.txt", 1);

  EXPECT_TRUE(scanner.Scan(disc.Path()));

  EXPECT_EQ(scanner.Listing().Lines(), Join({EntryOf("\\", "zeta.txt"), EntryOf("\\", "alpha.txt"),
                                             EntryOf("Music", "Music\\x.mp3"),
                                             EntryOf("Music\\Rock", "Music\\Rock\\y.mp3"),
                                             EntryOf("Docs", "Docs\\d.txt")}));
  EXPECT_EQ(scanner.FileCount(), 5);
  EXPECT_EQ(scanner.FolderCount(), 4) << "the empty folder counts too";
  EXPECT_EQ(scanner.TotalSize(), 16);
  EXPECT_EQ(EntryOf("\\", "zeta.txt")[2], "3");
  // One listing per folder: the listing pass already saw the subfolders.
  EXPECT_EQ(fs.listings, 5);
}

TEST_F(FolderScannerTest, RootWithOnlyFoldersStartsWithTheFirstFolderHoldingFiles) {
  disc.MakeFolder("B");
  AddFile("A\\Deep\\f.txt", 2);
  disc.MakeFolder("A\\Empty");

  // Without its trailing backslash the root is walked the same.
  EXPECT_TRUE(scanner.Scan(disc.Path().substr(0, disc.Path().size() - 1)));

  EXPECT_EQ(scanner.Listing().Lines(), EntryOf("A\\Deep", "A\\Deep\\f.txt"));
  EXPECT_EQ(scanner.FolderCount(), 4);
  EXPECT_EQ(Hostage(), disc / "A\\Deep\\f.txt");
}

TEST_F(FolderScannerTest, OtherMasksListMatchingEntriesButStillDescendEverywhere) {
  AddFile("a.txt", 1);
  AddFile("b.mp3", 2);
  AddFile("Music\\c.txt", 3);
  AddFile("Music\\d.mp3", 4);

  EXPECT_TRUE(scanner.Scan(disc.Path(), "*.txt"));

  EXPECT_EQ(scanner.Listing().Lines(), Join({EntryOf("\\", "a.txt"), EntryOf("Music", "Music\\c.txt")}));
  EXPECT_EQ(scanner.FileCount(), 2);
  EXPECT_EQ(scanner.TotalSize(), 4);
  EXPECT_EQ(scanner.FolderCount(), 0) << "folders are counted only when the mask lists them";
}

TEST_F(FolderScannerTest, LinksAreListedAsFoldersButALoopIsNeverWalked) {
  AddFile("a.txt", 1);
  AddFile("Sub\\b.txt", 2);
  namespace fsys = std::filesystem;
  std::error_code error;
  fsys::create_directory_symlink("..", test::NativePath(disc / "Sub\\up"), error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  fsys::create_directory_symlink(test::NativePath(disc / "Sub"), test::NativePath(disc / "Side"));

  for (const bool flagged : {true, false}) {
    SCOPED_TRACE(flagged ? "links flagged" : "links look like folders");
    fs.hideLinks = !flagged;
    EXPECT_TRUE(scanner.Scan(disc.Path()));
    EXPECT_EQ(scanner.FileCount(), flagged ? 2 : 3) << "the side link is an ordinary folder when unflagged";
    EXPECT_EQ(scanner.FolderCount(), flagged ? 3 : 4);
    // Whichever way it is reached, the loop back to the root is not entered.
    EXPECT_EQ(scanner.Listing().Lines().size(), flagged ? 8u : 12u);
  }

  // The folders' own identities tell the loop when the listing's numbers say
  // nothing, or say the same of every folder.
  fs.hideLinks = true;
  const std::optional<FolderId> root = SystemFileSystem().FolderIdentity(disc.Path());
  ASSERT_TRUE(root.has_value());
  for (const std::uint64_t number : {std::uint64_t{0}, root->file}) {
    SCOPED_TRACE(number == 0 ? "no numbers listed" : "every folder listed with the root's number");
    fs.listedNumber = number;
    EXPECT_TRUE(scanner.Scan(disc.Path()));
    EXPECT_EQ(scanner.FileCount(), 3);
    EXPECT_EQ(scanner.Listing().Lines().size(), 12u);
  }
}

TEST_F(FolderScannerTest, FileAbove4GiBKeepsItsExactSize) {
  constexpr std::uint64_t kHuge = (std::uint64_t{5} << 30) + 3;
  disc.WriteFile("big.iso", "");
  std::error_code error;
  std::filesystem::resize_file(test::NativePath(disc / "big.iso"), kHuge, error);
  if (error) GTEST_SKIP() << "no sparse 5 GiB file here: " << error.message();
  AddFile("Sub\\small.txt", 10);

  EXPECT_TRUE(scanner.Scan(disc.Path()));

  ASSERT_EQ(scanner.Listing().Lines().size(), 8u);
  EXPECT_EQ(scanner.Listing().Lines()[2], "5368709123");
  EXPECT_EQ(scanner.TotalSize(), 5368709133);
}

TEST_F(FolderScannerTest, NamesAreStoredTrimmed) {
  const std::string odd = "  odd name.txt ";
  try {
    disc.WriteFile("Sub\\" + odd, "12");
  } catch (const std::exception&) {
    GTEST_SKIP() << "the file system refuses such a name";
  }
  std::string stored;
  SystemFileSystem().ListFolder(disc / "Sub\\", "*.*", [&](const DirEntry& e) { return stored = e.name, false; });
  if (stored == "odd name.txt") GTEST_SKIP() << "the file system trims names itself";

  EXPECT_TRUE(scanner.Scan(disc.Path()));

  ASSERT_EQ(scanner.Listing().Lines().size(), 4u);
  EXPECT_EQ(scanner.Listing().Lines()[1], "odd name.txt");
  // The hostage is the real path, untrimmed.
  EXPECT_EQ(Hostage(), disc / "Sub\\" + stored);
}

TEST_F(FolderScannerTest, HostageIsTheFirstFileAndWrittenOnlyWhenEmptyAtStart) {
  AddFile("zeta.txt", 1);
  AddFile("alpha.txt", 1);
  AddFile("Sub\\s.txt", 1);
  // The value is written the moment the first file is met, before the next one.
  std::vector<std::string> seen;
  pump.onPump = [&] { seen.push_back(Hostage()); };

  EXPECT_TRUE(scanner.Scan(disc.Path()));
  EXPECT_EQ(Hostage(), disc / "zeta.txt");
  EXPECT_EQ(HostageWrites(), 1);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], "") << "read at the start";
  EXPECT_EQ(seen[1], disc / "zeta.txt");

  // Now it holds a path: later scans leave it alone.
  EXPECT_TRUE(scanner.Scan(disc.Path()));
  EXPECT_EQ(HostageWrites(), 1);

  settings.Preset(names::kKeyState, names::kHostageFile, "E:\\other.txt");
  EXPECT_TRUE(scanner.Scan(disc.Path()));
  EXPECT_EQ(Hostage(), "E:\\other.txt");
  EXPECT_EQ(HostageWrites(), 1);

  // An empty stored text counts as no hostage.
  settings.Preset(names::kKeyState, names::kHostageFile, "");
  EXPECT_TRUE(scanner.Scan(disc.Path()));
  EXPECT_EQ(Hostage(), disc / "zeta.txt");
  EXPECT_EQ(HostageWrites(), 2);
}

TEST_F(FolderScannerTest, PumpsAfterEveryFileAndEveryFolder) {
  AddFile("b.txt", 1);
  disc.MakeFolder("Sub\\Inner");
  AddFile("Sub\\s.txt", 1);
  AddFile("a.txt", 1);
  // What the counters say at each pump: exactly one of them moved by one.
  std::vector<std::pair<std::int64_t, std::int64_t>> seen;
  pump.onPump = [&] { seen.emplace_back(scanner.FileCount(), scanner.FolderCount()); };

  EXPECT_TRUE(scanner.Scan(disc.Path()));

  // Start, Sub, b.txt, a.txt, then in Sub: s.txt, Inner; end.
  const std::vector<std::pair<std::int64_t, std::int64_t>> expected = {
      {0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 2}};
  EXPECT_EQ(seen, expected);
}

TEST_F(FolderScannerTest, ProgressStartsAtZeroStepsPerFileStopsAt100AndEndsFull) {
  AddFile("a.txt", 1);
  AddFile("b.txt", 1);
  ProgressLog progress;
  EXPECT_TRUE(scanner.Scan(disc.Path(), "*.*", &progress));
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 100}));

  for (int i = 0; i < 105; ++i) disc.WriteFile("Many\\f" + std::to_string(i), "");
  progress.positions.clear();
  EXPECT_TRUE(scanner.Scan(disc.Path(), "*.*", &progress));
  EXPECT_EQ(scanner.FileCount(), 107);
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_EQ(progress.positions.front(), 0);
  EXPECT_EQ(progress.positions.back(), 100);
  EXPECT_EQ(*std::max_element(progress.positions.begin(), progress.positions.end()), 100);
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
}

TEST_F(FolderScannerTest, RefusedHostageWriteEndsTheScanWithProgressFull) {
  AddFile("a.txt", 1);
  settings.RefuseWrites();
  ProgressLog progress;
  int pumpsAtError = -1;
  try {
    scanner.Scan(disc.Path(), "*.*", &progress);
    ADD_FAILURE() << "the registry's refusal must travel on";
  } catch (const AppError&) {
    pumpsAtError = pump.pumps;
  }
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 100}));
  EXPECT_EQ(pumpsAtError, 2) << "one pump at the start, one after filling the bar";
  EXPECT_EQ(scanner.FileCount(), 0);
}

// A large folder "Big" walked first, with subfolders of its own, and a root
// folder "Again" after it.
class StoppedScanTest : public FolderScannerTest {
 protected:
  void SetUp() override {
    for (int i = 0; i < 40; ++i) disc.WriteFile("Big\\f" + std::to_string(10 + i) + ".txt", "12");
    AddFile("Big\\Inner1\\i.txt", 1);
    AddFile("Big\\Inner2\\j.txt", 1);
    AddFile("Again\\g.txt", 1);
  }

  void ExpectStoppedAfterBigsListing() {
    EXPECT_EQ(scanner.FileCount(), 40) << "the listing pass of Big runs to its end";
    EXPECT_EQ(scanner.TotalSize(), 80);
    EXPECT_EQ(scanner.FolderCount(), 4) << "Big, Again, Inner1 and Inner2 were met";
    const Lines& lines = scanner.Listing().Lines();
    ASSERT_EQ(lines.size(), 160u);
    for (std::size_t i = 0; i < lines.size(); i += 4) EXPECT_EQ(lines[i], "Big");
  }
};

TEST_F(StoppedScanTest, AbortDuringAFolderStopsAfterItsListingPass) {
  pump.onPump = [&] {
    if (scanner.FileCount() == 5) scanner.RequestAbort();
  };
  ProgressLog progress;
  EXPECT_FALSE(scanner.Scan(disc.Path(), "*.*", &progress));
  ExpectStoppedAfterBigsListing();
  EXPECT_EQ(progress.positions.back(), 100);

  // The next scan starts with the flag cleared, even when it was set before.
  pump.onPump = nullptr;
  scanner.RequestAbort();
  EXPECT_TRUE(scanner.Scan(disc.Path()));
  EXPECT_FALSE(scanner.AbortRequested());
  EXPECT_EQ(scanner.FileCount(), 43);
}

TEST_F(StoppedScanTest, ApplicationEndStopsLikeAnAbort) {
  pump.onPump = [&] {
    if (scanner.FileCount() == 1) pump.terminated = true;
  };
  EXPECT_FALSE(scanner.Scan(disc.Path()));
  ExpectStoppedAfterBigsListing();
}

}  // namespace
}  // namespace discovel
