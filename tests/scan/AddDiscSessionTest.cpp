#include "scan/AddDiscSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "support/ArchiveBuilder.h"
#include "support/MemorySettings.h"
#include "support/ForwardingFileSystem.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestText.h"
#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "catalog/ListingChecksum.h"

namespace discovel {
namespace {

using test::MemorySettings;
using test::TempFolder;

// The catalogue is a real temporary folder; the disc in drive Q: is a tree in
// memory, so its file times are exact on every platform.
class DiscFileSystem final : public test::ForwardingFileSystem {
 public:
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override {
    if (failReads) throw FileError("Cannot read " + path);
    return m_fs.OpenForBlocks(path);
  }
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    if (path == refusedWrite) throw FileError("Cannot write " + path);
    m_fs.WriteFileReplacing(path, bytes);
  }
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    if (folder.rfind("Q:\\", 0) != 0) return m_fs.ListFolder(folder, mask, onEntry);
    ++discListings;
    for (const DirEntry& entry : disc[folder]) {
      if (!onEntry(entry)) return;
    }
  }

  std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) override {
    if (folder == "Q:\\" && !rootFailure.empty()) return rootFailure;
    ListFolder(folder, mask, onEntry);
    return {};
  }

  void AddFile(const std::string& folder, const std::string& name, std::uint64_t size, LocalTime time) {
    disc[folder].push_back({name, false, size, time});
  }
  void AddFolder(const std::string& folder, const std::string& name) { disc[folder].push_back({name, true}); }

  std::map<std::string, std::vector<DirEntry>> disc;
  int discListings = 0;
  bool failReads = false;
  std::string refusedWrite;
  std::string rootFailure;  // the disc's root cannot be listed, for this reason
};

class FakeView final : public AddDiscView {
 public:
  void SetProgress(int) override {}
  void ShowWalked(const WalkedSoFar& so) override {
    walked.push_back(std::to_string(so.files) + " " + std::to_string(so.folders) + " " + std::to_string(so.bytes) + " " +
                     std::string(so.folder));
  }
  void ShowMessage(std::string_view text) override { message = text; }
  void OfferUpdate() override { ++updateOffers; }
  void SetCancelCaption(std::string_view caption) override { cancelCaption = caption; }
  void ShowEditPanel(bool visible) override { editPanel = visible; }
  void ShowProgressPanel(bool visible) override { progressPanel = visible; }
  void ClearFields() override { mark = "(cleared)"; }
  void SetMark(std::string_view text) override { mark = text; }
  void FocusMark() override { ++markFocused; }
  void EnableOk(bool enabled) override { okEnabled = enabled; }
  void Alert(std::string_view text) override { alerts.emplace_back(text); }
  bool Confirm(std::string_view question) override {
    questions.emplace_back(question);
    return confirm;
  }
  void CloseDialog(int result) override { closed.push_back(result); }

  std::string message, cancelCaption = "Cancel", mark;
  bool editPanel = false, progressPanel = false, okEnabled = false;
  int markFocused = 0;
  std::vector<std::string> alerts;
  std::vector<std::string> questions;
  bool confirm = false;
  std::vector<int> closed;
  std::vector<std::string> walked;
  int updateOffers = 0;
};

// The example disc of the archive format: readme.txt in the root, Music\a.mp3.
class AddDiscSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    fs.AddFile("Q:\\", "readme.txt", 1234, {2006, 3, 15, 14, 30, 20});
    fs.AddFolder("Q:\\", "Music");
    fs.AddFile("Q:\\Music\\", "a.mp3", 5000000, {2006, 3, 14, 9, 5, 2});
  }
  std::unique_ptr<AddDiscSession> Session() {
    return std::make_unique<AddDiscSession>(context, pump, view, [this](char) { return audio; },
                                            [this](char letter) { ejected.push_back(letter); });
  }
  std::unique_ptr<AddDiscSession> Opened() {
    auto session = Session();
    session->Open();
    return session;
  }
  bool CatalogHolds(const std::string& name) { return SystemFileSystem().FileExists(catalog / name); }
  std::string LastNumber() { return settings.ReadString(names::kKeyState, names::kLastArchiveNumber); }

  DiscFileSystem fs;
  MemorySettings settings;
  test::TestText text = [] {
    test::TestText fixed;
    fixed.now = LocalTime{2007, 1, 2, 10, 0, 0, 0};
    return fixed;
  }();
  test::ScriptedPump pump;
  FakeView view;
  TempFolder catalog;
  AppContext context{{fs, settings, text}, {catalog.Path(), 'Q'}};
  bool audio = false;
  std::vector<char> ejected;
};

TEST_F(AddDiscSessionTest, NewDiscInAnEmptyCatalogueProposesTheFirstNumber) {
  auto session = Opened();
  EXPECT_EQ(session->State(), AddDiscState::Editing);
  EXPECT_EQ(view.mark, "CD No: 1");
  EXPECT_EQ(view.message,
            "Mark the CD/DVD with label: CD No: 1\r\nor type in the below Mark field what the CD/DVD is already marked.");
  EXPECT_EQ(view.cancelCaption, "Cancel");
  EXPECT_TRUE(view.editPanel && view.okEnabled);
  EXPECT_FALSE(view.progressPanel);
  EXPECT_FALSE(CatalogHolds("temp.dat"));
  EXPECT_TRUE(ejected.empty());
}

TEST_F(AddDiscSessionTest, SavedArchiveIsTheListingWithTheTwelveKeys) {
  auto session = Opened();
  ASSERT_TRUE(session->Ok(" CD No: 1 ", "Shelf 2 ", "\t"));
  EXPECT_EQ(catalog.ReadFile("355781.dat"),
            "\\\r\nreadme.txt\r\n1234\r\n879719370\r\nMusic\r\na.mp3\r\n5000000\r\n879642785\r\n"
            "ADate=908218368\r\nAMark=CD No: 1\r\nALocation=Shelf 2\r\nACRC=355781\r\nAFiles=2\r\nADirs=1\r\n"
            "ANote=\r\nASize=5001234\r\nANumber=1\r\nASource=CD/DVD\r\nAPicture=\r\nAEnd=EndTag\r\n");
  EXPECT_EQ(session->SavedArchive(), catalog / "355781.dat");
  EXPECT_EQ(LastNumber(), "1");
  EXPECT_EQ(view.message, "Saving to Catalog...");
  EXPECT_EQ(view.closed, std::vector<int>{1});
  EXPECT_EQ(ejected, std::vector<char>{'Q'});
}

TEST_F(AddDiscSessionTest, WithoutArchivesTheStoredLastNumberGoesOn) {
  settings.Preset(names::kKeyState, names::kLastArchiveNumber, " 7 ");
  EXPECT_EQ(Opened()->ProposedMark(), "CD No: 8");
  // An archive's number outranks the stored one.
  catalog.WriteFile("Box\\1.dat", "ANumber=3\r\n");
  EXPECT_EQ(Opened()->ProposedMark(), "CD No: 4");
}

TEST_F(AddDiscSessionTest, NonNumericLastNumberEndsTheOpeningWithAnError) {
  settings.Preset(names::kKeyState, names::kLastArchiveNumber, "seven");
  EXPECT_THROW(Opened(), ConvertError);
  EXPECT_FALSE(CatalogHolds("temp.dat"));
}

TEST_F(AddDiscSessionTest, SameDiscAgainIsAlreadyArchivedAndOnlyCloseRemains) {
  ASSERT_TRUE(Opened()->Ok("Box A", "", ""));
  ejected.clear();
  auto again = Opened();
  EXPECT_EQ(again->State(), AddDiscState::AlreadyArchived);
  EXPECT_EQ(view.message, "CD/DVD is already archived under: \r\nBox A");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_FALSE(view.editPanel || view.okEnabled);
  again->MarkChanged("Box B");
  EXPECT_FALSE(view.okEnabled);
  again->Cancel();
  EXPECT_EQ(ejected, std::vector<char>{'Q'});
  EXPECT_EQ(view.closed, (std::vector<int>{1, 2}));
}

TEST_F(AddDiscSessionTest, TheSameDiscIsKnownWithItsArchiveInASubfolder) {
  // Merges and restores put archives in subfolders.
  ASSERT_TRUE(Opened()->Ok("Box A", "", ""));
  catalog.MakeFolder("merged");
  std::filesystem::rename(test::NativePath(catalog / "355781.dat"), test::NativePath(catalog / "merged\\355781.dat"));
  auto again = Opened();
  EXPECT_EQ(again->State(), AddDiscState::AlreadyArchived);
  EXPECT_EQ(view.message, "CD/DVD is already archived under: \r\nBox A");
}

TEST_F(AddDiscSessionTest, TheScanWaitsForADriveNotReadyYet) {
  int asked = 0;
  AddDiscSession session(
      context, pump, view, [](char) { return false; }, [](char) {}, [&](char) { return ++asked >= 3; });
  session.Open();
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(session.State(), AddDiscState::Editing);
}

TEST_F(AddDiscSessionTest, ADiscWhoseRootCannotBeListedIsSaidUnreadableNotEmpty) {
  fs.rootFailure = "The device is not ready.";
  auto session = Opened();
  EXPECT_EQ(view.message, "The CD/DVD could not be read. The device is not ready.");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_FALSE(CatalogHolds("temp.dat"));
}

TEST_F(AddDiscSessionTest, MarkTakenApartFromCaseAndBlanksIsRefusedAndTheFieldsStay) {
  test::ArchiveBuilder("Box A", 1).Entry("\\", "a.txt").WriteTo(catalog, "5.dat");
  auto session = Opened();
  EXPECT_FALSE(session->Ok("box a ", "", ""));
  EXPECT_EQ(view.alerts, std::vector<std::string>{"The mark already exists!"});
  EXPECT_EQ(view.markFocused, 1);
  EXPECT_TRUE(view.closed.empty());
  EXPECT_EQ(LastNumber(), "");
  session->Open();  // the dialog active again: nothing starts over
  EXPECT_EQ(view.mark, "CD No: 2");
  EXPECT_EQ(fs.discListings, 2);
  EXPECT_TRUE(session->Ok("box b", "", ""));
}

TEST_F(AddDiscSessionTest, OkFollowsTheMarkOnlyWhileEditing) {
  auto session = Session();
  session->MarkChanged("x");
  EXPECT_FALSE(view.okEnabled);
  session->Open();
  session->MarkChanged(" \t ");
  EXPECT_FALSE(view.okEnabled);
  session->MarkChanged(" y");
  EXPECT_TRUE(view.okEnabled);
}

TEST_F(AddDiscSessionTest, AudioDiscIsRefusedWithoutScanning) {
  audio = true;
  auto session = Opened();
  EXPECT_EQ(view.message, "Disk is an Audio CD/DVD.\r\nPlease use only CD/DVD that contains data or Mp3 files.");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_EQ(fs.discListings, 0);
  EXPECT_FALSE(settings.Exists(names::kKeyState, names::kHostageFile));
  session->Cancel();
  EXPECT_EQ(ejected, std::vector<char>{'Q'});
}

TEST_F(AddDiscSessionTest, DiscWithFoldersOnlyIsEmpty) {
  fs.disc.clear();
  fs.AddFolder("Q:\\", "Empty");
  auto session = Opened();
  EXPECT_EQ(view.message, "Disk is empty.");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_FALSE(CatalogHolds("temp.dat"));
  session->Cancel();
  EXPECT_EQ(ejected, std::vector<char>{'Q'});
}

TEST_F(AddDiscSessionTest, CancelDuringTheScanAbortsWithoutSavingOrEjecting) {
  std::unique_ptr<AddDiscSession> session = Session();
  pump.onPump = [&] {
    if (view.progressPanel && view.closed.empty()) session->Cancel();
  };
  session->Open();
  EXPECT_EQ(session->State(), AddDiscState::Aborted);
  EXPECT_EQ(view.message, "Aborted.");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_EQ(fs.discListings, 1);  // Music was never walked
  EXPECT_EQ(view.closed, std::vector<int>{2});
  EXPECT_TRUE(ejected.empty());
  EXPECT_FALSE(view.progressPanel);
  EXPECT_FALSE(CatalogHolds("temp.dat"));
  EXPECT_EQ(LastNumber(), "");
}

TEST_F(AddDiscSessionTest, CancelBeforeTheScanStartsScansNothing) {
  std::unique_ptr<AddDiscSession> session = Session();
  pump.onPump = [&] { session->Cancel(); };
  session->Open();
  EXPECT_EQ(view.message, "Aborted.");
  EXPECT_EQ(fs.discListings, 0);
}

TEST_F(AddDiscSessionTest, ChecksumErrorLeavesNoScratchFile) {
  fs.failReads = true;
  EXPECT_THROW(Opened(), FileError);
  EXPECT_FALSE(CatalogHolds("temp.dat"));
  EXPECT_EQ(view.message, "Scanning CD/DVD, please wait...");
}

TEST_F(AddDiscSessionTest, MissingCatalogueFolderFailsTheOpening) {
  context.run.catalogFolder = catalog / "none";
  AddDiscSession session(context, pump, view, [](char) { return false; }, [](char) {});
  EXPECT_THROW(session.Open(), FileError);
  EXPECT_FALSE(SystemFileSystem().FolderExists(catalog / "none"));
}

TEST_F(AddDiscSessionTest, FailedSaveKeepsTheDialogOpenAndARetryWritesCleanKeys) {
  auto session = Opened();
  fs.refusedWrite = catalog / "355781.dat";
  EXPECT_THROW(session->Ok("CD No: 1", "", ""), FileError);
  EXPECT_TRUE(view.closed.empty());
  EXPECT_EQ(session->SavedArchive(), "");
  EXPECT_EQ(LastNumber(), "");
  fs.refusedWrite.clear();
  ASSERT_TRUE(session->Ok("CD No: 1", "", ""));
  const std::string saved = catalog.ReadFile("355781.dat");
  EXPECT_EQ(saved.find("AMark="), saved.rfind("AMark="));
}


// The listing checksum names the archive: the tests compute it from the bytes
// they expect rather than restating numbers.
std::string NameOf(std::string_view listing) { return ListingChecksumOfText(listing) + ".dat"; }

const char kExampleListing[] = "\\\r\nreadme.txt\r\n1234\r\n879719370\r\nMusic\r\na.mp3\r\n5000000\r\n879642785\r\n";

// The core tests' code page is Windows-1252; Japanese has no place in it.
TEST_F(AddDiscSessionTest, NamesOutsideTheCodePageAreSavedExactlyWithTheirBlanksInUtf8) {
  fs.AddFolder("Q:\\", "東京 ");
  fs.AddFile("Q:\\東京 \\", " 日本.txt", 7, {2006, 3, 15, 14, 30, 20});
  auto session = Opened();
  ASSERT_EQ(session->State(), AddDiscState::Editing);
  ASSERT_TRUE(session->Ok("CD 1", "", ""));
  const std::string listing = std::string(kExampleListing) + "東京 \r\n 日本.txt\r\n7\r\n879719370\r\n";
  const std::string saved = catalog.ReadFile(NameOf(listing));
  EXPECT_TRUE(saved.starts_with(listing)) << saved;
  EXPECT_TRUE(saved.ends_with("AEnd=EndTag\r\nAEncoding=UTF-8\r\n")) << saved;
}

TEST_F(AddDiscSessionTest, AMarkOutsideTheCodePageKeepsTheNameOfTheCodePageListing) {
  auto session = Opened();
  ASSERT_TRUE(session->Ok("東京", "Regal Ü", ""));
  const std::string saved = catalog.ReadFile(NameOf(kExampleListing));
  EXPECT_TRUE(saved.starts_with(kExampleListing));
  EXPECT_NE(saved.find("AMark=東京\r\nALocation=Regal Ü\r\n"), std::string::npos);
  EXPECT_TRUE(saved.ends_with("AEncoding=UTF-8\r\n"));
  // Found again by its listing, whatever its file's encoding.
  EXPECT_EQ(Opened()->State(), AddDiscState::AlreadyArchived);
}

// What an earlier version stored of a disc with names outside the code page:
// "?" for each such character, and nothing of a folder so named, which it
// could not list.
class LossyArchiveTest : public AddDiscSessionTest {
 protected:
  void SetUp() override {
    AddDiscSessionTest::SetUp();
    fs.AddFile("Q:\\", "日本.txt", 7, {2006, 3, 15, 14, 30, 20});
    fs.AddFolder("Q:\\", "東京");
    fs.AddFile("Q:\\東京\\", "inside.txt", 9, {2006, 3, 15, 14, 30, 20});
    const std::string lossy = "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n\\\r\n??.txt\r\n7\r\n879719370\r\n"
                              "Music\r\na.mp3\r\n5000000\r\n879642785\r\n";
    oldName = NameOf(lossy);
    ArchiveLines old = ArchiveLines::FromText(lossy);
    ArchiveKeys keys;
    keys.date = 908218368;
    keys.mark = "Old CD";
    keys.location = "Shelf";
    keys.crc = oldName.substr(0, oldName.size() - 4);
    keys.files = 3;
    keys.dirs = 2;
    keys.size = 5001241;
    keys.number = 4;
    old.AppendKeyLines(keys);
    old.AppendLine("ALastCheck=908218368");
    oldBytes = old.Text();
    catalog.WriteFile(oldName, oldBytes);
  }
  std::string oldName;
  std::string oldBytes;
};

TEST_F(LossyArchiveTest, TheDiscIsKnownAndTheArchiveLeftAsItIsWhenTheOfferIsDeclined) {
  auto session = Opened();
  EXPECT_EQ(session->State(), AddDiscState::AlreadyArchived);
  EXPECT_EQ(view.message, "CD/DVD is already archived under: \r\nOld CD");
  EXPECT_EQ(view.questions, std::vector<std::string>{std::string(kMsgOfferRewrite)});
  EXPECT_EQ(catalog.ReadFile(oldName), oldBytes);
}

TEST_F(LossyArchiveTest, TheRewriteKeepsTheArchivesNameAndKeysAndHoldsEveryNameExactly) {
  view.confirm = true;
  auto session = Opened();
  EXPECT_EQ(session->State(), AddDiscState::AlreadyArchived);
  EXPECT_EQ(view.message, "CD/DVD is already archived under: \r\nOld CD\r\nIts archive now holds the exact names.");
  EXPECT_EQ(session->SavedArchive(), catalog / oldName);
  EXPECT_EQ(catalog.ReadFile(oldName),
            "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n\\\r\n日本.txt\r\n7\r\n879719370\r\n"
            "Music\r\na.mp3\r\n5000000\r\n879642785\r\n東京\r\ninside.txt\r\n9\r\n879719370\r\n"
            "ADate=908218368\r\nAMark=Old CD\r\nALocation=Shelf\r\nACRC=" + oldName.substr(0, oldName.size() - 4) +
                "\r\nAFiles=4\r\nADirs=2\r\nANote=\r\nASize=5001250\r\nANumber=4\r\nASource=CD/DVD\r\nAPicture=\r\n"
                "AEnd=EndTag\r\nALastCheck=908218368\r\nAEncoding=UTF-8\r\n");
  // Rewritten, the archive is no longer offered again.
  view.questions.clear();
  EXPECT_EQ(Opened()->State(), AddDiscState::AlreadyArchived);
  EXPECT_TRUE(view.questions.empty());
}

// A drive or folder instead of the disc in the read device.
class AddSourceTest : public AddDiscSessionTest {
 protected:
  void SetUp() override {
    AddDiscSessionTest::SetUp();
    fs.AddFolder("Q:\\", "Photos");
    fs.AddFile("Q:\\Photos\\", "beach.jpg", 700, {2009, 8, 1, 12, 0, 0});
  }
  std::unique_ptr<AddDiscSession> OpenedSource(ArchiveSource source) {
    auto session = std::make_unique<AddDiscSession>(context, pump, view, std::move(source));
    session->Open();
    return session;
  }
  const ArchiveSource photos{SourceKind::kFolder, "Q:\\Photos", 0x1234ABCD, "DATA"};
};

TEST_F(AddSourceTest, AFolderIsProposedByItsNameAndSavedWithWhereItCameFrom) {
  auto session = OpenedSource(photos);
  EXPECT_EQ(session->State(), AddDiscState::Editing);
  EXPECT_EQ(view.mark, "Photos");
  EXPECT_EQ(view.message, "Mark the folder with label: Photos\r\nor type in the below Mark field the mark you want.");
  ASSERT_TRUE(session->Ok("Photos", "Desk", ""));
  const std::string saved = catalog.ReadFile(session->SavedArchive().substr(catalog.Path().size()));
  EXPECT_EQ(saved.substr(0, saved.find("ADate=")), "\\\r\nbeach.jpg\r\n700\r\n" + std::to_string(PackDosDateTime({2009, 8, 1, 12, 0, 0})) + "\r\n");
  EXPECT_NE(saved.find("\r\nASource=Folder\r\nAPicture=\r\nAEnd=EndTag\r\nASourcePath=Q:\\Photos\\\r\n"
                       "AVolumeSerial=1234-ABCD\r\nAVolumeLabel=DATA\r\n"),
            std::string::npos)
      << saved;
  EXPECT_TRUE(ejected.empty()) << "no tray to open";
  EXPECT_EQ(settings.ReadString(names::kKeyState, names::kHostageFile), "") << "a folder is no disc";
}

TEST_F(AddSourceTest, TheSameFolderAgainIsKnownByItsVolumeAndPathWhateverItHoldsNow) {
  ASSERT_TRUE(OpenedSource(photos)->Ok("Holiday", "", ""));
  fs.AddFile("Q:\\Photos\\", "new.jpg", 5, {2010, 1, 1, 0, 0, 0});
  ArchiveSource again = photos;
  again.path = "R:\\photos\\";  // the same volume under another letter
  auto session = OpenedSource(again);
  EXPECT_EQ(session->State(), AddDiscState::AlreadyArchived);
  EXPECT_EQ(view.message, "This folder is already archived under: \r\nHoliday");
  EXPECT_EQ(view.cancelCaption, "Close");
  EXPECT_EQ(view.updateOffers, 1) << "its archive may be brought up to date instead";
  ASSERT_TRUE(session->SourceArchived());
  EXPECT_EQ(session->SourceArchived()->mark, "Holiday");
  EXPECT_EQ(fs.discListings, 1) << "known before it is walked again";
}

TEST_F(AddSourceTest, ADriveTakesItsLabelUnlessAnArchiveCarriesItAndCountsAsItGoes) {
  test::ArchiveBuilder("DATA").Entry("\\", "other.txt").WriteTo(catalog, "1.dat");
  auto session = OpenedSource({SourceKind::kFixed, "Q:\\", 7, "DATA"});
  EXPECT_EQ(view.mark, "CD No: 2");
  EXPECT_EQ(view.message.rfind("Mark the drive with label: CD No: 2", 0), 0u) << view.message;
  EXPECT_EQ(view.walked, (std::vector<std::string>{"0 0 0 Q:\\", "1 2 1234 Q:\\Music\\", "2 2 5001234 Q:\\Photos\\"}));
  EXPECT_EQ(WalkedCountsText({1234, 5, 5001234, "Q:\\"}, "."), "Files: 1.234; Folders: 5; Bytes: 5.001.234");
}

TEST_F(AddSourceTest, AFolderWithoutFilesIsSaidSo) {
  fs.AddFolder("Q:\\", "Empty");
  auto session = OpenedSource({SourceKind::kFolder, "Q:\\Empty\\", 7, ""});
  EXPECT_EQ(session->State(), AddDiscState::EmptyDisc);
  EXPECT_EQ(view.message, "The folder holds no files.");
  EXPECT_TRUE(ejected.empty());
}

}  // namespace
}  // namespace discovel
