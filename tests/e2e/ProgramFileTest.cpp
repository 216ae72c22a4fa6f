// discovel.exe started from a folder whose names no code page holds still
// knows its own file: the About box shows the version it reads from it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/fmAboutIds.h"
#include "app/fmMain.h"
#include "app/fmMainIds.h"
#include "e2e/ProgramUnderTest.h"
#include "platform/win32/WideText.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/TempFolder.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

// Each level of the folder. (Neither Windows nor Wine starts a program whose
// path is longer than 260 characters.)
constexpr const char* kLevel = "Ωμέγα 日本語 Кириллица 😀";
constexpr int kLevels = 3;

std::wstring Exact(const std::string& path) { return L"\\\\?\\" + Wide(path); }

// Removes what the test made below `folder` (ending with a backslash).
void RemoveAll(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Exact(folder + "*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Utf8(found.cFileName);
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveAll(folder + name + "\\");
      } else {
        DeleteFileW(Exact(folder + name).c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(Exact(folder.substr(0, folder.size() - 1)).c_str());
}

class ProgramFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_exe.empty()) << "pass the path of discovel.exe";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SoftWare\\VANTRO");
    ProgramSettings().WriteString(names::kKeySwitches, names::kMsgThanx, "T");
    ProgramSettings().WriteString(names::kKeySwitches, names::kPromptOnExit, "T");
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict, -Warray-bounds)
    // on a chain of pluses.
    top = folder.Path();
    top.append(kLevel).append("\\");
    std::string at = folder.Path();
    for (int level = 0; level < kLevels; ++level) {
      at.append(kLevel).append("\\");
      ASSERT_TRUE(CreateDirectoryW(Exact(at).c_str(), nullptr)) << GetLastError();
    }
    exe = at + "discovel.exe";
    ASSERT_TRUE(CopyFileW(Wide(g_exe).c_str(), Exact(exe).c_str(), FALSE)) << GetLastError();
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SoftWare\\VANTRO");
    RemoveAll(top);
  }

  test::TempFolder folder;
  std::string top;
  std::string exe;
};

TEST_F(ProgramFileTest, AProgramInAFolderOfAnyScriptReadsItsOwnVersion) {
  PROCESS_INFORMATION process = StartProgram(exe);
  ASSERT_NE(process.hProcess, nullptr);
  std::string version;
  HWND main = nullptr;
  test::WaitUntil([&] { return (main = test::FindWindowOfProcess(process.dwProcessId, kMainWindowClass)); },
                  std::chrono::seconds(30));
  if (main) {
    PostMessageW(main, WM_COMMAND, fmMainIds::kAbout, 0);
    HWND about = nullptr;
    test::WaitUntil([&] { return (about = test::FindWindowOfProcess(process.dwProcessId, fmAboutIds::kClassName)); },
                    std::chrono::seconds(30));
    if (about) {
      version = test::WaitForControlText(about, fmAboutIds::kLblVersion, "Discovel v");
      PostMessageW(about, WM_CLOSE, 0, 0);
      test::WaitForWindowGone(about);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  EXPECT_NE(main, nullptr) << "the program came up";
  EXPECT_EQ(version.substr(0, 10), "Discovel v") << version;
}

}  // namespace
}  // namespace discovel
