// Knowing a disc by its listing, as adding it named its archive.
#include "scan/DiscIdentity.h"

#include <gtest/gtest.h>

#include <string>

#include "catalog/ArchiveFile.h"
#include "catalog/ListingChecksum.h"
#include "platform/Platform.h"
#include "scan/FolderScanner.h"
#include "support/ScriptedPump.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

class DiscIdentityTest : public testing::Test {
 protected:
  DiscIdentityTest() {
    m_folder.MakeFolder("Catalog");
    m_folder.WriteFile("disc\\readme.txt", "hello");
    m_folder.WriteFile("disc\\Backup\\README.TXT", std::string(300, 'o'));
  }

  std::string Disc() const { return m_folder / "disc\\"; }

  // What adding the disc at `disc` writes: its listing saved, then the
  // archive named by the checksum of that file.
  std::string AddDisc(const std::string& disc) {
    NoPump pump;
    FolderScanner scanner(m_fs, pump);
    EXPECT_TRUE(scanner.Scan(disc));
    const std::string scratch = m_folder / "Catalog\\temp.dat";
    scanner.Listing().Save(m_fs, scratch, SystemTextServices());
    const std::string archivePath = m_folder / ("Catalog\\" + ListingChecksumOfFile(m_fs, scratch) + ".dat");
    m_fs.RemoveFile(scratch);
    ArchiveLines archive = scanner.Listing();
    ArchiveKeys keys;
    keys.mark = "CD 2";
    archive.AppendKeyLines(keys);
    archive.Save(m_fs, archivePath, SystemTextServices());
    return archivePath;
  }

  test::TempFolder m_folder;
  FileSystem& m_fs = SystemFileSystem();
  test::ScriptedPump m_pump;
};

TEST_F(DiscIdentityTest, TheDiscOfTheArchiveIsKnownInAnyLetterCaseOfTheArchiveName) {
  const std::string archive = AddDisc(Disc());
  EXPECT_TRUE(DiscHoldsArchive(m_fs, SystemTextServices(), m_pump, Disc(), archive));
  EXPECT_GT(m_pump.pumps, 0) << "the walk keeps the windows alive";
  std::string upper = archive;
  upper.replace(upper.size() - 4, 4, ".DAT");
  EXPECT_TRUE(DiscHoldsArchive(m_fs, SystemTextServices(), m_pump, Disc(), upper));
}

TEST_F(DiscIdentityTest, AnotherDiscIsNotThoughItHoldsTheSameFiles) {
  const std::string archive = AddDisc(Disc());
  m_folder.WriteFile("disc\\extra.bin", "x");
  EXPECT_FALSE(DiscHoldsArchive(m_fs, SystemTextServices(), m_pump, Disc(), archive));
  EXPECT_FALSE(DiscHoldsArchive(m_fs, SystemTextServices(), m_pump, Disc(), m_folder / "Catalog\\elsewhere.dat"));
}

TEST_F(DiscIdentityTest, AStoppedWalkKnowsNoDisc) {
  // All files in the root: the listing is whole even when the walk stops
  // before the subfolders, so only the stop itself refuses.
  m_folder.WriteFile("flat\\a.txt", "a");
  m_folder.WriteFile("flat\\b.txt", "bb");
  const std::string flat = m_folder / "flat\\";
  const std::string archive = AddDisc(flat);
  m_pump.terminated = true;
  EXPECT_FALSE(DiscHoldsArchive(m_fs, SystemTextServices(), m_pump, flat, archive));
}

}  // namespace
}  // namespace discovel
