#include "check/CheckRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/ArchiveBuilder.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

class CheckRecordTest : public ::testing::Test {
 protected:
  CheckRecordTest() { m_text.thousands.emplace("."); }

  std::vector<std::string> FilesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::NativePath(m_folder.Path()))) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  test::TempFolder m_folder;
  test::TestText m_text;
  FileSystem& m_fs = SystemFileSystem();
};

TEST_F(CheckRecordTest, AddsTheTwoKeysAndChangesNothingElse) {
  test::ArchiveBuilder builder("CD No: 7", 7);
  // A file named like the key must not receive it.
  builder.Entry("\\", "ACheckResult=OK", 5).Entry("Music", "a.mp3", 5000);
  builder.WriteTo(m_folder, "355781.dat");
  const std::string before = m_folder.ReadFile("355781.dat");
  const LocalTime when{2026, 12, 9, 14, 30, 20, 0};
  CheckCounts counts;
  counts.filesChecked = 2000;
  counts.unreadable = 1;
  counts.notInArchive = 1234;

  RecordCheck(m_fs, m_text, m_folder / "355781.dat", when, counts);
  EXPECT_EQ(m_folder.ReadFile("355781.dat"),
            before + "ALastCheck=" + std::to_string(PackDosDateTime(when)) +
                "\r\nACheckResult=Unreadable: 1; Missing: 0; Changed: 0; Not in archive: 1.234\r\n");
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"355781.dat"});

  // A later check replaces both values in place.
  const LocalTime later{2027, 1, 2, 10, 0, 0, 0};
  RecordCheck(m_fs, m_text, m_folder / "355781.dat", later, CheckCounts{2000});
  EXPECT_EQ(m_folder.ReadFile("355781.dat"),
            before + "ALastCheck=" + std::to_string(PackDosDateTime(later)) + "\r\nACheckResult=OK\r\n");
}

TEST_F(CheckRecordTest, AnArchiveThatCannotBeReadIsNamedInTheError) {
  try {
    RecordCheck(m_fs, m_text, m_folder / "gone.dat", LocalTime{2026, 1, 1}, CheckCounts{});
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_NE(std::string(e.what()).find("gone.dat"), std::string::npos);
  }
  EXPECT_TRUE(FilesInFolder().empty());
}

}  // namespace
}  // namespace discovel
