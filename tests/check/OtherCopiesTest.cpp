#include "check/OtherCopies.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/ArchiveBuilder.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"
#include "support/TestText.h"

namespace discovel {
namespace {

using Marks = std::vector<std::vector<std::string>>;

// Counts the whole-file reads of each archive.
class CountingFileSystem final : public test::ForwardingFileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override {
    ++reads[path];
    return m_fs.ReadWholeFile(path);
  }
  std::map<std::string, int> reads;
};

class OtherCopiesTest : public ::testing::Test {
 protected:
  Marks Find(const std::vector<CopyWanted>& wanted) {
    NoPump pump;
    Marks marks;
    EXPECT_TRUE(FindOtherCopies(m_fs, m_text, {pump, [] { return false; }}, m_folder.Path(), m_folder / "checked.dat", wanted, marks));
    return marks;
  }

  test::TempFolder m_folder;
  CountingFileSystem m_fs;
  test::TestText m_text;
};

TEST_F(OtherCopiesTest, SameNameInAnyLetterCaseAndSameSizeInOtherArchives) {
  test::ArchiveBuilder("CD No: 1").Entry("\\", "Report.doc", 500).Entry("\\", "photo.jpg", 80).WriteTo(m_folder, "checked.dat");
  test::ArchiveBuilder("CD No: 3").Entry("Old", "REPORT.DOC", 500).Entry("x", "photo.jpg", 81).WriteTo(m_folder, "a.dat");
  test::ArchiveBuilder("CD No: 2")
      .Entry("Backup", "report.doc", 500)
      .Entry("Again", "Report.doc", 500)
      .Entry("y", "photo.jpg", 80)
      .WriteTo(m_folder, "Sub\\b.dat");
  test::ArchiveBuilder("").Entry("z", "photo.JPG", 80).WriteTo(m_folder, "c.dat");

  const Marks marks = Find({{"Report.doc", 500}, {"photo.jpg", 80}, {"nowhere.txt", 1}});
  EXPECT_EQ(marks, (Marks{{"CD No: 2", "CD No: 3"}, {"CD No: 2", "Unknown"}, {}}));
  // One pass over the catalogue, whatever the number of files looked for.
  for (const auto& [path, count] : m_fs.reads) EXPECT_EQ(count, 1) << path;
  EXPECT_EQ(m_fs.reads.count(m_folder / "checked.dat"), 0u);
}

TEST_F(OtherCopiesTest, ADamagedArchiveIsPassedOver) {
  m_folder.WriteFile("bad.dat", "\\\r\nonly.txt\r\nAFiles=3\r\nAMark=Broken\r\n");
  test::ArchiveBuilder("Good").Entry("\\", "only.txt", 100).WriteTo(m_folder, "good.dat");
  EXPECT_EQ(Find({{"only.txt", 100}}), (Marks{{"Good"}}));
}

}  // namespace
}  // namespace discovel
