#include "check/DiscCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "check/CheckTexts.h"
#include "platform/AppError.h"
#include "support/ArchiveBuilder.h"
#include "support/FaultyReadFileSystem.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

constexpr std::size_t kBlock = 4096;

class Progresses final : public CheckObserver {
 public:
  void Progress(const CheckProgress& progress) override { last = progress; ++calls; }
  CheckProgress last;
  int calls = 0;
};

// A row as one line, so a mismatch shows it whole.
std::string Line(const CheckRow& row) {
  std::string line = std::string(StatusText(row.status)) + " | " + row.directory + " | " + row.file + " | " +
                     std::to_string(row.size) + " | " + row.reason + " |";
  for (const ArchivedCopy& copy : row.otherCopies) line += " " + copy.mark;
  return line;
}

std::vector<std::string> Lines(const std::vector<CheckRow>& rows) {
  std::vector<std::string> lines;
  for (const CheckRow& row : rows) lines.push_back(Line(row));
  return lines;
}

class DiscCheckTest : public ::testing::Test {
 protected:
  DiscCheckTest() {
    m_text.thousands.emplace(",");
    m_text.date = '/';
    m_text.time = ':';
    m_text.now = LocalTime{2026, 12, 9, 14, 30, 20, 0};
    m_folder.MakeFolder("Archive");
  }

  std::string Disc() const { return m_folder / "disc\\"; }
  void DiscFile(std::string_view relative, std::size_t size) {
    m_folder.WriteFile("disc\\" + std::string(relative), std::string(size, 'x'));
  }
  // The archive the program would have written for the disc as it is now;
  // `edit` may change its file entries first.
  std::string ArchiveOfDisc(const std::function<void(std::vector<std::string>&)>& edit = nullptr) {
    NoPump pump;
    FolderScanner scanner(m_fs, pump);
    EXPECT_TRUE(scanner.Scan(Disc()));
    std::vector<std::string> lines = scanner.Listing().Lines();
    if (edit) edit(lines);
    ArchiveLines archive(lines);
    ArchiveKeys keys;
    keys.mark = "CD No: 1";
    keys.files = static_cast<std::int64_t>(lines.size() / 4);
    archive.AppendKeyLines(keys);
    const std::string path = m_folder / "Archive\\100.dat";
    archive.Save(m_fs, path, SystemTextServices());
    return path;
  }
  bool Check(const std::string& archive) {
    DiscCheck check(m_fs, m_text, m_pump, m_progress, kBlock);
    const bool done = check.Run({Disc(), archive, m_folder / "Archive\\"});
    m_report = check.Report();
    return done;
  }
  std::string Summary() const { return CheckSummaryText(m_report.counts, ","); }

  test::TempFolder m_folder;
  test::FaultyReadFileSystem m_fs;
  test::TestText m_text;
  test::ScriptedPump m_pump;
  Progresses m_progress;
  CheckReport m_report;
};

TEST_F(DiscCheckTest, FindsEveryKindOfProblem) {
  DiscFile("readme.txt", 10);
  DiscFile("Music\\a.mp3", 3000);
  DiscFile("Music\\b.mp3", 5000);
  DiscFile("Photos\\c.jpg", 700);
  DiscFile("Photos\\d.jpg", 4000);
  const std::string archive = ArchiveOfDisc();
  // Elsewhere in the catalogue: c.jpg in other letters and of the same size,
  // and a d.jpg of another size.
  test::ArchiveBuilder("CD No: 2", 2).Entry("PHOTOS", "C.JPG", 700).Entry("x", "d.jpg", 1).WriteTo(m_folder, "Archive\\200.dat");

  std::filesystem::remove(test::NativePath(Disc() + "Photos\\c.jpg"));
  const auto dPath = test::NativePath(Disc() + "Photos\\d.jpg");
  const auto dTime = std::filesystem::last_write_time(dPath);
  DiscFile("Photos\\d.jpg", 4100);
  std::filesystem::last_write_time(dPath, dTime);  // the size alone changed
  DiscFile("new.txt", 5);
  m_fs.FailReads(Disc() + "Music\\b.mp3", kBlock);  // from the second block on

  ASSERT_TRUE(Check(archive));
  EXPECT_EQ(Lines(m_report.rows),
            (std::vector<std::string>{
                "Unreadable | Music | b.mp3 | 5000 | 904 of 5,000 bytes unreadable. Data error (cyclic redundancy check). |",
                "Missing | Photos | c.jpg | 700 |  | CD No: 2",
                "Changed | Photos | d.jpg | 4100 | Catalogued size 4,000 |",
                "Not in archive | \\ | new.txt | 5 |  |",
            }));
  EXPECT_EQ(Summary(), "Files checked: 5; Unreadable: 1; Missing: 1; Changed: 1; Not in archive: 1");
  EXPECT_EQ(m_progress.last.filesDone, 4);
  EXPECT_EQ(m_progress.last.bytesDone, 10u + 3000 + 5000 + 4100);
  EXPECT_EQ(m_progress.last.bytesTotal, m_progress.last.bytesDone);

  const ArchiveText written = ArchiveText::Load(m_fs, archive, SystemTextServices());
  EXPECT_EQ(written.ReadKey(kACheckResult), "Unreadable: 1; Missing: 1; Changed: 1; Not in archive: 1");
  EXPECT_EQ(written.ReadKey(kALastCheck), std::to_string(PackDosDateTime(*m_text.now)));
}

TEST_F(DiscCheckTest, LetterCaseOfFoldersAndNamesMakesNoOtherFile) {
  DiscFile("Music\\Rock\\Song.mp3", 300);
  DiscFile("readme.TXT", 20);
  const std::string archive = ArchiveOfDisc([](std::vector<std::string>& lines) {
    for (std::string& line : lines) {
      if (line == "Music\\Rock") line = "MUSIC\\rock";
      if (line == "Song.mp3") line = "song.MP3";
      if (line == "readme.TXT") line = "README.txt";
    }
  });

  ASSERT_TRUE(Check(archive));
  EXPECT_TRUE(m_report.rows.empty()) << Lines(m_report.rows)[0];
  EXPECT_EQ(Summary(), "All 2 files read without error.");
  EXPECT_EQ(ArchiveText::Load(m_fs, archive, SystemTextServices()).ReadKey(kACheckResult), "OK");
}

TEST_F(DiscCheckTest, AFileListedTwiceIsReadOnceAndReportedOnce) {
  DiscFile("a.txt", 100);
  DiscFile("b.txt", 200);
  const std::string archive = ArchiveOfDisc([](std::vector<std::string>& lines) {
    // a.txt again in other letters with another size; gone.txt twice.
    const std::vector<std::string> more = {"\\", "A.TXT", "999", lines[3], "\\", "gone.txt", "1", "0",
                                           "\\", "Gone.txt", "1", "0"};
    lines.insert(lines.end(), more.begin(), more.end());
  });

  ASSERT_TRUE(Check(archive));
  EXPECT_EQ(Lines(m_report.rows), (std::vector<std::string>{"Missing | \\ | gone.txt | 1 |  |"}));
  EXPECT_EQ(m_fs.TimesOpened(Disc() + "a.txt"), 1);
  EXPECT_EQ(Summary(), "Files checked: 5; Unreadable: 0; Missing: 1; Changed: 0; Not in archive: 0");
}

TEST_F(DiscCheckTest, AnArchiveWithAnEmptyListingHasEveryFileNotInIt) {
  DiscFile("Sub\\z.txt", 1);
  DiscFile("y.txt", 2);
  const std::string archive = m_folder / "Archive\\empty.dat";
  test::ArchiveBuilder("CD No: 1").WriteTo(m_folder, "Archive\\empty.dat");

  ASSERT_TRUE(Check(archive));
  EXPECT_EQ(Lines(m_report.rows), (std::vector<std::string>{"Not in archive | \\ | y.txt | 2 |  |",
                                                            "Not in archive | Sub | z.txt | 1 |  |"}));
  EXPECT_EQ(Summary(), "Files checked: 0; Unreadable: 0; Missing: 0; Changed: 0; Not in archive: 2");
}

TEST_F(DiscCheckTest, ACancelledCheckReportsAndWritesNothing) {
  DiscFile("big.bin", 3 * kBlock);
  const std::string archive = ArchiveOfDisc();
  const std::string before = m_folder.ReadFile("Archive\\100.dat");
  DiscCheck check(m_fs, m_text, m_pump, m_progress, kBlock);
  m_pump.onPump = [&] {
    if (m_progress.last.bytesDone > 0) check.RequestAbort();
  };
  EXPECT_FALSE(check.Run({Disc(), archive, m_folder / "Archive\\"}));
  EXPECT_EQ(m_progress.last.bytesDone, kBlock);
  EXPECT_TRUE(check.Report().rows.empty());
  EXPECT_EQ(m_folder.ReadFile("Archive\\100.dat"), before);
}

TEST_F(DiscCheckTest, AFolderThatCannotBeListedIsOneUnreadableRowNotItsFilesMissing) {
  DiscFile("a.txt", 1);
  DiscFile("Sub\\b.txt", 2);
  DiscFile("Sub\\Deep\\c.txt", 3);
  DiscFile("Subway\\d.txt", 4);
  const std::string archive = ArchiveOfDisc();
  m_fs.FailListing(Disc() + "Sub\\", "Data error (cyclic redundancy check).");

  ASSERT_TRUE(Check(archive));
  EXPECT_EQ(Lines(m_report.rows),
            (std::vector<std::string>{"Unreadable | Sub |  | 0 | The folder could not be listed (2 catalogued files in it "
                                      "or below). Data error (cyclic redundancy check). |"}));
  EXPECT_EQ(Summary(), "Files checked: 4; Unreadable: 1; Missing: 0; Changed: 0; Not in archive: 0");
}

TEST_F(DiscCheckTest, ADiscWhoseRootCannotBeListedIsNoCheckAndNothingIsRemembered) {
  DiscFile("a.txt", 1);
  const std::string archive = ArchiveOfDisc();
  const std::string before = m_folder.ReadFile("Archive\\100.dat");
  m_fs.FailListing(Disc(), "The device is not ready.");

  try {
    Check(archive);
    ADD_FAILURE() << "a disc that cannot be listed was checked";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "The CD/DVD could not be read. The device is not ready.");
  }
  EXPECT_TRUE(m_report.rows.empty());
  EXPECT_EQ(m_folder.ReadFile("Archive\\100.dat"), before);
}

TEST_F(DiscCheckTest, NamesWithLeadingOrTrailingBlanksAreReadByTheNamesTheDiscGives) {
  // The archive keeps them trimmed; the disc's files are opened as they are.
  DiscFile(" lead.txt", 10);
  DiscFile("trail.txt ", 20);
  DiscFile("Sub \\inner.txt", 30);
  const std::string archive = ArchiveOfDisc();
  const std::string stored = m_folder.ReadFile("Archive\\100.dat");
  ASSERT_NE(stored.find("\r\nlead.txt\r\n"), std::string::npos);
  ASSERT_NE(stored.find("\r\ntrail.txt\r\n"), std::string::npos);

  ASSERT_TRUE(Check(archive));
  EXPECT_TRUE(m_report.rows.empty()) << Lines(m_report.rows)[0];
  EXPECT_EQ(m_fs.TimesOpened(Disc() + "trail.txt "), 1);
  EXPECT_EQ(m_fs.TimesOpened(Disc() + "Sub \\inner.txt"), 1);
}

TEST(FileTimes, AnHourApartIsTheSameTimeAsEarlierVersionsListedIt) {
  const auto packed = [](int year, int month, int day, int hour, int minute, int second) {
    return PackDosDateTime(LocalTime{year, month, day, hour, minute, second, 0});
  };
  const std::int32_t july = packed(2026, 7, 14, 23, 30, 10);
  EXPECT_TRUE(SameFileTime(july, july));
  EXPECT_TRUE(SameFileTime(july, packed(2026, 7, 15, 0, 30, 10))) << "across midnight";
  EXPECT_TRUE(SameFileTime(packed(2026, 3, 1, 0, 15, 0), packed(2026, 2, 28, 23, 15, 0))) << "across a month";
  EXPECT_FALSE(SameFileTime(july, packed(2026, 7, 15, 1, 30, 10))) << "two hours";
  EXPECT_FALSE(SameFileTime(july, packed(2026, 7, 15, 0, 30, 8))) << "an hour and two seconds";
  EXPECT_FALSE(SameFileTime(july, packed(2025, 7, 14, 22, 30, 10))) << "a year and an hour";
  EXPECT_FALSE(SameFileTime(0x7FFFFFFF, 0x7FFFFFFF - 0x800)) << "no real date";
}

}  // namespace
}  // namespace discovel
