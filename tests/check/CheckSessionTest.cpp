#include "check/CheckSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/ListingChecksum.h"
#include "platform/AppError.h"
#include "platform/ModalResult.h"
#include "support/FaultyReadFileSystem.h"
#include "support/MemorySettings.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

using Texts = std::vector<std::string>;

class FakeView final : public CheckView {
 public:
  void Progress(const CheckProgress& progress) override { ++progresses; }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void Alert(std::string_view text) override { alerts.emplace_back(text); }
  void CloseDialog(int result) override { closed.push_back(result); }

  int progresses = 0;
  Texts messages;
  Texts alerts;
  std::vector<int> closed;
};

// Refuses to replace the files named, as a read-only catalogue does, and
// gives one file the former time an hour off, as for a file of the other
// half of the year.
class CatalogueFileSystem final : public test::FaultyReadFileSystem {
 public:
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    ++listings[folder];
    FaultyReadFileSystem::ListFolder(folder, mask, [&](const DirEntry& entry) {
      if (entry.name != formerShift) return onEntry(entry);
      DirEntry shifted = entry;
      // An hour later, or earlier late at night, so the date stays.
      shifted.lastWriteAsFormerlyListed = entry.lastWrite;
      shifted.lastWriteAsFormerlyListed->hour = entry.lastWrite.hour == 23 ? 22 : entry.lastWrite.hour + 1;
      return onEntry(shifted);
    });
  }
  std::string formerShift;
  std::map<std::string, int> listings;
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    if (path == refused) throw FileError("Cannot write " + path);
    FaultyReadFileSystem::WriteFileReplacing(path, bytes);
  }
  std::string refused;
};

class CheckSessionTest : public testing::Test {
 protected:
  CheckSessionTest() {
    m_text.thousands.emplace(",");
    m_folder.MakeFolder("Archive");
    m_folder.WriteFile("disc\\readme.txt", "hello");
    m_folder.WriteFile("disc\\Music\\a.mp3", std::string(3000, 'x'));
  }

  std::string Disc() const { return m_folder / "disc\\"; }
  std::string Catalogue() const { return m_folder / "Archive\\"; }

  // What adding the disc writes: its listing, under the checksum of the
  // listing's file, and the keys.
  // With `asFormerlyListed`, as an older version listed it.
  std::string AddDisc(const std::string& mark, bool asFormerlyListed = false) {
    test::ScriptedPump pump;
    FolderScanner scanner(m_fs, pump);
    EXPECT_TRUE(scanner.Scan(Disc()));
    ArchiveLines listing = scanner.Listing();
    if (asFormerlyListed) {
      EXPECT_TRUE(scanner.FormerListingText());
      listing = ArchiveLines::FromText(scanner.FormerListingText().value_or(""));
    }
    const std::string scratch = Catalogue() + "temp.dat";
    listing.Save(m_fs, scratch, SystemTextServices());
    const std::string checksum = ListingChecksumOfFile(m_fs, scratch);
    m_fs.RemoveFile(scratch);
    ArchiveLines archive = listing;
    ArchiveKeys keys;
    keys.mark = mark;
    keys.crc = checksum;
    keys.files = scanner.FileCount();
    archive.AppendKeyLines(keys);
    const std::string path = Catalogue() + checksum + ".dat";
    archive.Save(m_fs, path, SystemTextServices());
    return path;
  }

  void Open(std::optional<CheckTarget> target = std::nullopt, DiscAccess access = {}) {
    m_session.emplace(m_context, m_pump, m_view, Disc(), std::move(target), std::move(access));
    m_session->Open();
  }
  std::string ArchiveBytes(const std::string& archive) const {
    return m_folder.ReadFile("Archive\\" + archive.substr(Catalogue().size()));
  }

  test::TempFolder m_folder;
  CatalogueFileSystem m_fs;
  test::MemorySettings m_settings;
  test::TestText m_text;
  AppContext m_context{{m_fs, m_settings, m_text}, {Catalogue(), 'D'}};
  test::ScriptedPump m_pump;
  FakeView m_view;
  std::optional<CheckSession> m_session;
};

TEST_F(CheckSessionTest, FindsTheDiscsArchiveByTheChecksumOfItsListingAndChecksIt) {
  m_folder.WriteFile("Archive\\1.dat", "");  // another disc's, never read as this one
  const std::string archive = AddDisc("CD No: 7");

  m_fs.listings.clear();
  Open();
  EXPECT_EQ(m_fs.listings[Disc()], 1) << "the walk that found the archive serves the check";
  EXPECT_EQ(m_view.messages, (Texts{"Reading the CD/DVD...", "Checking the CD/DVD marked: CD No: 7"}));
  EXPECT_EQ(m_view.alerts, Texts{});
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
  EXPECT_EQ(m_session->Target().archivePath, archive);
  EXPECT_EQ(m_session->Target().mark, "CD No: 7");
  EXPECT_TRUE(m_session->Report().counts.AllWell());
  EXPECT_EQ(m_session->Report().counts.filesChecked, 2);
  EXPECT_TRUE(ArchiveLines::Load(m_fs, archive, SystemTextServices()).FindKey("ACheckResult"));
}

TEST_F(CheckSessionTest, ADiscWithoutAnArchiveIsSaidAndNotChecked) {
  AddDisc("CD No: 7");
  m_folder.WriteFile("disc\\added later.txt", "x");  // another listing, another checksum

  Open();
  EXPECT_EQ(m_view.alerts, Texts{"This CD/DVD is not in the catalogue."});
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalCancel});
  EXPECT_EQ(m_view.progresses, 0);
}

TEST_F(CheckSessionTest, AGivenArchiveIsCheckedWhenTheDiscInTheDriveIsItsOwn) {
  const std::string archive = AddDisc("CD No: 7");
  int asked = 0;
  DiscAccess access;
  access.waitForDisc = [&](std::string_view) { return ++asked, kModalCancel; };

  m_fs.listings.clear();
  Open(CheckTarget{archive, "Shown mark"}, access);
  EXPECT_EQ(m_view.messages, (Texts{"Reading the CD/DVD...", "Checking the CD/DVD marked: Shown mark"}));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(m_fs.listings[Disc()], 1) << "the walk that recognised the disc serves the check";
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
  EXPECT_TRUE(m_session->Report().counts.AllWell());
}

TEST_F(CheckSessionTest, AnotherDiscInTheDriveIsNotCheckedButTheArchivesDiscAskedForByItsMark) {
  const std::string archive = AddDisc("CD No: 7");
  const std::string before = ArchiveBytes(archive);
  // The right disc's file comes back with its own time, or a second ticking
  // over between the writes would make it a changed file.
  const std::filesystem::path song = test::NativePath(m_folder / "disc\\Music\\a.mp3");
  const std::filesystem::file_time_type songTime = std::filesystem::last_write_time(song);
  m_folder.WriteFile("disc\\Music\\a.mp3", "another disc");
  AddDisc("CD No: 8");  // the disc added last, still in the drive
  Texts asked;
  DiscAccess access;
  access.waitForDisc = [&](std::string_view message) {
    asked.emplace_back(message);
    m_folder.WriteFile("disc\\Music\\a.mp3", std::string(3000, 'x'));  // the user puts the right one in
    std::filesystem::last_write_time(song, songTime);
    return kModalOk;
  };

  Open(CheckTarget{archive, "CD No: 7"}, access);
  EXPECT_EQ(asked, Texts{"Insert CD/DVD marked: CD No: 7"});
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
  EXPECT_TRUE(m_session->Report().counts.AllWell());
  EXPECT_NE(ArchiveBytes(archive), before) << "the check of the right disc is remembered";
}

TEST_F(CheckSessionTest, TheDiscOfAnotherArchiveInsertedWhenAskedIsSaidAndNothingIsRemembered) {
  const std::string archive = AddDisc("CD No: 7");
  const std::string before = ArchiveBytes(archive);
  m_folder.WriteFile("disc\\added later.txt", "x");
  AddDisc("CD No: 8");
  int trayOpened = 0;
  DiscAccess access;
  access.waitForDisc = [](std::string_view) { return kModalOk; };  // OK with the same disc still in
  access.openTray = [&] { ++trayOpened; };

  Open(CheckTarget{archive, "CD No: 7"}, access);
  EXPECT_EQ(m_view.alerts, Texts{"You inserted wrong CD/DVD."});
  EXPECT_EQ(trayOpened, 1);
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalCancel});
  EXPECT_EQ(m_view.progresses, 0);
  EXPECT_EQ(ArchiveBytes(archive), before);
}

TEST_F(CheckSessionTest, ADiscChangedSinceItWasCataloguedIsCheckedOnceTheUserInsertsItWhenAsked) {
  const std::string archive = AddDisc("CD No: 7");
  m_folder.WriteFile("disc\\added later.txt", "x");  // a session added, say: no archive's disc now
  int asked = 0;
  DiscAccess access;
  access.waitForDisc = [&](std::string_view) { return ++asked, kModalOk; };

  Open(CheckTarget{archive, "CD No: 7"}, access);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(m_view.alerts, Texts{});
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
  EXPECT_EQ(m_session->Report().counts.notInArchive, 1);
}

TEST_F(CheckSessionTest, AnEmptyDriveIsAskedForTheDiscAndADriveNotReadyYetIsWaitedFor) {
  const std::string archive = AddDisc("CD No: 7");
  int readyAsked = 0;
  bool inserted = false;
  DiscAccess access;
  access.readyWait.step = std::chrono::milliseconds(1);
  // Empty at first; after the wait the drive needs three more questions to spin up.
  access.ready = [&] { return inserted && ++readyAsked > 3; };
  access.waitForDisc = [&](std::string_view) { return inserted = true, kModalOk; };

  Open(CheckTarget{archive, "CD No: 7"}, access);
  EXPECT_EQ(m_view.messages, (Texts{"Waiting for the CD/DVD to be ready...", "Reading the CD/DVD...",
                                    "Checking the CD/DVD marked: CD No: 7"}));
  EXPECT_EQ(readyAsked, 4);
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
}

TEST_F(CheckSessionTest, ADiscThatCannotBeListedIsSaidAndNotTakenForAnEmptyOne) {
  AddDisc("CD No: 7");
  m_fs.FailListing(Disc(), "The device is not ready.");

  Open();
  EXPECT_EQ(m_view.alerts, Texts{"The CD/DVD could not be read. The device is not ready."});
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalCancel});
}

TEST_F(CheckSessionTest, TheArchiveIsFoundInASubfolderAndUnderTheNameAnOlderVersionGaveIt) {
  // Older versions gave every file time today's offset: the archive of a
  // disc with a file of the other half of the year is named by that listing.
  m_fs.formerShift = "readme.txt";
  const std::string added = AddDisc("CD No: 7", /*asFormerlyListed=*/true);
  m_folder.MakeFolder("Archive\\merged");
  const std::string moved = Catalogue() + "merged\\" + added.substr(Catalogue().size());
  std::filesystem::rename(test::NativePath(added), test::NativePath(moved));

  Open();
  EXPECT_EQ(m_view.alerts, Texts{});
  EXPECT_EQ(m_session->Target().archivePath, moved);
  EXPECT_TRUE(m_session->Report().counts.AllWell()) << "an hour off is the time an older version listed";
}

TEST_F(CheckSessionTest, ACancelDuringTheCheckClosesOnceAndRemembersNothing) {
  const std::string archive = AddDisc("CD No: 7");
  const std::string before = m_folder.ReadFile("Archive\\" + archive.substr(Catalogue().size()));
  m_pump.onPump = [this] {
    if (m_view.progresses > 0) {
      m_session->Cancel();
      m_session->Cancel();
    }
  };

  Open();
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalCancel});
  EXPECT_EQ(m_folder.ReadFile("Archive\\" + archive.substr(Catalogue().size())), before);
}

TEST_F(CheckSessionTest, ACheckThatCannotBeRememberedIsSaidAndStillShown) {
  const std::string archive = AddDisc("CD No: 7");
  m_fs.refused = archive;

  Open();
  ASSERT_EQ(m_view.alerts.size(), 1u);
  EXPECT_NE(m_view.alerts[0].find(archive), std::string::npos) << m_view.alerts[0];
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalOk});
  EXPECT_EQ(m_session->Report().counts.filesChecked, 2);
}

TEST_F(CheckSessionTest, ACancelBeforeTheOpeningClosesAtOnceAndTheOpeningDoesNothing) {
  AddDisc("CD No: 7");
  m_session.emplace(m_context, m_pump, m_view, Disc(), std::nullopt);
  m_session->Cancel();
  m_session->Open();
  EXPECT_EQ(m_view.closed, std::vector<int>{kModalCancel});
  EXPECT_EQ(m_view.messages, Texts{});
}

}  // namespace
}  // namespace discovel
