#include "app/fmMain.h"

#include <commctrl.h>

#include "app/fmAbout.h"
#include "app/fmMainIds.h"
#include "backup/win32/BackupCommands.h"
#include "backup/win32/SessionEndBlock.h"
#include "browser/fmArchive.h"
#include "check/win32/DiscCheckCommands.h"
#include "drives/fmSetDevice.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/Autoplay.h"
#include "drives/win32/CdTray.h"
#include "resource.h"
#include "scan/fmScan.h"
#include "search/fmDuplicates.h"
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
  ActAdd.SetOnExecute([this] { AddDiscSequence(); });
  ActSearch.SetOnExecute([this] { TfrmSearch::Execute(m_context, ""); });
  ActFindDuplicates.SetOnExecute([this] { TfrmDuplicates::Execute(m_context); });
  ActCatalog.SetOnExecute([this] { TfrmArchive::Execute(m_context); });
  ActCheckDisc.SetOnExecute([this] { CheckDiscInDrive(m_context, Handle()); });
  ActOpenCD.SetOnExecute([this] {
    PumpMessages();
    OpenCdTray(m_context.run.readDevice);
  });
  ActCloseCD.SetOnExecute([this] {
    PumpMessages();
    CloseCdTray(m_context.run.readDevice);
  });
  ActConsecutive.SetOnExecute([this] { ToggleConsecutive(); });
  ActRunAtStartUp.SetOnExecute([this] { TogglePreference(&Preferences::ToggleRunAtStartUp); });
  ActRunMinimized.SetOnExecute([this] { TogglePreference(&Preferences::ToggleRunMinimized); });
  ActPromptOnExit.SetOnExecute([this] { TogglePreference(&Preferences::TogglePromptOnExit); });
  ActShowTrayIcon.SetOnExecute([this] { TogglePreference(&Preferences::ToggleShowTrayIcon); });
  ActShowInTaskBar.SetOnExecute([this] { TogglePreference(&Preferences::ToggleShowInTaskBar); });
  m_actExit.SetOnExecute([this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  m_actMinimize.SetOnExecute([this] { MinimizeApplication(); });
  m_actShow.SetOnExecute([this] { ShowApplication(); });
  m_actBackup.SetOnExecute([this] { BackupArchives(m_context, Handle()); });
  m_actRestore.SetOnExecute([this] { RestoreArchives(m_context, Handle()); });
  m_actMerge.SetOnExecute([this] { MergeArchives(m_context, Handle()); });
  m_actSetDevice.SetOnExecute([this] { TfrmSetDevice::Execute(m_context); });
  m_actAbout.SetOnExecute([this] { TfrmAbout::Execute(m_context); });
  for (size_t i = 0; i < m_webActions.size(); ++i) {
    m_webActions[i].SetOnExecute([this, i] { OpenWebLink(static_cast<WebLink>(i), *m_shell); });
  }

  using namespace fmMainIds;
  CommandTable& commands = Commands();
  // Window keys act on release.
  commands.Add({kAdd, &ActAdd, "Add New CD/DVD to Catalog", "Add New CD/DVD to Catalog", {VK_INSERT},
                ButtonPicture::AddDisc});
  commands.Add({kSearch, &ActSearch, "Search Files", "Search Files", {VK_F3}, ButtonPicture::SearchFiles});
  commands.Add({kFindDuplicates, &ActFindDuplicates, "Find Duplicate Files...", "Find Duplicate Files"});
  commands.Add({kCatalog, &ActCatalog, "Open Catalog", "Open Catalog"});
  commands.Add({kCheckDisc, &ActCheckDisc, "Check CD/DVD...", "Check CD/DVD"});
  commands.Add({kOpenCD, &ActOpenCD, "Eject CD/DVD", "Eject CD/DVD", {}, ButtonPicture::EjectDisc});
  commands.Add({kCloseCD, &ActCloseCD, "Close CD/DVD", "Close CD/DVD", {}, ButtonPicture::CloseTray});
  commands.Add({kConsecutive, &ActConsecutive, "Consecutive", "Enable Consecutive", {}, ButtonPicture::ConsecutiveOff});
  commands.Add({kExit, &m_actExit, "Exit"});
  commands.Add({kMinimize, &m_actMinimize, "Minimize", nullptr, {VK_ESCAPE}});
  commands.Add({kShow, &m_actShow, "Show"});
  commands.Add({kBackup, &m_actBackup, "Backup Archives to File"});
  commands.Add({kRestore, &m_actRestore, "Restore Archives from File"});
  commands.Add({kMerge, &m_actMerge, "Merge Archives from File"});
  commands.Add({kSetDevice, &m_actSetDevice, "Set Default Read Device..."});
  commands.Add({kRunAtStartUp, &ActRunAtStartUp, "Run at Start-up"});
  commands.Add({kRunMinimized, &ActRunMinimized, "Run Minimized (only Start-up)"});
  commands.Add({kPromptOnExit, &ActPromptOnExit, "Prompt on Exit"});
  commands.Add({kShowTrayIcon, &ActShowTrayIcon, "Show System Tray Icon"});
  commands.Add({kShowInTaskBar, &ActShowInTaskBar, "Show in Task Bar"});
  commands.Add({kAbout, &m_actAbout, "About..."});
  const std::pair<WebLink, const char*> webCaptions[] = {
      {WebLink::ProgramHelp, "Program Help"},
      {WebLink::Faq, "FAQ"},
      {WebLink::HomePage, "Home Page"},
      {WebLink::CheckForUpdate, "Check for Update"},
      {WebLink::MoreProducts, "Get More Vantro Products"},
      {WebLink::Newsletter, "Get Newsletter"},
      {WebLink::SellProgram, "Sell this Program and Earn Money"},
      {WebLink::TellAFriend, "Tell a Friend (Send e-mail)"},
  };
  for (const auto& [link, caption] : webCaptions) {
    commands.Add({kWebFirst + static_cast<UINT>(link), &Web(link), caption});
  }
}

void TfrmMain::BuildMenu() {
  using Flag = MenuItem::Flags;
  const std::vector<MenuItem> menu = {
      SubMenu("Catalog", {Item(ActAdd, Flag::kDefault), Separator(), Item(ActCatalog), Item(ActCheckDisc), Separator(), Item(m_actExit)}),
      SubMenu("Tools", {Item(ActSearch, Flag::kDefault), Item(ActFindDuplicates),
                        SubMenu("Backup / Restore", {Item(m_actBackup, Flag::kDefault), Item(m_actRestore), Separator(),
                                                     Item(m_actMerge)}),
                        Separator(), Item(ActOpenCD), Item(ActCloseCD), Separator(), Item(m_actSetDevice),
                        Separator(),
                        SubMenu("Preferences", {Item(ActRunAtStartUp, Flag::kDefault), Item(ActRunMinimized),
                                                Item(ActPromptOnExit), Separator(), Item(ActShowTrayIcon),
                                                Item(ActShowInTaskBar)})}),
      SubMenu("Help", {Item(Web(WebLink::ProgramHelp)), Item(Web(WebLink::Faq)), Separator(),
                       Item(Web(WebLink::HomePage)), Item(Web(WebLink::CheckForUpdate)), Separator(),
                       Item(m_actAbout)}),
      SubMenu("More", {Item(Web(WebLink::MoreProducts), Flag::kDefault), Item(Web(WebLink::Newsletter)),
                       Item(Web(WebLink::SellProgram)), Item(Web(WebLink::TellAFriend))}),
  };
  m_menu = discovel::BuildMenu(menu, Commands(), true).release();
  SetMenu(Handle(), m_menu);
  m_trayMenu = discovel::BuildMenu({Item(m_actMinimize, Flag::kDefault), Item(m_actShow), Separator(), Item(m_actExit)},
                                   Commands());
}

void TfrmMain::BuildControls() {
  using namespace fmMainIds;
  // Top panel: the tray buttons and the consecutive toggle, with small
  // pictures left of their captions.
  m_btnOpenCD.Create({this, kOpenCD, "Eject", {6, 4, 70, 24}});
  m_btnCloseCD.Create({this, kCloseCD, "Close", {80, 4, 70, 24}});
  m_btnConsecutive.Create({this, kConsecutive, "Consecutive", {kClientWidth - 118, 4, 112, 24}, kAnchorTopRight,
                           false, false, true});
  // Button panel: the two main commands, their pictures above the captions.
  const int width = (kClientWidth - 18) / 2;
  const int height = kClientHeight - kTopPanelHeight - 12;
  m_btnPlus.Create({this, kAdd, "Add CD/DVD", {6, kTopPanelHeight + 6, width, height}});
  m_btnSearch.Create({this, kSearch, "Search", {12 + width, kTopPanelHeight + 6, width, height}});
  BindButton(m_btnPlus.Handle(), ActAdd);
  BindButton(m_btnSearch.Handle(), ActSearch);
  BindButton(m_btnOpenCD.Handle(), ActOpenCD);
  BindButton(m_btnCloseCD.Handle(), ActCloseCD);
  BindButton(m_btnConsecutive.Handle(), ActConsecutive);
}

void TfrmMain::OnDpiChanged() { m_windowIcons.Apply(Handle(), GetModuleHandleA(nullptr), IDI_DISCOVEL); }

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
  const bool on = ActConsecutive.Checked();
  ActConsecutive.SetHint(on ? "Disable consecutive" : "Enable consecutive");
  ShowPicture(m_btnConsecutive.Handle(), on ? ButtonPicture::ConsecutiveOn : ButtonPicture::ConsecutiveOff);
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
      if (SessionEndBlocked(m_context.run)) return FALSE;  // a restore runs; Windows shows why
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
