// The main window: the add-disc sequence, consecutive mode, autoplay switches,
// keys and the exit prompt, with real windows.
#include "app/fmMain.h"

#include <gtest/gtest.h>

#include "drives/Autoplay.h"
#include "platform/Platform.h"
#include "ui/Dialog.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using test::Click;
using test::Script;
using test::WaitForControlText;
using test::WaitForWindow;

// The policy value the autoplay switch writes, or -1 when absent.
long NoDriveTypeAutoRun() {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer",
                   "NoDriveTypeAutoRun", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return -1;
  }
  return static_cast<long>(value);
}

class MainWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    main.emplace(catalog / "prog\\discovel.exe", false);
    main->Create();
  }
  void TearDown() override {
    main.reset();
    RestoreAutoplay();
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\CDRom", "Autorun");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\AudioCD\\Shell", nullptr);
    GuiFixture::TearDown();
  }
  int Archives() {
    int count = 0;
    SystemFileSystem().ListFolder(main->CatalogFolder(), "*.dat", [&](const DirEntry&) { return ++count, true; });
    return count;
  }
  std::optional<TfrmMain> main;
};

TEST_F(MainWindowTest, ConsecutiveModeAddsDiscsUntilAWaitIsCancelled) {
  InsertFixtureDisc();
  main->ToggleConsecutive();
  int waits = 0;
  std::string secondWait;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    if (wait) ++waits;
    HWND scan = WaitForWindow("TfrmScan");
    WaitForControlText(scan, kLblMsgId, "Mark the CD/DVD with label: ");
    Click(scan, IDOK);
    test::WaitForWindowGone(scan);
    // The same disc is still in: the next wait opens the tray and waits.
    wait = WaitForWindow("TfrmWaitCD");
    if (wait) ++waits;
    secondWait = WaitForControlText(wait, kLblMsgId, "Please insert");
    Click(wait, IDCANCEL);
  });
  main->ActAdd.Execute();
  EXPECT_EQ(waits, 2);
  EXPECT_EQ(secondWait, "Please insert CD or DVD in CD/DVD ROM device and close it.");
  EXPECT_EQ(Archives(), 1);
}

TEST_F(MainWindowTest, AutoplayIsHeldOffWhileTheMainWindowIsActive) {
  ShowWindow(main->Handle(), SW_SHOW);
  SetForegroundWindow(main->Handle());
  SetActiveWindow(main->Handle());
  ASSERT_TRUE(test::WaitUntil([] { return NoDriveTypeAutoRun() == 181; }));
  long whileDialog = 0;
  Script script([&] {
    HWND wait = WaitForWindow("TfrmWaitCD");
    WaitForControlText(wait, kLblMsgId, "Please insert");
    whileDialog = NoDriveTypeAutoRun();
    Click(wait, IDCANCEL);
  });
  main->ActAdd.Execute();
  EXPECT_EQ(whileDialog, -1) << "a dialog of the program in front lets autoplay act again";
  EXPECT_TRUE(test::WaitUntil([] { return NoDriveTypeAutoRun() == 181; }));
}

TEST_F(MainWindowTest, EscapeMinimizesAndASecondStartRestores) {
  ShowWindow(main->Handle(), SW_SHOW);
  PostMessageA(main->Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(main->Handle()) != FALSE; }));
  PostMessageA(main->Handle(), kMsgSecondInstance, 0, 0);
  EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(main->Handle()) == FALSE; }));
}

TEST_F(MainWindowTest, ClosingAsksFirstUnlessTheSessionEnds) {
  ShowWindow(main->Handle(), SW_SHOW);
  test::DialogWatcher no;
  no.CloseWhenShown("Discovel", IDNO);
  SendMessageA(main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(no.SeenText(), "Do you really want to exit Discovel?");
  EXPECT_TRUE(IsWindow(main->Handle()));
  // Windows ending the session closes without a question.
  SendMessageA(main->Handle(), WM_QUERYENDSESSION, 0, 0);
  SendMessageA(main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(main->Handle(), nullptr);
}

TEST_F(MainWindowTest, DisabledWindowTakesNoCommands) {
  ShowWindow(main->Handle(), SW_SHOW);
  EnableWindow(main->Handle(), FALSE);
  bool waitOpened = false;
  Script script([&] {
    if (HWND wait = WaitForWindow("TfrmWaitCD", false, std::chrono::milliseconds(1500))) {
      waitOpened = true;
      Click(wait, IDCANCEL);
    }
  });
  SendMessageA(main->Handle(), WM_COMMAND, TfrmMain::kMenuAdd, 0);
  script.Join();
  EXPECT_FALSE(waitOpened);
  EnableWindow(main->Handle(), TRUE);
}

TEST_F(MainWindowTest, ConsecutiveButtonFlipsModeAndHint) {
  EXPECT_FALSE(main->ConsecutiveMode());
  main->ToggleConsecutive();
  EXPECT_TRUE(main->ConsecutiveMode());
  main->ToggleConsecutive();
  EXPECT_FALSE(main->ConsecutiveMode());
}

}  // namespace
}  // namespace discovel
