// The replacing write of the platform's file system (POSIX natively, Win32
// under Wine): each write has a temporary of its own.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

TEST(ReplacingWrite, TwoWritersOfOneFileEachPutTheirOwnBytesInPlace) {
  // Two machines on a share, say: neither may move the other's file into place.
  test::TempFolder folder;
  FileSystem& fs = SystemFileSystem();
  const std::string path = folder / "1.dat";
  const std::string bytes[2] = {std::string(1 << 18, 'a'), std::string(1 << 18, 'b')};
  for (int round = 0; round < 10; ++round) {
    std::string failures[2];
    std::vector<std::thread> writers;
    for (int i = 0; i < 2; ++i) {
      writers.emplace_back([&, i] {
        try {
          fs.WriteFileReplacing(path, bytes[i]);
        } catch (const FileError& error) {
          failures[i] = error.what();
        }
      });
    }
    for (std::thread& writer : writers) writer.join();
    EXPECT_EQ(failures[0] + failures[1], "") << "round " << round;
    const std::string written = fs.ReadWholeFile(path);
    EXPECT_TRUE(written == bytes[0] || written == bytes[1]) << "round " << round << ": mixed bytes";
  }
  int entries = 0;
  fs.ListFolder(folder.Path(), "*", [&](const DirEntry&) { return ++entries, true; });
  EXPECT_EQ(entries, 1) << "no temporary is left";
}

}  // namespace
}  // namespace discovel
