// The main window: the add-disc sequence, consecutive mode, autoplay switches,
// keys and the exit prompt, with real windows.
#include "app/fmMain.h"

#include "app/fmMainIds.h"
#include "browser/fmArchiveIds.h"
#include "drives/fmWaitCDIds.h"
#include "scan/fmScanIds.h"
#include "search/fmDuplicatesIds.h"
#include "search/fmSearchIds.h"
#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>

#include "app/StartUp.h"
#include "app/WebAddresses.h"
#include "drives/win32/AudioDisc.h"
#include "drives/win32/Autoplay.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/RecordingShell.h"
#include "support/win32/UiDriver.h"
#include "ui/Dialog.h"

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
    ClearAutoplayValues();
    main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
    main->Create();
  }
  void TearDown() override {
    main.reset();
    RestoreAutoplay();
    ClearAutoplayValues();
    GuiFixture::TearDown();
  }
  // The machine's switches start and end without the values the program writes.
  static void ClearAutoplayValues() {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\CDRom", "Autorun");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\AudioCD\\Shell", nullptr);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer",
                       "NoDriveTypeAutoRun");
  }
  int Archives() {
    int count = 0;
    SystemFileSystem().ListFolder(context.run.catalogFolder, "*.dat", [&](const DirEntry&) { return ++count, true; });
    return count;
  }
  std::optional<TfrmMain> main;
};

TEST_F(MainWindowTest, ConsecutiveModeAddsDiscsUntilAWaitIsCancelled) {
  InsertFixtureDisc();
  main->ActConsecutive.Execute();
  int waits = 0;
  std::string secondWait;
  Script script([&] {
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    if (wait) ++waits;
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    WaitForControlText(scan, kLblMsgId, "Mark the CD/DVD with label: ");
    Click(scan, IDOK);
    test::WaitForWindowGone(scan);
    // The same disc is still in: the next wait opens the tray and waits.
    wait = WaitForWindow(fmWaitCDIds::kClassName);
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
  // What the shell asks the foreground window before autoplay starts.
  const UINT query = RegisterWindowMessageW(L"QueryCancelAutoPlay");
  EXPECT_EQ(SendMessageW(main->Handle(), query, 0, 0), 0) << "not yet active";
  ShowWindow(main->Handle(), SW_SHOW);
  SetForegroundWindow(main->Handle());
  SetActiveWindow(main->Handle());
  ASSERT_TRUE(test::WaitUntil([] { return NoDriveTypeAutoRun() == 181; }));
  EXPECT_EQ(SendMessageW(main->Handle(), query, 0, 0), 1);
  long whileDialog = 0;
  LRESULT answerWhileDialog = -1;
  Script script([&] {
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    WaitForControlText(wait, kLblMsgId, "Please insert");
    whileDialog = NoDriveTypeAutoRun();
    answerWhileDialog = SendMessageW(main->Handle(), query, 0, 0);
    Click(wait, IDCANCEL);
  });
  main->ActAdd.Execute();
  EXPECT_EQ(whileDialog, -1) << "a dialog of the program in front lets autoplay act again";
  EXPECT_EQ(answerWhileDialog, 0);
  EXPECT_TRUE(test::WaitUntil([] { return NoDriveTypeAutoRun() == 181; }));
  EXPECT_EQ(SendMessageW(main->Handle(), query, 0, 0), 1);
  // Ending the program gives autoplay back.
  SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, 0);
  SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(main->Handle(), nullptr);
  EXPECT_EQ(NoDriveTypeAutoRun(), -1);
}

TEST_F(MainWindowTest, AStartPutsBackTheAutoplaySwitchesACrashedRunLeftOff) {
  main.reset();
  const char* cdRom = "SYSTEM\\CurrentControlSet\\Services\\CDRom";
  const DWORD one = 1;
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, cdRom, "Autorun", REG_DWORD, &one, sizeof one), ERROR_SUCCESS);
  SuppressAutoplay();  // and the run ends without restoring
  main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main->Create();
  DWORD type = 0;
  DWORD value = 99;
  DWORD size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, cdRom, "Autorun", RRF_RT_ANY, &type, &value, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 1u);
  EXPECT_EQ(NoDriveTypeAutoRun(), -1);
}

TEST_F(MainWindowTest, StartUpFailsCriticalErrorsQuietlyForTheWholeRun) {
  main.reset();
  const UINT original = GetErrorMode();
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main->Create();
  const UINT afterStart = GetErrorMode();
  // An empty drive asked about: nothing switches the mode back.
  SystemDriveQueries().VolumeTotalSize('D');
  IsAudioDisc('D');
  const UINT afterQueries = GetErrorMode();
  SetErrorMode(original);
  EXPECT_EQ(afterStart, static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS));
  EXPECT_EQ(afterQueries, afterStart);
}

TEST_F(MainWindowTest, DialogsOfTheAddSequenceBelongToTheMainWindowWhenNoWindowIsActive) {
  InsertFixtureDisc();
  SetActiveWindow(nullptr);
  ASSERT_EQ(GetActiveWindow(), nullptr);
  HWND waitOwner = nullptr;
  HWND scanOwner = nullptr;
  Script script([&] {
    HWND wait = WaitForWindow(fmWaitCDIds::kClassName);
    waitOwner = GetWindow(wait, GW_OWNER);
    // The disc in the drive is new: the wait ends by itself.
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    scanOwner = GetWindow(scan, GW_OWNER);
    WaitForControlText(scan, kLblMsgId, "Mark the CD/DVD with label: ");
    Click(scan, IDCANCEL);
  });
  main->ActAdd.Execute();
  script.Join();
  EXPECT_EQ(waitOwner, main->Handle());
  EXPECT_EQ(scanOwner, main->Handle());
}

TEST_F(MainWindowTest, EscapeMinimizesAndASecondStartRestores) {
  ShowWindow(main->Handle(), SW_SHOW);
  // A release whose press the window never saw (it closed a message box) is stray.
  PostMessageW(main->Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  test::WaitUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_FALSE(IsIconic(main->Handle()));
  test::PressKey(main->Handle(), VK_ESCAPE);
  EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(main->Handle()) != FALSE; }));
  PostMessageW(main->Handle(), kMsgSecondInstance, 0, 0);
  EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(main->Handle()) == FALSE; }));
}

TEST_F(MainWindowTest, F3OpensTheSearchWindowForAllArchives) {
  std::string caption;
  std::atomic<bool> closed{false};
  Script script([&] {
    HWND search = WaitForWindow(fmSearchIds::kClassName);
    test::WaitUntil([&] {
      caption = test::WindowCaption(search);
      return !caption.empty() && caption != "Discovel";
    });
    test::PressKey(GetDlgItem(search, fmSearchIds::kEdtSearch), VK_ESCAPE);
    closed = test::WaitForWindowGone(search);
  });
  test::PressKey(main->Handle(), VK_F3);
  // The search window's modal loop runs inside this wait.
  EXPECT_TRUE(test::WaitUntil([&] { return closed.load(); }));
  script.Join();
  EXPECT_EQ(caption, "Discovel (search all archives)");
}

TEST_F(MainWindowTest, FindDuplicateFilesOpensTheDuplicatesWindow) {
  std::string status;
  std::atomic<bool> closed{false};
  Script script([&] {
    HWND window = WaitForWindow(fmDuplicatesIds::kClassName);
    status = WaitForControlText(window, fmDuplicatesIds::kSb1, "There are");
    test::PressKey(GetDlgItem(window, fmDuplicatesIds::kListView1), VK_ESCAPE);
    closed = test::WaitForWindowGone(window);
  });
  Click(main->Handle(), fmMainIds::kFindDuplicates);
  EXPECT_TRUE(test::WaitUntil([&] { return closed.load(); }));
  script.Join();
  EXPECT_EQ(status, "There are no results to display.");
}

TEST_F(MainWindowTest, OpenCatalogShowsTheCatalogueWindow) {
  std::string status;
  std::atomic<bool> closed{false};
  Script script([&] {
    HWND window = WaitForWindow(fmArchiveIds::kClassName);
    status = WaitForControlText(window, fmArchiveIds::kSb1, "There are");
    test::PressKey(GetDlgItem(window, fmArchiveIds::kListView1), VK_ESCAPE);
    closed = test::WaitForWindowGone(window);
  });
  Click(main->Handle(), fmMainIds::kCatalog);
  EXPECT_TRUE(test::WaitUntil([&] { return closed.load(); }));
  script.Join();
  EXPECT_EQ(status, "There are no archives.");
}

TEST_F(MainWindowTest, ClosingAsksFirstUnlessTheSessionEnds) {
  ShowWindow(main->Handle(), SW_SHOW);
  std::string asked;
  {
    Script script([&] { asked = test::AnswerMessageBox(IDNO); });
    SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(asked, "Do you really want to exit Discovel?");
  EXPECT_TRUE(IsWindow(main->Handle()));
  // Windows ending the session closes without a question.
  SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, 0);
  SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(main->Handle(), nullptr);
}

TEST_F(MainWindowTest, DisabledWindowTakesNoCommands) {
  ShowWindow(main->Handle(), SW_SHOW);
  EnableWindow(main->Handle(), FALSE);
  bool waitOpened = false;
  Script script([&] {
    if (HWND wait = WaitForWindow(fmWaitCDIds::kClassName, false, std::chrono::milliseconds(1500))) {
      waitOpened = true;
      Click(wait, IDCANCEL);
    }
  });
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kAdd, 0);
  script.Join();
  EXPECT_FALSE(waitOpened);
  EnableWindow(main->Handle(), TRUE);
}

TEST_F(MainWindowTest, MinimizingUnderADialogKeepsTheWindowClosedToCommands) {
  InsertFixtureDisc();
  ShowWindow(main->Handle(), SW_SHOW);
  bool enabledAfterMinimize = true;
  bool secondWaitOpened = false;
  Script script([&] {
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    WaitForControlText(scan, kLblMsgId, "Mark the CD/DVD with label: ");
    SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    enabledAfterMinimize = IsWindowEnabled(main->Handle());
    // Add must not open a wait inside the add-disc dialog.
    PostMessageW(main->Handle(), WM_COMMAND, fmMainIds::kAdd, 0);
    if (HWND wait = WaitForWindow(fmWaitCDIds::kClassName, false, std::chrono::milliseconds(1500))) {
      secondWaitOpened = true;
      Click(wait, IDCANCEL);
    }
    Click(scan, IDCANCEL);
  });
  main->ActAdd.Execute();
  script.Join();
  EXPECT_FALSE(enabledAfterMinimize);
  EXPECT_FALSE(secondWaitOpened);
  EXPECT_TRUE(IsIconic(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(main->Handle())) << "enabled again once the dialogs are gone";
}

// The state a menu item shows: grayed, checked, default.
UINT MenuState(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND); }

// Every entry of `menu` and its sub-menus that is no separator and opens no
// sub-menu, by caption, with its command (0: none).
void CollectEntries(HMENU menu, std::vector<std::pair<std::string, UINT>>& entries) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      CollectEntries(sub, entries);
      continue;
    }
    const std::string text = test::MenuCaption(menu, i);
    if (!text.empty()) entries.emplace_back(text, GetMenuItemID(menu, i));
  }
}

TEST_F(MainWindowTest, MenuBarFollowsItsActions) {
  HMENU bar = GetMenu(main->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  std::vector<std::pair<std::string, UINT>> entries;
  CollectEntries(bar, entries);
  EXPECT_EQ(entries.size(), 27u);
  for (const auto& [caption, id] : entries) EXPECT_NE(id, 0u) << caption << " does no work";
  EXPECT_EQ(test::MenuCaption(bar, 1), "Tools");
  // Right after "Search Files".
  HMENU tools = GetSubMenu(bar, 1);
  EXPECT_EQ(test::MenuCaption(tools, 1), "Find Duplicate Files...");
  EXPECT_EQ(GetMenuItemID(tools, 1), fmMainIds::kFindDuplicates);
  HMENU catalogMenu = GetSubMenu(bar, 0);
  EXPECT_EQ(GetMenuDefaultItem(catalogMenu, FALSE, 0), fmMainIds::kAdd);
  EXPECT_EQ(test::MenuCaption(catalogMenu, 1), "Add Drive or Folder...");
  // Right after "Open Catalog".
  EXPECT_EQ(test::MenuCaption(catalogMenu, 4), "Check CD/DVD...");
  EXPECT_EQ(GetMenuItemID(catalogMenu, 3), fmMainIds::kCatalog);
  EXPECT_EQ(GetMenuItemID(catalogMenu, 4), fmMainIds::kCheckDisc);
  EXPECT_TRUE(MenuState(bar, fmMainIds::kPromptOnExit) & MF_CHECKED);

  // A toggle through its menu item: the item, the action and the registry agree.
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kPromptOnExit, 0);
  EXPECT_FALSE(MenuState(bar, fmMainIds::kPromptOnExit) & MF_CHECKED);
  EXPECT_FALSE(main->ActPromptOnExit.Checked());
  EXPECT_EQ(ProgramSettings().ReadString(names::kKeySwitches, names::kPromptOnExit), "T");

  // What the window allows is decided again when a menu opens.
  context.run.addDiscEnabled = false;
  SendMessageW(main->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(catalogMenu), 0);
  EXPECT_TRUE(MenuState(bar, fmMainIds::kAdd) & MF_GRAYED);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main->Handle(), fmMainIds::kAdd)));
}

// The tray icon is there when the shell still knows it.
bool TrayIconShown(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// The shell gives a button to a shown window that no other window owns.
bool HasTaskBarButton(HWND window) { return IsWindowVisible(window) && !GetWindow(window, GW_OWNER); }

std::string Switch(std::string_view name) { return ProgramSettings().ReadString(names::kKeySwitches, name); }

TEST_F(MainWindowTest, TheTrayIconAndTheTaskBarButtonNeverBothGoOff) {
  HMENU bar = GetMenu(main->Handle());
  ShowWindow(main->Handle(), SW_SHOW);
  EXPECT_TRUE(TrayIconShown(main->Handle()));
  EXPECT_FALSE(HasTaskBarButton(main->Handle()));
  EXPECT_EQ(MenuState(bar, fmMainIds::kShowTrayIcon), UINT(MF_CHECKED | MF_GRAYED));
  EXPECT_EQ(MenuState(bar, fmMainIds::kShowInTaskBar), UINT(MF_UNCHECKED));
  EXPECT_FALSE(MenuState(bar, fmMainIds::kRunAtStartUp) & MF_CHECKED);

  // The icon alone is on: its item does nothing.
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kShowTrayIcon, 0);
  EXPECT_TRUE(TrayIconShown(main->Handle()));
  // A restarted task bar has forgotten the icon: it is added again.
  NOTIFYICONDATAW forget{};
  forget.cbSize = sizeof forget;
  forget.hWnd = main->Handle();
  forget.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &forget);
  SendMessageW(main->Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconShown(main->Handle()));

  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kShowInTaskBar, 0);
  EXPECT_EQ(Switch(names::kShowInTaskBarOn), "T");
  EXPECT_TRUE(HasTaskBarButton(main->Handle()));
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kShowTrayIcon, 0);
  EXPECT_EQ(Switch(names::kShowTrayIconOff), "T");
  EXPECT_FALSE(TrayIconShown(main->Handle()));
  EXPECT_TRUE(HasTaskBarButton(main->Handle()));
  EXPECT_EQ(MenuState(bar, fmMainIds::kShowInTaskBar), UINT(MF_CHECKED | MF_GRAYED));

  // Both stored off: the next start brings the icon back.
  ProgramSettings().DeleteValue(names::kKeySwitches, names::kShowInTaskBarOn);
  main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main->Create();
  EXPECT_TRUE(TrayIconShown(main->Handle()));
  EXPECT_TRUE(GetMenuState(GetMenu(main->Handle()), fmMainIds::kShowTrayIcon, MF_BYCOMMAND) & MF_CHECKED);
}

// Stands in for a shell whose notification area is not ready: refuses to add
// the icon as often as asked.
int g_trayRefusals = 0;
BOOL WINAPI NotReadyTray(DWORD message, PNOTIFYICONDATAW data) {
  if (message == NIM_ADD && g_trayRefusals > 0) {
    --g_trayRefusals;
    return FALSE;
  }
  return Shell_NotifyIconW(message, data);
}

TEST_F(MainWindowTest, ATrayIconTheShellRefusesIsTriedAgainAndTheTaskBarButtonStandsIn) {
  main.reset();
  g_trayRefusals = 2;
  main.emplace(context, StartUp(context, catalog / "prog\\discovel.exe", 0), false);
  main->UseTrayShell(NotReadyTray);
  main->Create();
  ShowWindow(main->Handle(), SW_SHOW);
  EXPECT_FALSE(TrayIconShown(main->Handle()));
  EXPECT_TRUE(HasTaskBarButton(main->Handle())) << "the program stays reachable";
  EXPECT_TRUE(test::WaitUntil([&] { return TrayIconShown(main->Handle()); }));
  EXPECT_EQ(g_trayRefusals, 0);
  EXPECT_FALSE(HasTaskBarButton(main->Handle())) << "\"Show in Task Bar\" is off";
}

// From a second thread: opens the tray menu, checks whether Exit is greyed,
// picks the entry `downs` places from the top and waits for the menu to go.
bool PickFromTrayMenu(HWND main, int downs, bool& exitGreyed) {
  HWND menu = test::OpenPopUpMenu(main, [&] { PostMessageW(main, TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP); });
  if (!menu) return false;
  HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  exitGreyed = (GetMenuState(items, fmMainIds::kExit, MF_BYCOMMAND) & MF_GRAYED) != 0;
  for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return test::WaitForWindowGone(menu);
}

TEST_F(MainWindowTest, TrayMenuWhileADialogIsOpenMinimizesAndShowsTheDialog) {
  ShowWindow(main->Handle(), SW_SHOW);
  bool exitGreyed = false;
  bool minimized = false;
  HWND front = nullptr;
  HWND wait = nullptr;
  Script script([&] {
    wait = WaitForWindow(fmWaitCDIds::kClassName);
    WaitForControlText(wait, kLblMsgId, "Please insert");
    if (!PickFromTrayMenu(main->Handle(), 1, exitGreyed)) return;  // Minimize
    minimized = test::WaitUntil([&] { return IsIconic(main->Handle()) != FALSE; }, std::chrono::seconds(3));
    bool ignored = false;
    if (!PickFromTrayMenu(main->Handle(), 2, ignored)) return;  // Show
    test::WaitUntil([&] { return GetForegroundWindow() == wait && !IsIconic(main->Handle()); },
                    std::chrono::seconds(3));
    front = GetForegroundWindow();
    Click(wait, IDCANCEL);
  });
  main->ActAdd.Execute();
  script.Join();
  EXPECT_TRUE(exitGreyed) << "the program cannot end under an open dialog";
  EXPECT_TRUE(minimized);
  EXPECT_EQ(front, wait) << "Show brings the dialog forward";
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_FALSE(GetMenuState(GetMenu(main->Handle()), fmMainIds::kExit, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindowTest, RunAtStartUpStoresTheProgramsCommandLine) {
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kRunAtStartUp, 0);
  const std::string stored = ProgramSettings().ReadString(names::kKeyRun, names::kRunValue);
  SendMessageW(main->Handle(), WM_COMMAND, fmMainIds::kRunAtStartUp, 0);
  EXPECT_EQ(stored, "\"" + (catalog / "prog\\discovel.exe") + "\" tag");
  EXPECT_EQ(ProgramSettings().ReadString(names::kKeyRun, names::kRunValue), "");
}

TEST_F(MainWindowTest, TrayIconClicksShowTheProgramAndADoubleClickMinimizesIt) {
  ShowWindow(main->Handle(), SW_SHOW);
  const auto notice = [&](UINT mouse) { SendMessageW(main->Handle(), TrayIcon::kCallbackMessage, 1, mouse); };
  for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) notice(mouse);
  EXPECT_TRUE(IsIconic(main->Handle()));
  EXPECT_FALSE(HasTaskBarButton(main->Handle())) << "reachable through the icon only";
  notice(WM_MOUSEMOVE);
  EXPECT_TRUE(IsIconic(main->Handle()));
  notice(WM_LBUTTONDOWN);
  notice(WM_LBUTTONUP);
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
}

// The command of the item with `caption` anywhere in `menu`, or 0.
UINT MenuIdOf(HMENU menu, const std::string& caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (UINT id = MenuIdOf(sub, caption)) return id;
      continue;
    }
    if (test::MenuCaption(menu, i) == caption) return GetMenuItemID(menu, i);
  }
  return 0;
}

TEST_F(MainWindowTest, HelpAndMoreEntriesOpenTheirPages) {
  test::RecordingShell shell;
  main->UseShell(shell);
  const std::pair<const char*, std::string> entries[] = {
      {"Program Help", web::kHelpPage},
      {"FAQ", web::kFaqPage},
      {"Check for Update", web::kHomePage},
      {"Get More Vantro Products", web::kProductsPage},
      {"Sell this Program and Earn Money", web::kAffiliatePage},
      {"Tell a Friend (Send e-mail)", std::string("mailto:?subject=Discovel...&Body=") + web::kHomePage},
  };
  for (const auto& [caption, expected] : entries) {
    const UINT id = MenuIdOf(GetMenu(main->Handle()), caption);
    ASSERT_NE(id, 0u) << caption;
    SendMessageW(main->Handle(), WM_COMMAND, id, 0);
    ASSERT_FALSE(shell.Calls().empty()) << caption;
    EXPECT_EQ(shell.Calls().back().second, expected) << caption;
  }
  EXPECT_EQ(shell.Calls().size(), std::size(entries));
}

TEST_F(MainWindowTest, ConsecutiveButtonFlipsModeCheckAndHint) {
  HWND button = GetDlgItem(main->Handle(), fmMainIds::kConsecutive);
  EXPECT_FALSE(main->ConsecutiveMode());
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(main->ConsecutiveMode());
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(main->ActConsecutive.Hint(), "Disable consecutive");
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_FALSE(main->ConsecutiveMode());
  EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(main->ActConsecutive.Hint(), "Enable consecutive");
}

}  // namespace
}  // namespace discovel
