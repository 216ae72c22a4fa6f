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
using Copies = std::vector<std::vector<ArchivedCopy>>;

// The marks of each wanted file's copies, in their order.
Marks MarksOf(const Copies& copies) {
  Marks marks(copies.size());
  for (std::size_t i = 0; i < copies.size(); ++i) {
    for (const ArchivedCopy& copy : copies[i]) marks[i].push_back(copy.mark);
  }
  return marks;
}

// A copy as one line, so a mismatch shows it whole.
std::vector<std::string> Lines(const std::vector<ArchivedCopy>& copies) {
  std::vector<std::string> lines;
  for (const ArchivedCopy& copy : copies) {
    lines.push_back(copy.mark + " | " + copy.archivePath + " | " + copy.directory + " | " + copy.file);
  }
  return lines;
}

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
  Copies Find(const std::vector<CopyWanted>& wanted) {
    NoPump pump;
    Copies copies;
    EXPECT_TRUE(FindOtherCopies(m_fs, m_text, {pump, [] { return false; }}, m_folder.Path(), m_folder / "checked.dat", wanted, copies));
    return copies;
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

  const Marks marks = MarksOf(Find({{"Report.doc", 500}, {"photo.jpg", 80}, {"nowhere.txt", 1}}));
  EXPECT_EQ(marks, (Marks{{"CD No: 2", "CD No: 2", "CD No: 3"}, {"CD No: 2", "Unknown"}, {}}));
  // One pass over the catalogue, whatever the number of files looked for.
  for (const auto& [path, count] : m_fs.reads) EXPECT_EQ(count, 1) << path;
  EXPECT_EQ(m_fs.reads.count(m_folder / "checked.dat"), 0u);
}

TEST_F(OtherCopiesTest, ADamagedArchiveIsPassedOver) {
  m_folder.WriteFile("bad.dat", "\\\r\nonly.txt\r\nAFiles=3\r\nAMark=Broken\r\n");
  test::ArchiveBuilder("Good").Entry("\\", "only.txt", 100).WriteTo(m_folder, "good.dat");
  EXPECT_EQ(MarksOf(Find({{"only.txt", 100}})), (Marks{{"Good"}}));
}

TEST_F(OtherCopiesTest, EachCopyKeepsItsArchiveFolderAndNameAsThatArchiveHasThem) {
  test::ArchiveBuilder("CD 1").Entry("Music", "a.mp3", 500).WriteTo(m_folder, "checked.dat");
  test::ArchiveBuilder("CD 3").Entry("Old\\Music", "A.MP3", 500).WriteTo(m_folder, "-3.dat");
  test::ArchiveBuilder("CD 2").Entry("\\", "a.Mp3", 500).Entry("Music", "a.mp3", 500).WriteTo(m_folder, "-2.dat");

  const Copies copies = Find({{"a.mp3", 500}});
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(Lines(copies[0]), (std::vector<std::string>{
                                  "CD 2 | " + m_folder / "-2.dat" + " | \\ | a.Mp3",
                                  "CD 2 | " + m_folder / "-2.dat" + " | Music | a.mp3",
                                  "CD 3 | " + m_folder / "-3.dat" + " | Old\\Music | A.MP3",
                              }));
}

TEST_F(OtherCopiesTest, EachCopySaysHowItsArchiveHoldsIt) {
  // What tells the copy among files of its disc whose names the archive stores alike.
  test::ArchiveBuilder("CD 1").Entry("\\", "a.mp3", 500).WriteTo(m_folder, "checked.dat");
  test::ArchiveBuilder("CD 2").Entry("\\", "A.mp3", 500, 879719371).WriteTo(m_folder, "ansi.dat");
  ArchiveLines utf8;
  utf8.AppendEntry("\\", "a.MP3", 500, -5);
  ArchiveKeys keys;
  keys.mark = "CD 3";
  keys.files = 1;
  utf8.AppendKeyLines(keys);
  utf8.SetEncoding(ArchiveEncoding::Utf8);
  utf8.Save(m_fs, m_folder / "utf8.dat", m_text);

  const Copies copies = Find({{"a.mp3", 500}});
  ASSERT_EQ(copies.size(), 1u);
  ASSERT_EQ(copies[0].size(), 2u);
  EXPECT_TRUE(copies[0][0].archived.namesInCodePage);
  EXPECT_EQ(copies[0][0].archived.size, 500);
  EXPECT_EQ(copies[0][0].archived.dosTime, 879719371);
  EXPECT_FALSE(copies[0][1].archived.namesInCodePage);
  EXPECT_EQ(copies[0][1].archived.dosTime, -5);
}

}  // namespace
}  // namespace discovel
