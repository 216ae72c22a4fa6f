#include "app/fmMain.h"

#include <commctrl.h>

#include "app/fmAbout.h"
#include "app/fmMainIds.h"
#include "backup/win32/BackupCommands.h"
#include "backup/win32/SessionEndBlock.h"
#include "browser/fmArchive.h"
#include "drives/fmSetDevice.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/Autoplay.h"
#include "drives/win32/CdTray.h"
#include "resource.h"
#include "scan/fmScan.h"
#include "search/fmSearch.h"
#include "settings/SettingsNames.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

constexpr int kClientWidth = 292;
constexpr int kClientHeight = 112;
constexpr int kTopPanelHeight = 30;

bool BelongsToThisProgram(HWND hwnd) {
  DWORD pid = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &pid) && pid == GetCurrentProcessId();
}

// The message the shell sends the foreground window before autoplay starts.
UINT QueryCancelAutoPlayMessage() {
  static const UINT message = RegisterWindowMessageA("QueryCancelAutoPlay");
  return message;
}

bool OwnedBy(HWND window, HWND owner) {
  for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER)) {
    if (up == owner) return true;
  }
  return false;
}

struct FrontSearch {
  HWND main;
  HWND found;
};

BOOL CALLBACK FindFront(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<FrontSearch*>(param);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  const bool toolTip = lstrcmpiA(className, TOOLTIPS_CLASSA) == 0;
  if (!toolTip && IsWindowVisible(window) && IsWindowEnabled(window) && OwnedBy(window, search.main)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// The window the user can act in: an open dialog of the program (a modal one
// disables every other window, so it is the one left enabled), else the main
// window. Not the last active pop-up, which is the main window itself once
// that was activated, as when it is restored from the tray.
HWND FrontWindow(HWND main) {
  FrontSearch search{main, nullptr};
  EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), &FindFront, reinterpret_cast<LPARAM>(&search));
  return search.found ? search.found : main;
}

// A second start of the program, or a restarted shell, may run at another
// integrity level: their messages must still reach the main window.
void AcceptFromOtherProcesses(HWND window, std::initializer_list<UINT> messages) {
  for (UINT message : messages) ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace

TfrmMain::TfrmMain(AppContext& context, Preferences preferences, bool endsProgram)
    : m_context(context), m_endsProgram(endsProgram), m_preferences(std::move(preferences)) {}

TfrmMain::~TfrmMain() {
  if (Handle()) DestroyWindow(Handle());
}

void TfrmMain::Create() {
  WindowSpec params;
  params.className = kMainWindowClass;
  params.caption = kProgramName;
  // Fixed single border; the maximize box is taken away below.
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  params.client = {kClientWidth, kClientHeight};
  params.hasMenu = true;
  // The class keeps the shared icon; the window gets its own at its DPI.
  params.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DISCOVEL));
  params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  CreateFormWindow(params);
  m_windowIcons.Apply(Handle(), GetModuleHandleA(nullptr), IDI_DISCOVEL);
  AcceptFromOtherProcesses(Handle(), {kMsgSecondInstance, TrayIcon::TaskBarCreatedMessage()});
  KeepPlacement(m_context.services.settings, std::string(names::kFormMain));
  m_trayIcon.Attach(Handle(), GetModuleHandleA(nullptr), IDI_DISCOVEL, kProgramName);
  SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) & ~WS_MAXIMIZEBOX);

  BuildActions();
  BuildMenu();
  BuildControls();
  ApplyPreferences();
  KeyState();
}

void TfrmMain::BuildActions() {
  ActAdd = Action("Add New CD/DVD to Catalog", "Add New CD/DVD to Catalog", [this] { AddDiscSequence(); });
  ActSearch = Action("Search Files", "Search Files", [this] { TfrmSearch::Execute(m_context, ""); });
  ActCatalog = Action("Open Catalog", "Open Catalog", [this] { TfrmArchive::Execute(m_context); });
  ActOpenCD = Action("Eject CD/DVD", "Eject CD/DVD", [this] {
    PumpMessages();
    OpenCdTray(m_context.run.readDevice);
  });
  ActCloseCD = Action("Close CD/DVD", "Close CD/DVD", [this] {
    PumpMessages();
    CloseCdTray(m_context.run.readDevice);
  });
  ActConsecutive = Action("Consecutive", "Enable Consecutive", [this] { ToggleConsecutive(); });
  ActRunAtStartUp = Action("Run at Start-up", "", [this] { TogglePreference(&Preferences::ToggleRunAtStartUp); });
  ActRunMinimized = Action("Run Minimized (only Start-up)", "",
                           [this] { TogglePreference(&Preferences::ToggleRunMinimized); });
  ActPromptOnExit = Action("Prompt on Exit", "", [this] { TogglePreference(&Preferences::TogglePromptOnExit); });
  ActShowTrayIcon = Action("Show System Tray Icon", "", [this] { TogglePreference(&Preferences::ToggleShowTrayIcon); });
  ActShowInTaskBar = Action("Show in Task Bar", "", [this] { TogglePreference(&Preferences::ToggleShowInTaskBar); });
  m_actExit = Action("Exit", "", [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  m_actMinimize = Action("Minimize", "", [this] { MinimizeApplication(); });
  m_actShow = Action("Show", "", [this] { ShowApplication(); });
  m_actBackup = Action("Backup Archives to File", "", [this] { BackupArchives(m_context, Handle()); });
  m_actRestore = Action("Restore Archives from File", "", [this] { RestoreArchives(m_context, Handle()); });
  m_actMerge = Action("Merge Archives from File", "", [this] { MergeArchives(m_context, Handle()); });
  m_actSetDevice = Action("Set Default Read Device...", "", [this] { TfrmSetDevice::Execute(m_context); });
  m_actAbout = Action("About...", "", [this] { TfrmAbout::Execute(m_context); });
  for (size_t i = 0; i < m_webActions.size(); ++i) {
    m_webActions[i] = Action("", "", [this, i] { OpenWebLink(static_cast<WebLink>(i), *m_shell); });
  }

  using namespace fmMainIds;
  CommandTable& commands = Commands();
  commands.Add(kAdd, ActAdd);
  commands.Add(kCatalog, ActCatalog);
  commands.Add(kExit, m_actExit);
  commands.Add(kSearch, ActSearch);
  commands.Add(kOpenCD, ActOpenCD);
  commands.Add(kCloseCD, ActCloseCD);
  commands.Add(kRunAtStartUp, ActRunAtStartUp);
  commands.Add(kRunMinimized, ActRunMinimized);
  commands.Add(kPromptOnExit, ActPromptOnExit);
  commands.Add(kShowTrayIcon, ActShowTrayIcon);
  commands.Add(kShowInTaskBar, ActShowInTaskBar);
  commands.Add(kMinimize, m_actMinimize);
  commands.Add(kShow, m_actShow);
  commands.Add(kBackup, m_actBackup);
  commands.Add(kRestore, m_actRestore);
  commands.Add(kMerge, m_actMerge);
  commands.Add(kSetDevice, m_actSetDevice);
  commands.Add(kAbout, m_actAbout);
  for (size_t i = 0; i < m_webActions.size(); ++i) commands.Add(kWebFirst + static_cast<UINT>(i), m_webActions[i]);
  commands.Add(kConsecutive, ActConsecutive);
  // Window keys act on release.
  commands.AddKey(VK_INSERT, ActAdd);
  commands.AddKey(VK_ESCAPE, m_actMinimize);
  commands.AddKey(VK_F3, ActSearch);
}

void TfrmMain::BuildMenu() {
  using Item = MenuItem;
  const std::vector<MenuItem> menu = {
      {"Catalog", nullptr, Item::kNone,
       {{"Add New CD/DVD to Catalog", &ActAdd, Item::kDefault},
        Separator(),
        {"Open Catalog", &ActCatalog},
        Separator(),
        {"Exit", &m_actExit}}},
      {"Tools", nullptr, Item::kNone,
       {{"Search Files", &ActSearch, Item::kDefault},
        {"Backup / Restore", nullptr, Item::kNone,
         {{"Backup Archives to File", &m_actBackup, Item::kDefault},
          {"Restore Archives from File", &m_actRestore},
          Separator(),
          {"Merge Archives from File", &m_actMerge}}},
        Separator(),
        {"Eject CD/DVD", &ActOpenCD},
        {"Close CD/DVD", &ActCloseCD},
        Separator(),
        {"Set Default Read Device...", &m_actSetDevice},
        Separator(),
        {"Preferences", nullptr, Item::kNone,
         {{"Run at Start-up", &ActRunAtStartUp, Item::kDefault},
          {"Run Minimized (only Start-up)", &ActRunMinimized},
          {"Prompt on Exit", &ActPromptOnExit},
          Separator(),
          {"Show System Tray Icon", &ActShowTrayIcon},
          {"Show in Task Bar", &ActShowInTaskBar}}}}},
      {"Help", nullptr, Item::kNone,
       {{"Program Help", &Web(WebLink::ProgramHelp)},
        {"FAQ", &Web(WebLink::Faq)},
        Separator(),
        {"Home Page", &Web(WebLink::HomePage)},
        {"Check for Update", &Web(WebLink::CheckForUpdate)},
        Separator(),
        {"About...", &m_actAbout}}},
      {"More", nullptr, Item::kNone,
       {{"Get More Vantro Products", &Web(WebLink::MoreProducts), Item::kDefault},
        {"Get Newsletter", &Web(WebLink::Newsletter)},
        {"Sell this Program and Earn Money", &Web(WebLink::SellProgram)},
        {"Tell a Friend (Send e-mail)", &Web(WebLink::TellAFriend)}}},
  };
  m_menu = discovel::BuildMenu(menu, Commands(), true).release();
  SetMenu(Handle(), m_menu);
  m_trayMenu = discovel::BuildMenu(
      {{"Minimize", &m_actMinimize, Item::kDefault}, {"Show", &m_actShow}, Separator(), {"Exit", &m_actExit}},
      Commands());
}

void TfrmMain::BuildControls() {
  using namespace fmMainIds;
  m_hints.Attach(Handle());
  // Top panel: the tray buttons and the consecutive toggle.
  HWND btnOpenCD = CreateButton(Handle(), kOpenCD, "Eject", 6, 4, 70, 22);
  HWND btnCloseCD = CreateButton(Handle(), kCloseCD, "Close", 80, 4, 70, 22);
  HWND btnConsecutive = CreateChild(Handle(), "BUTTON", "Consecutive", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                                    kClientWidth - 96, 4, 90, 22, kConsecutive);
  // Button panel: the two main commands.
  const int width = (kClientWidth - 18) / 2;
  HWND btnPlus = CreateButton(Handle(), kAdd, "Add CD/DVD", 6, kTopPanelHeight + 6, width,
                              kClientHeight - kTopPanelHeight - 12);
  HWND btnSearch = CreateButton(Handle(), kSearch, "Search", 12 + width, kTopPanelHeight + 6, width,
                                kClientHeight - kTopPanelHeight - 12);
  ActAdd.BindButton(btnPlus, &m_hints);
  ActSearch.BindButton(btnSearch, &m_hints);
  ActOpenCD.BindButton(btnOpenCD, &m_hints);
  ActCloseCD.BindButton(btnCloseCD, &m_hints);
  ActConsecutive.BindButton(btnConsecutive, &m_hints);
}

void TfrmMain::KeyState() {
  ActAdd.SetEnabled(m_context.run.addDiscEnabled);
  // While a dialog is open (this window disabled) the program cannot end.
  m_actExit.SetEnabled(IsWindowEnabled(Handle()) != FALSE);
}

void TfrmMain::AddDiscSequence() {
  // In consecutive mode discs follow one another until a wait is cancelled.
  // The dialogs belong to this window even when a disc arrives while the
  // program is in the background and no window of it is active.
  do {
    if (TfrmWaitCD::Execute(m_context, "", Handle()) == kModalCancel) return;
    TfrmScan::Execute(m_context, Handle());
  } while (ConsecutiveMode());
}

void TfrmMain::ToggleConsecutive() {
  ActConsecutive.SetChecked(!ActConsecutive.Checked());
  ActConsecutive.SetHint(ActConsecutive.Checked() ? "Disable consecutive" : "Enable consecutive");
}

void TfrmMain::TogglePreference(void (Preferences::*toggle)()) {
  (m_preferences.*toggle)();
  ApplyPreferences();
}

void TfrmMain::ApplyPreferences() {
  const PreferenceChecks& checks = m_preferences.Checks();
  ActRunAtStartUp.SetChecked(checks.runAtStartUp);
  ActRunMinimized.SetChecked(checks.runMinimized);
  ActPromptOnExit.SetChecked(checks.promptOnExit);
  ActShowTrayIcon.SetChecked(checks.showTrayIcon);
  ActShowInTaskBar.SetChecked(checks.showInTaskBar);
  ActShowTrayIcon.SetEnabled(m_preferences.ShowTrayIconEnabled());
  ActShowInTaskBar.SetEnabled(m_preferences.ShowInTaskBarEnabled());
  m_trayIcon.SetVisible(checks.showTrayIcon);
  UpdateTaskBarButton();
}

void TfrmMain::UpdateTaskBarButton() {
  const PreferenceChecks& checks = m_preferences.Checks();
  m_taskBarButton.Show(Handle(), checks.showInTaskBar || !m_trayIcon.Shown());
}

void TfrmMain::Show(int showCommand) {
  if (StartMinimized()) {
    showCommand = SW_SHOWMINNOACTIVE;
  } else if (OpensMaximized()) {
    showCommand = SW_SHOWMAXIMIZED;
  }
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
}

void TfrmMain::ShowApplication() {
  if (IsIconic(Handle()) || !IsWindowVisible(Handle())) ShowWindow(Handle(), SW_RESTORE);
  // While a dialog of the program is open, it is what comes to the front.
  SetForegroundWindow(FrontWindow(Handle()));
  UpdateTaskBarButton();
}

void TfrmMain::MinimizeApplication() {
  // The window stays disabled while a dialog of the program is open:
  // minimizing must not let commands in behind the dialog's back.
  ShowWindow(Handle(), SW_MINIMIZE);
  UpdateTaskBarButton();
}

void TfrmMain::OnTrayNotice(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP:
      if (!m_skipTrayRelease) ShowApplication();
      m_skipTrayRelease = false;
      break;
    case WM_LBUTTONDBLCLK:
      // The first click of the pair has shown the program already.
      m_skipTrayRelease = true;
      m_actMinimize.Execute();
      break;
    case WM_RBUTTONUP:
      ShowTrayMenu();
      break;
    default:
      break;
  }
}

void TfrmMain::ShowTrayMenu() {
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the posted message lets it close at once when asked. An open
  // dialog keeps the front, so that activating this window does not count as
  // coming back to it.
  HWND front = FrontWindow(Handle());
  SetForegroundWindow(front);
  KeyState();
  // The choice runs here rather than as a WM_COMMAND: while a dialog is open
  // this window is disabled and takes no commands, but Show and Minimize must
  // still work (Exit is greyed then).
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(m_trayMenu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, front, nullptr));
  PostMessageA(front, WM_NULL, 0, 0);
  Action* action = chosen ? Commands().ForCommand(chosen) : nullptr;
  if (action && action->Execute()) KeyState();
}

bool TfrmMain::CloseAllowed() {
  if (m_sessionEnding || !ActPromptOnExit.Checked()) return true;
  return Confirm(Handle(), std::string("Do you really want to exit ") + kProgramName + "?");
}

void TfrmMain::OnActivate(WPARAM wParam, LPARAM lParam) {
  // Only focus moving between the program's own windows counts; switching to
  // another application and back changes nothing.
  const HWND other = reinterpret_cast<HWND>(lParam);
  if (LOWORD(wParam) == WA_INACTIVE) {
    if (BelongsToThisProgram(other)) {
      m_autoplayHeldOff = false;
      RestoreAutoplay();
    }
    return;
  }
  if (!m_everActivated || BelongsToThisProgram(other)) {
    m_everActivated = true;
    m_autoplayHeldOff = true;
    // Without the right to write the machine's switches this changes nothing;
    // the answer to the shell's question holds autoplay off all the same.
    SuppressAutoplay();
  }
}

bool TfrmMain::CancelsAutoplay() const {
  return m_autoplayHeldOff && BelongsToThisProgram(GetForegroundWindow());
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      OnActivate(wParam, lParam);
      return DefaultHandling(message, wParam, lParam);
    case kMsgSecondInstance:
      ShowApplication();
      return 0;
    case TrayIcon::kCallbackMessage:
      OnTrayNotice(static_cast<UINT>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      // The placement is stored around maximizing and restoring by the form.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        MinimizeApplication();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_QUERYENDSESSION:
      if (SessionEndBlock::Active()) return FALSE;  // a restore runs; Windows shows why
      m_sessionEnding = true;
      return TRUE;
    case WM_ENDSESSION:
      m_sessionEnding = wParam != 0;
      return 0;
    case WM_CLOSE:
      if (CloseAllowed()) DestroyWindow(Handle());
      return 0;
    case WM_TIMER:
      if (m_trayIcon.OnTimer(wParam)) {
        UpdateTaskBarButton();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_DESTROY:
      // Autoplay is the machine's again once the program has ended.
      m_autoplayHeldOff = false;
      RestoreAutoplay();
      m_trayIcon.SetVisible(false);
      if (m_endsProgram) PostQuitMessage(0);
      return 0;
    default:
      if (message == QueryCancelAutoPlayMessage()) return CancelsAutoplay() ? 1 : 0;
      if (message == TrayIcon::TaskBarCreatedMessage()) {
        m_trayIcon.TaskBarCreated();
        UpdateTaskBarButton();
      }
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace discovel
