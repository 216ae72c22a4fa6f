#pragma once
// The main window: lives for the whole run; closing it ends the program. Every
// piece of work starts from its actions and menus.
#include <map>
#include <string>

#include "ui/Action.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace discovel {

inline constexpr char kMainWindowClass[] = "Discovel";
// Posted by a second start of the program to the running one.
inline constexpr UINT kMsgSecondInstance = 0x1400;

class TfrmMain final : public Form {
 public:
  // `endsProgram`: closing the window ends the message loop (false in tests).
  explicit TfrmMain(std::string programPath, bool endsProgram = true);
  ~TfrmMain() override;
  // Creates the window and prepares the run: catalogue folder, preferences,
  // the read device.
  void Create();
  const std::string& CatalogFolder() const { return m_catalogFolder; }
  // The window should open minimized (started from the Run entry).
  bool StartMinimized() const { return m_startMinimized; }
  void SetCommandLineArgumentCount(int count) { m_argumentCount = count; }

  Action ActAdd;
  Action ActSearch;
  Action ActCatalog;
  Action ActOpenCD;
  Action ActCloseCD;
  bool ConsecutiveMode() const { return m_consecutive; }
  void ToggleConsecutive();

  // Menu command identifiers, for tests and the tray menu.
  enum MenuId : UINT {
    kMenuAdd = 100,
    kMenuCatalog,
    kMenuExit,
    kMenuSearch,
    kMenuBackup,
    kMenuRestore,
    kMenuMerge,
    kMenuEject,
    kMenuCloseTray,
    kMenuSetDevice,
    kMenuRunAtStartUp,
    kMenuRunMinimized,
    kMenuPromptOnExit,
    kMenuShowTrayIcon,
    kMenuShowInTaskBar,
    kMenuHelp,
    kMenuFaq,
    kMenuHomePage,
    kMenuCheckUpdate,
    kMenuAbout,
    kMenuMoreProducts,
    kMenuNewsletter,
    kMenuAffiliate,
    kMenuTellFriend,
  };

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  void BuildMenu();
  void BuildControls();
  void BindActions();
  void AddDiscSequence();
  void OnActivate(WPARAM wParam, LPARAM lParam);
  bool CloseAllowed();
  void SavePlacement();
  bool MenuChecked(UINT id) const;

  std::string m_programPath;
  bool m_endsProgram;
  std::string m_catalogFolder;
  HMENU m_menu = nullptr;
  HWND m_btnPlus = nullptr;
  HWND m_btnSearch = nullptr;
  HWND m_btnOpenCD = nullptr;
  HWND m_btnCloseCD = nullptr;
  HWND m_btnConsecutive = nullptr;
  Hints m_hints;
  std::map<UINT, Action*> m_commands;
  bool m_consecutive = false;
  bool m_sessionEnding = false;
  bool m_everActivated = false;
  bool m_startMinimized = false;
  int m_argumentCount = 0;
};

// The running main window, or null (the disc wait disables its add action).
extern TfrmMain* frmMain;

}  // namespace discovel
