#pragma once
// The main window: lives for the whole run; closing it ends the program. Every
// piece of work starts from its actions and menus.
#include <string>

#include "app/DpiIcon.h"
#include "app/ShellLauncher.h"
#include "app/TaskBarButton.h"
#include "app/TrayIcon.h"
#include "app/WebLinks.h"
#include "platform/AppContext.h"
#include "platform/ProgramName.h"
#include "platform/win32/Handles.h"
#include "settings/Preferences.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace discovel {

// The class a second start of the program looks for.
inline constexpr const char* kMainWindowClass = kProgramName;
// Posted by a second start of the program to the running one.
inline constexpr UINT kMsgSecondInstance = 0x1400;

class TfrmMain final : public Form {
 public:
  // `context` and `preferences` as start-up prepared them (StartUp).
  // `endsProgram`: closing the window ends the message loop (false in tests).
  TfrmMain(AppContext& context, Preferences preferences, bool endsProgram = true);
  // A window still open is destroyed while this class can still handle its
  // WM_DESTROY (autoplay and the tray icon are given back).
  ~TfrmMain() override;
  // Creates the window, its menus and controls, and the tray icon as the
  // preferences say.
  void Create();
  // The window should open minimized (started from the Run entry).
  bool StartMinimized() const { return m_preferences.StartMinimized(); }
  // Where web pages and e-mails go (a recording shell in tests).
  void UseShell(ShellLauncher& shell) { m_shell = &shell; }
  // What adds the tray icon (a failing shell in tests); before Create.
  void UseTrayShell(TrayIcon::ShellNotify notify) { m_trayIcon.UseShell(notify); }
  // Shows the window for the first time: minimized when started from the Run
  // entry, maximized when it was left so, else as `showCommand` asks.
  void Show(int showCommand);
  // Restores the program if it is minimized and brings it to the front.
  void ShowApplication();
  // Minimizes the whole program; without "Show in Task Bar" it is then
  // reachable through the tray icon only.
  void MinimizeApplication();

  // The commands the tests reach.
  Action ActAdd;
  // Toggles: checked while on.
  Action ActConsecutive;
  Action ActPromptOnExit;
  bool ConsecutiveMode() const { return m_consecutive; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The window's icons at the new DPI.
  void OnDpiChanged() override;

 private:
  void BuildCommands();
  void BuildMenu();
  void BuildControls();
  void AddDiscSequence();
  // The drive chooser, then the add-disc dialog for the drive or folder chosen.
  void AddDriveOrFolder();
  void ToggleConsecutive();
  // Opens or closes the read device's tray.
  void MoveTray(void (*move)(char letter));
  void TogglePreference(void (Preferences::*toggle)());
  // The tray icon and the task-bar button follow the preferences.
  void ApplyPreferences();
  void OnTrayNotice(UINT mouseMessage);
  void ShowTrayMenu();
  void OnActivate(WPARAM wParam, LPARAM lParam);
  // Whether Windows' autoplay is to be held off now, as the shell asks the
  // foreground window before it starts a player.
  bool CancelsAutoplay() const;
  // The task-bar button follows "Show in Task Bar", and stands in for a tray
  // icon that the shell has not taken yet, so that the program is reachable.
  void UpdateTaskBarButton();
  bool CloseAllowed();

  AppContext& m_context;
  bool m_endsProgram;
  HMENU m_menu = nullptr;  // the window destroys it
  Button m_btnPlus;
  Button m_btnSearch;
  Button m_btnOpenCD;
  Button m_btnCloseCD;
  CheckBox m_btnConsecutive;
  ShellLauncher* m_shell = &SystemShell();
  Preferences m_preferences;
  WindowIcons m_windowIcons;
  TrayIcon m_trayIcon;
  TaskBarButton m_taskBarButton;
  MenuHandle m_trayMenu;
  // The release that ends a double click on the tray icon must not show the
  // program again just after the double click minimized it.
  bool m_skipTrayRelease = false;
  bool m_consecutive = false;  // discs follow one another until a wait is cancelled
  bool m_sessionEnding = false;
  bool m_everActivated = false;
  bool m_autoplayHeldOff = false;
};

}  // namespace discovel
