// discovel.exe itself in the test prefix: add a disc through the menu and find
// its archive; a second start hands over to the first and ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/fmMain.h"
#include "app/fmMainIds.h"
#include "catalog/ArchiveFile.h"
#include "e2e/ProgramUnderTest.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "scan/fmScanIds.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/TempFolder.h"
#include "support/TestDrive.h"
#include "support/win32/UiDriver.h"

namespace discovel {

std::string g_exe;

PROCESS_INFORMATION StartProgram(const std::string& exe, const std::string& arguments) {
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  std::wstring commandLine = Wide("\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
  if (!CreateProcessW(Wide(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
  }
  return process;
}

namespace {

// Closes the program through its main window and waits for it to end.
void Close(PROCESS_INFORMATION& process, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

class DiscovelExeTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_exe.empty()) << "pass the path of discovel.exe";
    RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO");
    // No welcome box and no exit question in the way of the test.
    ProgramSettings().WriteString(names::kKeySwitches, names::kMsgThanx, "T");
    ProgramSettings().WriteString(names::kKeySwitches, names::kPromptOnExit, "T");
    exe = folder / "prog\\discovel.exe";
    folder.MakeFolder("prog");
    ASSERT_TRUE(CopyFileA(g_exe.c_str(), exe.c_str(), FALSE)) << g_exe;
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO"); }

  test::TempFolder folder;
  test::TestDrive drive;
  std::string exe;
};

TEST_F(DiscovelExeTest, AddsADiscThroughTheMenuAndHandsOverASecondStart) {
  drive.InsertEmptyDisc();
  drive.AddFile("readme.txt", "hello");
  drive.AddFile("Music\\a.mp3", "abc");

  PROCESS_INFORMATION first = StartProgram(exe);
  HWND main = test::WaitForWindow(kMainWindowClass, true, std::chrono::seconds(30));
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsIconic(main)) << "a start by hand opens normally";
  EXPECT_EQ(ProgramSettings().ReadString(names::kKeyState, names::kProgramLocation), exe);

  PostMessageW(main, WM_COMMAND, fmMainIds::kAdd, 0);
  HWND scan = test::WaitForWindow(fmScanIds::kClassName, true, std::chrono::seconds(30));
  ASSERT_NE(scan, nullptr);
  EXPECT_EQ(test::WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: CD No: 1"),
            "Mark the CD/DVD with label: CD No: 1\r\nor type in the below Mark field what the CD/DVD is already marked.");
  test::Click(scan, fmScanIds::kBtnOk);

  std::string archive;
  ASSERT_TRUE(test::WaitUntil([&] {
    SystemFileSystem().ListFolder(folder / "prog\\Archive\\", "*.dat", [&](const DirEntry& e) {
      archive = folder / ("prog\\Archive\\" + e.name);
      return false;
    });
    return !archive.empty();
  }, std::chrono::seconds(30)));
  test::WaitForWindowGone(scan);
  const ArchiveText saved = ArchiveText::Load(SystemFileSystem(), archive, SystemTextServices());
  EXPECT_EQ(saved.ReadKey("AMark"), "CD No: 1");
  EXPECT_EQ(saved.ReadKey("AFiles"), "2");
  EXPECT_EQ(saved.ReadKey("ADirs"), "1");

  // A second start finds the first, hands over and ends at once.
  PROCESS_INFORMATION second = StartProgram(exe);
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(IsWindow(main));
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);

  Close(first, main);
}

TEST_F(DiscovelExeTest, AStartFromTheRunEntryOpensMinimizedUnlessSwitchedOff) {
  PROCESS_INFORMATION process = StartProgram(exe, "tag");
  HWND main = test::WaitForWindow(kMainWindowClass, true, std::chrono::seconds(30));
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsIconic(main));
  Close(process, main);

  ProgramSettings().WriteString(names::kKeySwitches, names::kStartUpRunMinimized, "T");
  process = StartProgram(exe, "tag");
  main = test::WaitForWindow(kMainWindowClass, true, std::chrono::seconds(30));
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsIconic(main));
  Close(process, main);
}

}  // namespace
}  // namespace discovel

// The e2e program takes the path of discovel.exe as its first argument.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    std::string path = argv[1];
    // CTest hands over a Unix path; Wine shows the Unix root as Z:.
    if (!path.empty() && path[0] == '/') {
      for (char& c : path) {
        if (c == '/') c = '\\';
      }
      path = "Z:" + path;
    }
    discovel::g_exe = path;
  }
  return RUN_ALL_TESTS();
}
