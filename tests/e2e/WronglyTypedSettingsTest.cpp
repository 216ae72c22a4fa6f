// discovel.exe started over settings that another tool, a policy or a hand in
// the registry editor stored as something other than text: the main window
// comes without a word, each setting at its default, the values are mended
// by that start, and the next start is silent.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/fmMain.h"
#include "app/fmThanxIds.h"
#include "e2e/ProgramUnderTest.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/TempFolder.h"
#include "support/TestDrive.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

constexpr DWORD kAbsent = 0xFFFFFFFF;  // no registry type

struct StoredValue {
  std::string_view key;  // from the root, with its leading backslash
  std::string name;
};

// Every value a start reads before its main window shows, and the one it writes.
const StoredValue kProgramLocation{names::kKeyState, std::string(names::kProgramLocation)};
std::vector<StoredValue> StartUpReads() {
  using namespace names;
  std::vector<StoredValue> values;
  for (std::string_view name : {kPromptOnExit, kStartUpRunMinimized, kShowTrayIconOff, kShowInTaskBarOn, kMsgThanx}) {
    values.push_back({kKeySwitches, std::string(name)});
  }
  for (std::string_view suffix :
       {kPlacementLeft, kPlacementTop, kPlacementWidth, kPlacementHeight, kPlacementMaximized}) {
    values.push_back({kKeyPlacement, std::string(kFormMain) + std::string(suffix)});
  }
  values.push_back({kKeyState, std::string(kDefaultDeviceDrive)});
  values.push_back({kKeyRun, std::string(kRunValue)});
  return values;
}

std::string RootRelative(std::string_view keyPath) { return std::string(keyPath.substr(1)); }

DWORD TypeOf(const StoredValue& value) {
  DWORD type = 0;
  const LONG result = RegGetValueA(HKEY_CURRENT_USER, RootRelative(value.key).c_str(), value.name.c_str(),
                                   RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr);
  return result == ERROR_SUCCESS ? type : kAbsent;
}

// Bytes of the type that would read as a set switch, were they taken for text.
std::vector<BYTE> WrongTypedBytes(DWORD type) {
  if (type == REG_DWORD) return {1, 0, 0, 0};
  if (type == REG_MULTI_SZ) return {'T', 0, 0};
  return {'T', 0};
}

// The program as a test started it; one still running at the end is ended,
// so that a failed test leaves no window to the next.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& exe) : m_process(StartProgram(exe)) {}
  ~RunningProgram() {
    if (!m_process.hProcess) return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Id() const { return m_process.dwProcessId; }
  bool Ended() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0; }

 private:
  PROCESS_INFORMATION m_process;
};

struct StartSeen {
  HWND main = nullptr;
  std::vector<std::string> boxes;  // the texts of the message boxes on the way
  bool welcomed = false;
};

// Waits for the program's main window, closing the welcome box and any
// message box that comes first.
StartSeen WaitForMainWindow(const RunningProgram& program) {
  StartSeen seen;
  test::WaitUntil([&] {
    if (HWND box = test::FindWindowOfProcess(program.Id(), "#32770")) {
      seen.boxes.push_back(test::MessageBoxText(box));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      test::WaitForWindowGone(box);
    }
    if (HWND welcome = test::FindWindowOfProcess(program.Id(), fmThanxIds::kClassName)) {
      seen.welcomed = true;
      test::Click(welcome, fmThanxIds::kBtnOk);
      test::WaitForWindowGone(welcome);
    }
    seen.main = test::FindWindowOfProcess(program.Id(), kMainWindowClass);
    return seen.main != nullptr;
  }, std::chrono::seconds(30));
  return seen;
}

// Closes the program through its main window, saying Yes to its exit
// question; returns the question ("" when none came).
std::string CloseSayingYes(const RunningProgram& program, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  std::string question;
  EXPECT_TRUE(test::WaitUntil([&] {
    if (HWND box = test::FindWindowOfProcess(program.Id(), "#32770")) {
      question = test::MessageBoxText(box);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
      test::WaitForWindowGone(box);
    }
    return program.Ended();
  }, std::chrono::seconds(30))) << "the program ends";
  return question;
}

// The parameter: the type the values are stored with.
class WronglyTypedSettingsTest : public testing::TestWithParam<DWORD> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_exe.empty()) << "pass the path of discovel.exe";
    Clean();
    exe = folder / "prog\\discovel.exe";
    folder.MakeFolder("prog");
    ASSERT_TRUE(CopyFileA(g_exe.c_str(), exe.c_str(), FALSE)) << g_exe;
  }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, RootRelative(names::kKeyRun).c_str(), std::string(names::kRunValue).c_str());
  }

  void StoreWrongType(const StoredValue& value) {
    const std::vector<BYTE> bytes = WrongTypedBytes(GetParam());
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, RootRelative(value.key).c_str(), value.name.c_str(), GetParam(),
                              bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << value.name;
  }

  test::TempFolder folder;
  test::TestDrive drive;
  std::string exe;
};

TEST_P(WronglyTypedSettingsTest, TheMainWindowComesSilentlyAndTheValuesAreMendedForTheNextStart) {
  const std::vector<StoredValue> reads = StartUpReads();
  for (const StoredValue& value : reads) StoreWrongType(value);
  StoreWrongType(kProgramLocation);

  {
    const RunningProgram first(exe);
    const StartSeen seen = WaitForMainWindow(first);
    ASSERT_NE(seen.main, nullptr) << "the main window appears";
    EXPECT_EQ(seen.boxes, std::vector<std::string>{}) << "no message before the main window";
    // Each value at its default: the welcome box of a first run, a window
    // that opens normally, and the question on leaving.
    EXPECT_TRUE(seen.welcomed);
    EXPECT_FALSE(IsIconic(seen.main));
    // Every default is the value's absence: the start deleted them all; the
    // welcome box, once closed, stored its switch as text.
    for (const StoredValue& value : reads) {
      const DWORD expected = value.name == names::kMsgThanx ? REG_SZ : kAbsent;
      EXPECT_EQ(TypeOf(value), expected) << value.name;
    }
    EXPECT_EQ(TypeOf(kProgramLocation), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ProgramSettings().ReadString(kProgramLocation.key, kProgramLocation.name), exe);
    EXPECT_EQ(CloseSayingYes(first, seen.main), "Do you really want to exit Discovel?");
  }

  const RunningProgram second(exe);
  const StartSeen seen = WaitForMainWindow(second);
  ASSERT_NE(seen.main, nullptr);
  EXPECT_EQ(seen.boxes, std::vector<std::string>{});
  EXPECT_FALSE(seen.welcomed);
  CloseSayingYes(second, seen.main);
}

INSTANTIATE_TEST_SUITE_P(Types, WronglyTypedSettingsTest, testing::Values(REG_DWORD, REG_BINARY, REG_MULTI_SZ),
                         [](const testing::TestParamInfo<DWORD>& info) {
                           return info.param == REG_DWORD    ? std::string("Dword")
                                  : info.param == REG_BINARY ? std::string("Binary")
                                                             : std::string("MultiString");
                         });

}  // namespace
}  // namespace discovel
