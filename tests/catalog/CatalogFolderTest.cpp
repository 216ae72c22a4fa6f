#include "catalog/CatalogFolder.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(CatalogFolderTest, ArchiveFolderStandsBesideTheProgram) {
  EXPECT_EQ(CatalogFolderFor("C:\\Tools\\discovel.exe"), "C:\\Tools\\Archive\\");
  EXPECT_EQ(CatalogFolderFor("C:\\discovel.exe"), "C:\\Archive\\");
  EXPECT_EQ(CatalogFolderFor("\\\\server\\share\\Disc Tools\\discovel.exe"),
            "\\\\server\\share\\Disc Tools\\Archive\\");
}

}  // namespace
}  // namespace discovel
