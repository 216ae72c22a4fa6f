#include "app/fmMain.h"

#include "catalog/CatalogFolder.h"
#include "drives/Autoplay.h"
#include "drives/CdTray.h"
#include "drives/DriveRules.h"
#include "drives/ReadDevice.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/Platform.h"
#include "resource.h"
#include "scan/fmScan.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

constexpr int kClientWidth = 292;
constexpr int kClientHeight = 112;
constexpr int kTopPanelHeight = 30;

enum ControlId : int { kBtnPlus = 10, kBtnSearch, kBtnOpenCD, kBtnCloseCD, kBtnConsecutive };

void AppendItem(HMENU menu, UINT id, const char* caption) { AppendMenuA(menu, MF_STRING, id, caption); }
void AppendSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

bool BelongsToThisProgram(HWND hwnd) {
  DWORD pid = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &pid) && pid == GetCurrentProcessId();
}

}  // namespace

TfrmMain* frmMain = nullptr;

TfrmMain::TfrmMain(std::string programPath, bool endsProgram)
    : m_programPath(std::move(programPath)), m_endsProgram(endsProgram) {
  frmMain = this;
}

TfrmMain::~TfrmMain() {
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::Create() {
  WindowSpec params;
  params.className = kMainWindowClass;
  params.caption = "Discovel";
  // Fixed single border; the maximize box is taken away below.
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&rect, params.style, TRUE, 0);
  params.width = rect.right - rect.left;
  params.height = rect.bottom - rect.top;
  params.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DISCOVEL));
  params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  CreateFormWindow(params);
  // Window placement: centred until the placement rules restore it.
  CenterOnScreen(Handle());
  SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) & ~WS_MAXIMIZEBOX);

  BuildMenu();
  BuildControls();
  BindActions();

  // A folder that cannot be created is not reported here: the first save says so.
  m_catalogFolder = CatalogFolderFor(m_programPath);
  SetCatalogFolder(m_catalogFolder);
  FileSystem& files = SystemFileSystem();
  if (!files.FolderExists(m_catalogFolder)) files.CreateFolders(m_catalogFolder);

  // Preferences kept as switches: checked unless stored away from the default.
  Settings& settings = ProgramSettings();
  if (SwitchIsSet(settings, names::kKeySwitches, names::kPromptOnExit)) {
    CheckMenuItem(m_menu, kMenuPromptOnExit, MF_BYCOMMAND | MF_UNCHECKED);
  }
  if (SwitchIsSet(settings, names::kKeySwitches, names::kStartUpRunMinimized)) {
    CheckMenuItem(m_menu, kMenuRunMinimized, MF_BYCOMMAND | MF_UNCHECKED);
  } else if (m_argumentCount > 0) {
    m_startMinimized = true;
  }

  SetDefaultReadDevice(ChooseReadDeviceAtStartup(settings, SystemDriveQueries()));
}

void TfrmMain::BuildMenu() {
  m_menu = CreateMenu();
  HMENU catalog = CreatePopupMenu();
  AppendItem(catalog, kMenuAdd, "Add New CD/DVD to Catalog");
  AppendSeparator(catalog);
  AppendItem(catalog, kMenuCatalog, "Open Catalog");
  AppendSeparator(catalog);
  AppendItem(catalog, kMenuExit, "Exit");
  SetMenuDefaultItem(catalog, kMenuAdd, FALSE);

  HMENU backup = CreatePopupMenu();
  AppendItem(backup, kMenuBackup, "Backup Archives to File");
  AppendItem(backup, kMenuRestore, "Restore Archives from File");
  AppendSeparator(backup);
  AppendItem(backup, kMenuMerge, "Merge Archives from File");
  SetMenuDefaultItem(backup, kMenuBackup, FALSE);

  HMENU preferences = CreatePopupMenu();
  AppendItem(preferences, kMenuRunAtStartUp, "Run at Start-up");
  AppendMenuA(preferences, MF_STRING | MF_CHECKED, kMenuRunMinimized, "Run Minimized (only Start-up)");
  AppendMenuA(preferences, MF_STRING | MF_CHECKED, kMenuPromptOnExit, "Prompt on Exit");
  AppendSeparator(preferences);
  AppendMenuA(preferences, MF_STRING | MF_CHECKED, kMenuShowTrayIcon, "Show System Tray Icon");
  AppendItem(preferences, kMenuShowInTaskBar, "Show in Task Bar");
  SetMenuDefaultItem(preferences, kMenuRunAtStartUp, FALSE);

  HMENU tools = CreatePopupMenu();
  AppendItem(tools, kMenuSearch, "Search Files");
  AppendMenuA(tools, MF_POPUP, reinterpret_cast<UINT_PTR>(backup), "Backup / Restore");
  AppendSeparator(tools);
  AppendItem(tools, kMenuEject, "Eject CD/DVD");
  AppendItem(tools, kMenuCloseTray, "Close CD/DVD");
  AppendSeparator(tools);
  AppendItem(tools, kMenuSetDevice, "Set Default Read Device...");
  AppendSeparator(tools);
  AppendMenuA(tools, MF_POPUP, reinterpret_cast<UINT_PTR>(preferences), "Preferences");
  SetMenuDefaultItem(tools, kMenuSearch, FALSE);

  HMENU help = CreatePopupMenu();
  AppendItem(help, kMenuHelp, "Program Help");
  AppendItem(help, kMenuFaq, "FAQ");
  AppendSeparator(help);
  AppendItem(help, kMenuHomePage, "Home Page");
  AppendItem(help, kMenuCheckUpdate, "Check for Update");
  AppendSeparator(help);
  AppendItem(help, kMenuAbout, "About...");

  HMENU more = CreatePopupMenu();
  AppendItem(more, kMenuMoreProducts, "Get More Vantro Products");
  AppendItem(more, kMenuNewsletter, "Get Newsletter");
  AppendItem(more, kMenuAffiliate, "Sell this Program and Earn Money");
  AppendItem(more, kMenuTellFriend, "Tell a Friend (Send e-mail)");
  SetMenuDefaultItem(more, kMenuMoreProducts, FALSE);

  AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(catalog), "Catalog");
  AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "Tools");
  AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");
  AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
  SetMenu(Handle(), m_menu);
}

void TfrmMain::BuildControls() {
  m_hints.Attach(Handle());
  // Top panel: the tray buttons and the consecutive toggle.
  m_btnOpenCD = CreateButton(Handle(), kBtnOpenCD, "Eject", 6, 4, 70, 22);
  m_btnCloseCD = CreateButton(Handle(), kBtnCloseCD, "Close", 80, 4, 70, 22);
  m_btnConsecutive = CreateChild(Handle(), "BUTTON", "Consecutive", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                                 kClientWidth - 96, 4, 90, 22, kBtnConsecutive);
  m_hints.Set(m_btnConsecutive, "Enable Consecutive");
  // Button panel: the two main commands.
  const int width = (kClientWidth - 18) / 2;
  m_btnPlus = CreateButton(Handle(), kBtnPlus, "Add CD/DVD", 6, kTopPanelHeight + 6, width,
                           kClientHeight - kTopPanelHeight - 12);
  m_btnSearch = CreateButton(Handle(), kBtnSearch, "Search", 12 + width, kTopPanelHeight + 6, width,
                             kClientHeight - kTopPanelHeight - 12);
}

void TfrmMain::BindActions() {
  ActAdd = Action("Add New CD/DVD to Catalog", "Add New CD/DVD to Catalog", [this] { AddDiscSequence(); });
  // The search and catalogue windows are opened here once they exist.
  ActSearch = Action("Search Files", "Search Files", [] {});
  ActCatalog = Action("Open Catalog", "Open Catalog", [] {});
  ActOpenCD = Action("Eject CD/DVD", "Eject CD/DVD", [] {
    PumpMessages();
    OpenCdTray(DefaultReadDevice());
  });
  ActCloseCD = Action("Close CD/DVD", "Close CD/DVD", [] {
    PumpMessages();
    CloseCdTray(DefaultReadDevice());
  });
  ActAdd.BindButton(m_btnPlus, &m_hints);
  ActAdd.BindMenuItem(m_menu, kMenuAdd);
  ActSearch.BindButton(m_btnSearch, &m_hints);
  ActSearch.BindMenuItem(m_menu, kMenuSearch);
  ActCatalog.BindMenuItem(m_menu, kMenuCatalog);
  ActOpenCD.BindButton(m_btnOpenCD, &m_hints);
  ActOpenCD.BindMenuItem(m_menu, kMenuEject);
  ActCloseCD.BindButton(m_btnCloseCD, &m_hints);
  ActCloseCD.BindMenuItem(m_menu, kMenuCloseTray);
  m_commands = {{kMenuAdd, &ActAdd},         {kBtnPlus, &ActAdd},         {kMenuSearch, &ActSearch},
                {kBtnSearch, &ActSearch},    {kMenuCatalog, &ActCatalog}, {kMenuEject, &ActOpenCD},
                {kBtnOpenCD, &ActOpenCD},    {kMenuCloseTray, &ActCloseCD}, {kBtnCloseCD, &ActCloseCD}};
}

void TfrmMain::AddDiscSequence() {
  // In consecutive mode discs follow one another until a wait is cancelled.
  do {
    if (TfrmWaitCD::Execute("") == kModalCancel) return;
    TfrmScan::Execute();
  } while (m_consecutive);
}

void TfrmMain::ToggleConsecutive() {
  m_consecutive = !m_consecutive;
  SendMessageA(m_btnConsecutive, BM_SETCHECK, m_consecutive ? BST_CHECKED : BST_UNCHECKED, 0);
  m_hints.Set(m_btnConsecutive, m_consecutive ? "Disable consecutive" : "Enable consecutive");
}

bool TfrmMain::MenuChecked(UINT id) const {
  return (GetMenuState(m_menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool TfrmMain::CloseAllowed() {
  if (m_sessionEnding || !MenuChecked(kMenuPromptOnExit)) return true;
  return MessageBoxA(Handle(), "Do you really want to exit Discovel?", "Discovel",
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TfrmMain::SavePlacement() {
  // The main window keeps its place once placement is stored; centred for now.
}

void TfrmMain::OnActivate(WPARAM wParam, LPARAM lParam) {
  // Only focus moving between the program's own windows counts; switching to
  // another application and back changes nothing.
  const HWND other = reinterpret_cast<HWND>(lParam);
  if (LOWORD(wParam) == WA_INACTIVE) {
    if (BelongsToThisProgram(other)) RestoreAutoplay();
    return;
  }
  if (!m_everActivated || BelongsToThisProgram(other)) {
    m_everActivated = true;
    SuppressAutoplay();
  }
}

bool TfrmMain::PreTranslate(MSG& msg) {
  // Window keys act on release.
  if (msg.message != WM_KEYUP) return false;
  switch (msg.wParam) {
    case VK_INSERT:
      ActAdd.Execute();
      return true;
    case VK_ESCAPE:
      ShowWindow(Handle(), SW_MINIMIZE);
      return true;
    case VK_F3:
      ActSearch.Execute();
      return true;
    default:
      return false;
  }
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // While a dialog of the program is open the main window is disabled, and
      // a disabled window takes no commands, whoever posts them.
      if (!IsWindowEnabled(Handle())) return 0;
      const UINT id = LOWORD(wParam);
      if (const auto found = m_commands.find(id); found != m_commands.end()) {
        found->second->Execute();
      } else if (id == kBtnConsecutive) {
        ToggleConsecutive();
      } else if (id == kMenuExit) {
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
      } else if (id == kMenuPromptOnExit || id == kMenuRunMinimized) {
        const bool nowChecked = !MenuChecked(id);
        CheckMenuItem(m_menu, id, MF_BYCOMMAND | (nowChecked ? MF_CHECKED : MF_UNCHECKED));
        StoreSwitch(ProgramSettings(), names::kKeySwitches,
                    id == kMenuPromptOnExit ? names::kPromptOnExit : names::kStartUpRunMinimized, !nowChecked);
      }
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(wParam, lParam);
      return DefaultHandling(message, wParam, lParam);
    case kMsgSecondInstance:
      if (IsIconic(Handle())) {
        ShowWindow(Handle(), SW_RESTORE);
      } else {
        SetForegroundWindow(Handle());
      }
      return 0;
    case WM_MOVING:
    case WM_EXITSIZEMOVE:
      SavePlacement();
      return DefaultHandling(message, wParam, lParam);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          EnableWindow(Handle(), TRUE);
          ShowWindow(Handle(), SW_MINIMIZE);
          return 0;
        case SC_MAXIMIZE:
        case SC_RESTORE: {
          const LRESULT result = DefaultHandling(message, wParam, lParam);
          SavePlacement();
          return result;
        }
        default:
          return DefaultHandling(message, wParam, lParam);
      }
    case WM_QUERYENDSESSION:
      m_sessionEnding = true;
      return TRUE;
    case WM_ENDSESSION:
      m_sessionEnding = wParam != 0;
      return 0;
    case WM_CLOSE:
      if (CloseAllowed()) DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      if (m_endsProgram) PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace discovel
