#include "drives/win32/CdTray.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "drives/win32/MciSend.h"
#include "platform/win32/WideText.h"
#include "support/TestDrive.h"

namespace discovel {
namespace {

struct Command {
  MCIDEVICEID device;
  UINT message;
  DWORD_PTR flags;
  DWORD_PTR parameters;
  MCIERROR answer;
  // What the open block held when the command was sent.
  DWORD_PTR callback = 0;
  std::string deviceType;
  std::string element;
  bool alias = false;
};

constexpr DWORD_PTR kOpenFlags = 0x2200;
constexpr MCIDEVICEID kDevice = 17;

// Records every command; answers from a script (0 when it runs out) and plays
// the device identifier into the open block as MCI does.
class MciRecorder {
 public:
  MciRecorder()
      : m_scope([this](MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
          return Send(device, message, flags, parameters);
        }) {}
  std::vector<MCIERROR> answers;
  bool throwOnSet = false;
  std::vector<Command> commands;

 private:
  MCIERROR Send(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    const MCIERROR answer = commands.size() < answers.size() ? answers[commands.size()] : 0;
    Command command{device, message, flags, parameters, answer};
    if (message == MCI_OPEN || message == MCI_CLOSE) {
      const auto* block = reinterpret_cast<const MCI_OPEN_PARMSW*>(parameters);
      command.callback = block->dwCallback;
      command.deviceType = block->lpstrDeviceType ? Utf8(block->lpstrDeviceType) : "<null>";
      command.element = block->lpstrElementName ? Utf8(block->lpstrElementName) : "<null>";
      command.alias = block->lpstrAlias != nullptr;
      if (message == MCI_OPEN && answer == 0) reinterpret_cast<MCI_OPEN_PARMSW*>(parameters)->wDeviceID = kDevice;
    }
    commands.push_back(command);
    if (message == MCI_SET && throwOnSet) throw std::runtime_error("door");
    return answer;
  }
  ScopedMciSender m_scope;
};

void ExpectOpenOf(const Command& open, const char* element) {
  EXPECT_EQ(open.device, 0u);
  EXPECT_EQ(open.message, static_cast<UINT>(MCI_OPEN));
  EXPECT_EQ(open.flags, kOpenFlags);
  EXPECT_EQ(open.callback, 0u);
  EXPECT_EQ(open.deviceType, "CDAudio");
  EXPECT_EQ(open.element, element);
  EXPECT_FALSE(open.alias);
}

void ExpectDoorThenClose(const std::vector<Command>& commands, DWORD_PTR doorFlag) {
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1].device, kDevice);
  EXPECT_EQ(commands[1].message, static_cast<UINT>(MCI_SET));
  EXPECT_EQ(commands[1].flags, doorFlag);
  EXPECT_EQ(commands[1].parameters, 0u);
  EXPECT_EQ(commands[2].device, kDevice);
  EXPECT_EQ(commands[2].message, static_cast<UINT>(MCI_CLOSE));
  EXPECT_EQ(commands[2].flags, kOpenFlags);
  EXPECT_EQ(commands[2].parameters, commands[0].parameters);
}

TEST(CdTrayTest, OpenSendsOpenDoorOpenClose) {
  MciRecorder mci;
  OpenCdTray('D');
  ASSERT_EQ(mci.commands.size(), 3u);
  ExpectOpenOf(mci.commands[0], "D:");
  ExpectDoorThenClose(mci.commands, 0x100);
}

TEST(CdTrayTest, CloseDiffersOnlyInTheDoorFlag) {
  MciRecorder mci;
  CloseCdTray('E');
  ASSERT_EQ(mci.commands.size(), 3u);
  ExpectOpenOf(mci.commands[0], "E:");
  ExpectDoorThenClose(mci.commands, 0x200);
}

TEST(CdTrayTest, LetterIsPassedWithoutCaseChange) {
  MciRecorder mci;
  OpenCdTray('d');
  CloseCdTray('q');
  ASSERT_EQ(mci.commands.size(), 6u);
  EXPECT_EQ(mci.commands[0].element, "d:");
  EXPECT_EQ(mci.commands[3].element, "q:");
}

TEST(CdTrayTest, FailedOpenSendsNothingElse) {
  MciRecorder mci;
  mci.answers = {MCIERR_CANNOT_LOAD_DRIVER};
  OpenCdTray('D');
  mci.answers = {1, 1};  // the second answer would belong to a door command
  CloseCdTray('D');
  ASSERT_EQ(mci.commands.size(), 2u);
  EXPECT_EQ(mci.commands[0].message, static_cast<UINT>(MCI_OPEN));
  EXPECT_EQ(mci.commands[1].message, static_cast<UINT>(MCI_OPEN));
}

TEST(CdTrayTest, RefusedDoorCommandStillClosesTheDevice) {
  MciRecorder mci;
  mci.answers = {0, MCIERR_UNSUPPORTED_FUNCTION, MCIERR_INVALID_DEVICE_ID};
  CloseCdTray('D');
  ExpectDoorThenClose(mci.commands, 0x200);
}

TEST(CdTrayTest, DoorCommandThatThrowsStillClosesTheDevice) {
  MciRecorder mci;
  mci.throwOnSet = true;
  EXPECT_THROW(OpenCdTray('D'), std::runtime_error);
  ExpectDoorThenClose(mci.commands, 0x100);
}

// Against Wine's own MCI: D: of the test prefix opens as "CDAudio", C: does not.
// Wine answers MCIERR_NULL_PARAMETER_BLOCK to the door command, which is ignored.
DWORD OpenMciDevices() {
  DWORD count = 0;
  MCI_SYSINFO_PARMSA info{};
  info.lpstrReturn = reinterpret_cast<LPSTR>(&count);
  info.dwRetSize = sizeof count;
  mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY | MCI_SYSINFO_OPEN,
                  reinterpret_cast<DWORD_PTR>(&info));
  return count;
}

class CdTrayOnWineTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test::TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
    drive.emplace();
  }
  // Passes every command to the system and keeps what it answered.
  std::vector<std::pair<UINT, MCIERROR>> sent;
  ScopedMciSender passThrough{[this](MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    const MCIERROR answer = mciSendCommandW(device, message, flags, parameters);
    sent.emplace_back(message, answer);
    return answer;
  }};
  std::optional<test::TestDrive> drive;
};

TEST_F(CdTrayOnWineTest, TrayCommandsOnTheCdRomOpenAndCloseTheDevice) {
  drive->InsertEmptyDisc();
  drive->AddFile("a.txt", "a");
  OpenCdTray('D');
  CloseCdTray('d');
  drive->Eject();
  OpenCdTray('D');
  ASSERT_EQ(sent.size(), 9u);
  for (std::size_t i = 0; i < sent.size(); i += 3) {
    EXPECT_EQ(sent[i].first, static_cast<UINT>(MCI_OPEN));
    EXPECT_EQ(sent[i].second, 0u) << "open " << i / 3;
    EXPECT_EQ(sent[i + 1].first, static_cast<UINT>(MCI_SET));
    EXPECT_EQ(sent[i + 2].first, static_cast<UINT>(MCI_CLOSE));
    EXPECT_EQ(sent[i + 2].second, 0u) << "close " << i / 3;
  }
  EXPECT_EQ(OpenMciDevices(), 0u);
}

TEST_F(CdTrayOnWineTest, FixedDiskIsLeftAlone) {
  OpenCdTray('C');
  CloseCdTray('C');
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[0].second, 0u);
  EXPECT_NE(sent[1].second, 0u);
  EXPECT_EQ(OpenMciDevices(), 0u);
}

}  // namespace
}  // namespace discovel
