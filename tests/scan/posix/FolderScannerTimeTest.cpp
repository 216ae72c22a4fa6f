// The exact lines of a scanned disc, times included (the seam's local time
// follows TZ natively, so the instants can be fixed here).
#include <gtest/gtest.h>
#include <sys/time.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "scan/FolderScanner.h"
#include "support/MemorySettings.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

void SetModified(const std::string& corePath, time_t utcSeconds) {
  const timeval times[2] = {{utcSeconds, 0}, {utcSeconds, 0}};
  ASSERT_EQ(utimes(ToNativePath(corePath).c_str(), times), 0);
}

TEST(FolderScannerTimeTest, DiscGivesTheEntriesOfTheArchiveExample) {
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  test::TempFolder disc;
  disc.WriteFile("readme.txt", std::string(1234, 'r'));
  disc.WriteFile("Music\\a.mp3", "");
  std::filesystem::resize_file(ToNativePath(disc / "Music\\a.mp3"), 5000000);
  SetModified(disc / "readme.txt", 1142429420);   // 2006-03-15 14:30:20 in Berlin
  SetModified(disc / "Music\\a.mp3", 1142323502);  // 2006-03-14 09:05:02 in Berlin

  test::MemorySettings settings;
  NoPump pump;
  FolderScanner scanner(SystemFileSystem(), settings, pump);
  ASSERT_TRUE(scanner.Scan(disc.Path()));

  EXPECT_EQ(scanner.Listing().Text(),
            "\\\r\nreadme.txt\r\n1234\r\n879719370\r\n"
            "Music\r\na.mp3\r\n5000000\r\n879642785\r\n");
  EXPECT_EQ(scanner.FileCount(), 2);
  EXPECT_EQ(scanner.FolderCount(), 1);
  EXPECT_EQ(scanner.TotalSize(), 5001234);
}

}  // namespace
}  // namespace discovel
