#include "app/fmMain.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "app/fmAbout.h"
#include "app/fmMainIds.h"
#include "backup/win32/BackupCommands.h"
#include "backup/win32/SessionEndBlock.h"
#include "browser/fmArchive.h"
#include "check/win32/DiscCheckCommands.h"
#include "drives/fmAddDrive.h"
#include "drives/fmSetDevice.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/Autoplay.h"
#include "drives/win32/CdTray.h"
#include "platform/AppError.h"
#include "resource.h"
#include "scan/fmScan.h"
#include "search/fmDuplicates.h"
#include "search/fmSearch.h"
#include "settings/SettingsNames.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"
#include "update/fmUpdate.h"

namespace discovel {
namespace {

constexpr DesignSize kClient{292, 112};
constexpr int kTopPanelHeight = 30;

// The entries of the Help and More menus.
constexpr std::pair<WebLink, const char*> kWebCaptions[] = {
    {WebLink::ProgramHelp, "Program Help"},
    {WebLink::Faq, "FAQ"},
    {WebLink::HomePage, "Home Page"},
    {WebLink::CheckForUpdate, "Check for Update"},
    {WebLink::MoreProducts, "Get More Vantro Products"},
    {WebLink::Newsletter, "Get Newsletter"},
    {WebLink::SellProgram, "Sell this Program and Earn Money"},
    {WebLink::TellAFriend, "Tell a Friend (Send e-mail)"},
};

UINT WebCommand(WebLink link) { return fmMainIds::kWebFirst + static_cast<UINT>(link); }

bool BelongsToThisProgram(HWND hwnd) {
  DWORD pid = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &pid) && pid == GetCurrentProcessId();
}

// The message the shell sends the foreground window before autoplay starts.
UINT QueryCancelAutoPlayMessage() {
  static const UINT message = RegisterWindowMessageW(L"QueryCancelAutoPlay");
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
  wchar_t className[32] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  const bool toolTip = lstrcmpiW(className, TOOLTIPS_CLASSW) == 0;
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
  // Fixed single border; the maximize box is taken away below. The class
  // keeps the shared icon; the window gets its own at its DPI.
  CreateFormWindow(
      {.className = kMainWindowClass,
       .caption = kProgramName,
       .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
       .client = kClient,
       .hasMenu = true,
       .icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DISCOVEL)),
       .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  m_windowIcons.Apply(Handle(), GetModuleHandleW(nullptr), IDI_DISCOVEL);
  AcceptFromOtherProcesses(Handle(), {kMsgSecondInstance, TrayIcon::TaskBarCreatedMessage()});
  KeepPlacement(m_context.services.settings, std::string(names::kFormMain));
  m_trayIcon.Attach(Handle(), GetModuleHandleW(nullptr), IDI_DISCOVEL, kProgramName);
  SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) & ~WS_MAXIMIZEBOX);

  BuildCommands();
  BuildMenu();
  BuildControls();
  ApplyPreferences();
  KeyState();
}

void TfrmMain::BuildCommands() {
  using namespace fmMainIds;
  CommandTable& commands = Commands();
  // Window keys act on release.
  commands.Add({.id = kAdd,
                .action = &ActAdd,
                .caption = "Add New CD/DVD to Catalog",
                .keys = {VK_INSERT},
                .picture = ButtonPicture::AddDisc,
                .run = [this] { AddDiscSequence(); },
                .enabled = [this] { return m_context.run.addDiscEnabled; }});
  commands.Add({.id = kAddDrive,
                .caption = "Add Drive or Folder...",
                .hint = "Add Drive or Folder",
                .run = [this] { AddDriveOrFolder(); }});
  commands.Add({.id = kSearch,
                .caption = "Search Files",
                .keys = {VK_F3},
                .picture = ButtonPicture::SearchFiles,
                .run = [this] { TfrmSearch::Execute(m_context, ""); }});
  commands.Add({.id = kFindDuplicates,
                .caption = "Find Duplicate Files...",
                .hint = "Find Duplicate Files",
                .run = [this] { TfrmDuplicates::Execute(m_context); }});
  commands.Add({.id = kCatalog, .caption = "Open Catalog", .run = [this] { TfrmArchive::Execute(m_context); }});
  commands.Add({.id = kCheckDisc,
                .caption = "Check CD/DVD...",
                .hint = "Check CD/DVD",
                .run = [this] { CheckDiscInDrive(m_context, Handle()); }});
  commands.Add({.id = kOpenCD,
                .caption = "Eject CD/DVD",
                .picture = ButtonPicture::EjectDisc,
                .run = [this] { MoveTray(OpenCdTray); }});
  commands.Add({.id = kCloseCD,
                .caption = "Close CD/DVD",
                .picture = ButtonPicture::CloseTray,
                .run = [this] { MoveTray(CloseCdTray); }});
  commands.Add({.id = kConsecutive,
                .action = &ActConsecutive,
                .caption = "Consecutive",
                .hint = "Enable Consecutive",
                .picture = ButtonPicture::ConsecutiveOff,
                .run = [this] { ToggleConsecutive(); },
                .checked = [this] { return m_consecutive; }});
  commands.Add({.id = kExit,
                .caption = "Exit",
                .run = [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); },
                // While a dialog is open (this window disabled) the program cannot end.
                .enabled = [this] { return IsWindowEnabled(Handle()) != FALSE; }});
  commands.Add({.id = kMinimize, .caption = "Minimize", .keys = {VK_ESCAPE}, .run = [this] { MinimizeApplication(); }});
  commands.Add({.id = kShow, .caption = "Show", .run = [this] { ShowApplication(); }});
  commands.Add(
      {.id = kBackup, .caption = "Backup Archives to File", .run = [this] { BackupArchives(m_context, Handle()); }});
  commands.Add({.id = kRestore,
                .caption = "Restore Archives from File",
                .run = [this] { RestoreArchives(m_context, Handle()); }});
  commands.Add(
      {.id = kMerge, .caption = "Merge Archives from File", .run = [this] { MergeArchives(m_context, Handle()); }});
  commands.Add({.id = kSetDevice,
                .caption = "Set Default Read Device...",
                .run = [this] { TfrmSetDevice::Execute(m_context); }});
  // The preferences: checked while on. Only the one of the tray icon and the
  // task-bar button whose partner is on may be switched.
  const auto toggle = [this](void (Preferences::*flip)()) { return [this, flip] { TogglePreference(flip); }; };
  const auto isOn = [this](bool PreferenceChecks::*check) {
    return [this, check] { return m_preferences.Checks().*check; };
  };
  commands.Add({.id = kRunAtStartUp,
                .caption = "Run at Start-up",
                .run = toggle(&Preferences::ToggleRunAtStartUp),
                .checked = isOn(&PreferenceChecks::runAtStartUp)});
  commands.Add({.id = kRunMinimized,
                .caption = "Run Minimized (only Start-up)",
                .run = toggle(&Preferences::ToggleRunMinimized),
                .checked = isOn(&PreferenceChecks::runMinimized)});
  commands.Add({.id = kPromptOnExit,
                .action = &ActPromptOnExit,
                .caption = "Prompt on Exit",
                .run = toggle(&Preferences::TogglePromptOnExit),
                .checked = isOn(&PreferenceChecks::promptOnExit)});
  commands.Add({.id = kShowTrayIcon,
                .caption = "Show System Tray Icon",
                .run = toggle(&Preferences::ToggleShowTrayIcon),
                .enabled = [this] { return m_preferences.ShowTrayIconEnabled(); },
                .checked = isOn(&PreferenceChecks::showTrayIcon)});
  commands.Add({.id = kShowInTaskBar,
                .caption = "Show in Task Bar",
                .run = toggle(&Preferences::ToggleShowInTaskBar),
                .enabled = [this] { return m_preferences.ShowInTaskBarEnabled(); },
                .checked = isOn(&PreferenceChecks::showInTaskBar)});
  commands.Add({.id = kAbout, .caption = "About...", .run = [this] { TfrmAbout::Execute(m_context); }});
  for (const auto& [link, caption] : kWebCaptions) {
    commands.Add({.id = WebCommand(link), .caption = caption, .run = [this, link] { OpenWebLink(link, *m_shell); }});
  }
}

void TfrmMain::BuildMenu() {
  using namespace fmMainIds;
  using Flag = MenuItem::Flags;
  const auto web = [](WebLink link) { return Item(WebCommand(link)); };
  const std::vector<MenuItem> menu = {
      SubMenu("Catalog",
              {Item(kAdd, Flag::kDefault), Item(kAddDrive), Separator(), Item(kCatalog), Item(kCheckDisc), Separator(),
               Item(kExit)}),
      SubMenu("Tools",
              {Item(kSearch, Flag::kDefault), Item(kFindDuplicates),
               SubMenu("Backup / Restore", {Item(kBackup, Flag::kDefault), Item(kRestore), Separator(), Item(kMerge)}),
               Separator(), Item(kOpenCD), Item(kCloseCD), Separator(), Item(kSetDevice), Separator(),
               SubMenu("Preferences", {Item(kRunAtStartUp, Flag::kDefault), Item(kRunMinimized), Item(kPromptOnExit),
                                       Separator(), Item(kShowTrayIcon), Item(kShowInTaskBar)})}),
      SubMenu("Help", {web(WebLink::ProgramHelp), web(WebLink::Faq), Separator(), web(WebLink::HomePage),
                       web(WebLink::CheckForUpdate), Separator(), Item(kAbout)}),
      SubMenu("More", {Item(WebCommand(WebLink::MoreProducts), Flag::kDefault), web(WebLink::Newsletter),
                       web(WebLink::SellProgram), web(WebLink::TellAFriend)}),
  };
  m_menu = discovel::BuildMenu(menu, Commands(), true).release();
  SetMenu(Handle(), m_menu);
  m_trayMenu =
      discovel::BuildMenu({Item(kMinimize, Flag::kDefault), Item(kShow), Separator(), Item(kExit)}, Commands());
}

void TfrmMain::BuildControls() {
  using namespace fmMainIds;
  // Top panel: the tray buttons and the consecutive toggle, with small
  // pictures left of their captions.
  m_btnOpenCD.Create({.form = this, .id = kOpenCD, .text = "Eject", .bounds = {6, 4, 70, 24}});
  m_btnCloseCD.Create({.form = this, .id = kCloseCD, .text = "Close", .bounds = {80, 4, 70, 24}});
  m_btnConsecutive.Create({.form = this,
                           .id = kConsecutive,
                           .text = "Consecutive",
                           .bounds = {kClient.width - 118, 4, 112, 24},
                           .anchors = kAnchorTopRight,
                           .pushLike = true});
  // Button panel: the two main commands, their pictures above the captions.
  const int width = (kClient.width - 18) / 2;
  const int height = kClient.height - kTopPanelHeight - 12;
  m_btnPlus.Create({.form = this, .id = kAdd, .text = "Add CD/DVD", .bounds = {6, kTopPanelHeight + 6, width, height}});
  m_btnSearch.Create(
      {.form = this, .id = kSearch, .text = "Search", .bounds = {12 + width, kTopPanelHeight + 6, width, height}});
  for (HWND button : {m_btnPlus.Handle(), m_btnSearch.Handle(), m_btnOpenCD.Handle(), m_btnCloseCD.Handle(),
                      m_btnConsecutive.Handle()}) {
    BindButton(button);
  }
}

void TfrmMain::OnDpiChanged() { m_windowIcons.Apply(Handle(), GetModuleHandleW(nullptr), IDI_DISCOVEL); }

void TfrmMain::AddDiscSequence() {
  // In consecutive mode discs follow one another until a wait is cancelled.
  // The dialogs belong to this window even when a disc arrives while the
  // program is in the background and no window of it is active.
  do {
    if (TfrmWaitCD::Execute(m_context, "", Handle()) == kModalCancel) return;
    TfrmScan::Execute(m_context, Handle());
  } while (ConsecutiveMode());
}

void TfrmMain::AddDriveOrFolder() {
  const std::optional<ArchiveSource> source = TfrmAddDrive::Execute(m_context);
  if (!source) return;
  const ScanResult added = TfrmScan::Execute(m_context, Handle(), *source);
  if (!added.update) return;
  // Archived already: its archive brought up to date from where it was chosen.
  try {
    TfrmUpdate::Execute(m_context, added.update->path, added.update->mark, source->path);
  } catch (const AppError& error) {
    ShowAlert(Handle(), error.what());
  }
}

void TfrmMain::ToggleConsecutive() {
  m_consecutive = !m_consecutive;
  ActConsecutive.SetHint(m_consecutive ? "Disable consecutive" : "Enable consecutive");
  ShowPicture(m_btnConsecutive.Handle(), m_consecutive ? ButtonPicture::ConsecutiveOn : ButtonPicture::ConsecutiveOff);
}

void TfrmMain::MoveTray(void (*move)(char letter)) {
  // The tray command blocks: the window is redrawn first.
  PumpMessages();
  move(m_context.run.readDevice);
}

void TfrmMain::TogglePreference(void (Preferences::*toggle)()) {
  (m_preferences.*toggle)();
  ApplyPreferences();
}

void TfrmMain::ApplyPreferences() {
  m_trayIcon.SetVisible(m_preferences.Checks().showTrayIcon);
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
      MinimizeApplication();
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
  PostMessageW(front, WM_NULL, 0, 0);
  Action* action = chosen ? Commands().ForCommand(chosen) : nullptr;
  if (action && action->Execute()) KeyState();
}

bool TfrmMain::CloseAllowed() {
  if (m_sessionEnding || !m_preferences.Checks().promptOnExit) return true;
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
