#pragma once
// The five preferences of the main window's Tools > Preferences menu, kept as
// their check marks and mirrored to the settings store on every change. The
// tray icon and the task-bar button are coupled: at least one stays on, and the
// item of the one that is on alone cannot be switched off.
#include <string>

#include "settings/Settings.h"

namespace discovel {

class TextServices;

struct PreferenceChecks {
  bool runAtStartUp = false;
  bool runMinimized = true;  // takes effect at the next start only
  bool promptOnExit = true;
  bool showTrayIcon = true;
  bool showInTaskBar = false;
};

class Preferences {
 public:
  // `programPath`: the running program, whose start-up command line the Run
  // entry holds.
  Preferences(Settings& store, std::string programPath);

  // Reads the stored preferences through `reader` (which may forgive a value
  // of the wrong type). `argumentCount`: the command-line arguments of this
  // start; any argument counts as a start from the Run entry.
  void Restore(Settings& reader, const TextServices& text, int argumentCount);

  const PreferenceChecks& Checks() const { return m_checks; }
  bool StartMinimized() const { return m_startMinimized; }
  // Only the item of a switch whose partner is on may be switched.
  bool ShowTrayIconEnabled() const { return m_checks.showInTaskBar; }
  bool ShowInTaskBarEnabled() const { return m_checks.showTrayIcon; }

  // Each flips its check (the coupled two only while the partner is on) and
  // stores the new state at once.
  void ToggleRunAtStartUp();
  void ToggleRunMinimized();
  void TogglePromptOnExit();
  void ToggleShowTrayIcon();
  void ToggleShowInTaskBar();

  // A double quote, the program's path, a double quote, a blank and "tag".
  std::string RunCommandLine() const;

 private:
  Settings& m_store;
  std::string m_programPath;
  PreferenceChecks m_checks;
  bool m_startMinimized = false;
};

}  // namespace discovel
