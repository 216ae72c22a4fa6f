#include "search/FoundFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/ModalResult.h"

namespace discovel {
namespace {

TEST(DiscPathOf, JoinsDriveFolderAndFile) {
  EXPECT_EQ(DiscPathOf('D', "\\", "setup.exe"), "D:\\setup.exe");
  EXPECT_EQ(DiscPathOf('E', "Music\\Rock", "a.mp3"), "E:\\Music\\Rock\\a.mp3");
  EXPECT_EQ(DiscPathOf('E', "Music\\", "a.mp3"), "E:\\Music\\a.mp3");
  EXPECT_EQ(DiscPathOf('E', "", "a.mp3"), "E:\\a.mp3");
}

TEST(DropFilesBlock, AWideHeaderThePathInUtf16AndTwoNulUnits) {
  const std::string block = DropFilesBlock("D:\\caf\u00E9 \u6771 \U0001F600.txt");
  const unsigned char header[20] = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  const std::u16string path = u"D:\\caf\u00E9 \u6771 \U0001F600.txt";  // the emoji in two units
  ASSERT_EQ(block.size(), 20u + (path.size() + 2) * 2);
  EXPECT_EQ(std::memcmp(block.data(), header, 20), 0);
  for (std::size_t i = 0; i < path.size(); ++i) {
    EXPECT_EQ(static_cast<unsigned char>(block[20 + 2 * i]), path[i] & 0xFF) << i;
    EXPECT_EQ(static_cast<unsigned char>(block[21 + 2 * i]), path[i] >> 8) << i;
  }
  EXPECT_EQ(block.substr(20 + path.size() * 2), std::string(4, '\0'));
}

// Records what asking for the disc did.
struct Disc {
  bool inDrive = true;
  std::vector<std::string> present;        // files there now
  std::vector<std::string> presentAfter;   // files there once the wait ends
  int waitResult = kModalOk;
  std::vector<std::string> said;

  DiscRequest Request() {
    DiscRequest request;
    request.discInDrive = [this](char drive) {
      said.push_back(std::string("disc in ") + drive);
      return inDrive;
    };
    request.fileExists = [this](const std::string& path) {
      for (const auto& p : present) {
        if (p == path) return true;
      }
      return false;
    };
    request.openTray = [this](char drive) { said.push_back(std::string("tray ") + drive); };
    request.waitForDisc = [this](const std::string& message) {
      said.push_back(message);
      present = presentAfter;
      return waitResult;
    };
    request.alert = [this](std::string_view text) { said.emplace_back(text); };
    return request;
  }
};

TEST(BringFileWithinReach, AFileAlreadyThereNeedsNoWait) {
  Disc disc;
  disc.present = {"D:\\a.txt"};
  EXPECT_TRUE(BringFileWithinReach('D', "D:\\a.txt", "CD 1", disc.Request()));
  EXPECT_EQ(disc.said, std::vector<std::string>{"disc in D"});
}

TEST(BringFileWithinReach, ADiscNotToBeReadFromIsAskedForThoughTheFileIsThere) {
  Disc disc;  // the checked disc, whose copy of the file is the damaged one
  disc.present = {"D:\\a.txt"};
  disc.presentAfter = {"D:\\a.txt"};
  DiscRequest request = disc.Request();
  request.askForDisc = true;
  EXPECT_TRUE(BringFileWithinReach('D', "D:\\a.txt", "CD 2", request));
  EXPECT_EQ(disc.said, (std::vector<std::string>{"disc in D", "tray D", "Insert CD/DVD marked: CD 2"}));

  Disc cancelled;
  cancelled.present = {"D:\\a.txt"};
  cancelled.waitResult = kModalCancel;
  request = cancelled.Request();
  request.askForDisc = true;
  EXPECT_FALSE(BringFileWithinReach('D', "D:\\a.txt", "CD 2", request));
}

TEST(BringFileWithinReach, AsksForTheDiscByItsMark) {
  Disc disc;
  disc.inDrive = false;
  disc.presentAfter = {"D:\\a.txt"};
  EXPECT_TRUE(BringFileWithinReach('D', "D:\\a.txt", "CD 1", disc.Request()));
  EXPECT_EQ(disc.said, (std::vector<std::string>{"disc in D", "tray D", "Insert CD/DVD marked: CD 1"}));

  Disc wrong;  // a disc, but not the one with the file
  wrong.presentAfter = {"D:\\other.txt"};
  EXPECT_FALSE(BringFileWithinReach('D', "D:\\a.txt", "CD 1", wrong.Request()));
  EXPECT_EQ(wrong.said, (std::vector<std::string>{"disc in D", "tray D", "Insert CD/DVD marked: CD 1",
                                                  "You inserted wrong CD/DVD.", "tray D"}));

  Disc cancelled;
  cancelled.inDrive = false;
  cancelled.waitResult = kModalCancel;
  cancelled.presentAfter = {"D:\\a.txt"};
  EXPECT_FALSE(BringFileWithinReach('D', "D:\\a.txt", "CD 1", cancelled.Request()));
  EXPECT_EQ(cancelled.said.back(), "Insert CD/DVD marked: CD 1");
}

TEST(BringFileWithinReach, ADiscFoundToBeAnotherIsRefusedThoughTheFileIsThere) {
  // The checked disc, still in the drive after the wait, with a file at the copy's path.
  Disc checked;
  checked.present = {"D:\\Backup\\a.txt"};
  checked.presentAfter = checked.present;
  DiscRequest request = checked.Request();
  request.askForDisc = true;
  request.isDiscAskedFor = [&](char drive) {
    checked.said.push_back(std::string("is it? ") + drive);
    return false;
  };
  EXPECT_FALSE(BringFileWithinReach('D', "D:\\Backup\\a.txt", "CD 2", request));
  EXPECT_EQ(checked.said, (std::vector<std::string>{"disc in D", "tray D", "Insert CD/DVD marked: CD 2", "is it? D",
                                                    "You inserted wrong CD/DVD.", "tray D"}));

  Disc asked;
  asked.inDrive = false;
  asked.presentAfter = {"D:\\Backup\\a.txt"};
  request = asked.Request();
  request.askForDisc = true;
  request.isDiscAskedFor = [](char) { return true; };
  EXPECT_TRUE(BringFileWithinReach('D', "D:\\Backup\\a.txt", "CD 2", request));
  EXPECT_EQ(asked.said.back(), "Insert CD/DVD marked: CD 2");
}

}  // namespace
}  // namespace discovel
