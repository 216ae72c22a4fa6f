#pragma once
// The main window: lives for the whole run; closing it ends the program. Every
// piece of work starts from its actions and menus.
#include <string>

#include "platform/AppContext.h"
#include "platform/ProgramName.h"
#include "ui/Action.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace discovel {

// The class a second start of the program looks for.
inline constexpr const char* kMainWindowClass = kProgramName;
// Posted by a second start of the program to the running one.
inline constexpr UINT kMsgSecondInstance = 0x1400;

class TfrmMain final : public Form {
 public:
  // `endsProgram`: closing the window ends the message loop (false in tests).
  TfrmMain(AppContext& context, std::string programPath, bool endsProgram = true);
  // Creates the window and prepares the run: catalogue folder, preferences,
  // the read device. A setting that cannot be read is reported and taken at
  // its default.
  void Create();
  // The window should open minimized (started from the Run entry).
  bool StartMinimized() const { return m_startMinimized; }
  void SetCommandLineArgumentCount(int count) { m_argumentCount = count; }
  void KeyState() override;

  Action ActAdd;
  Action ActSearch;
  Action ActCatalog;
  Action ActOpenCD;
  Action ActCloseCD;
  // Toggles: checked while on.
  Action ActConsecutive;
  Action ActPromptOnExit;
  Action ActRunMinimized;
  bool ConsecutiveMode() const { return ActConsecutive.Checked(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildActions();
  void BuildMenu();
  void BuildControls();
  void RestorePreferences(Settings& settings);
  void AddDiscSequence();
  void ToggleConsecutive();
  void TogglePreference(Action& action, std::string_view switchName);
  void OnActivate(WPARAM wParam, LPARAM lParam);
  bool CloseAllowed();
  void SavePlacement();

  AppContext& m_context;
  std::string m_programPath;
  bool m_endsProgram;
  HMENU m_menu = nullptr;  // the window destroys it
  Hints m_hints;
  Action m_actExit;
  Action m_actMinimize;
  bool m_sessionEnding = false;
  bool m_everActivated = false;
  bool m_startMinimized = false;
  int m_argumentCount = 0;
};

}  // namespace discovel
