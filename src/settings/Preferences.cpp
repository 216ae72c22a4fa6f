#include "settings/Preferences.h"

#include "platform/TextServices.h"
#include "settings/SettingsNames.h"

namespace discovel {

using names::kKeySwitches;

Preferences::Preferences(Settings& store, std::string programPath)
    : m_store(store), m_programPath(std::move(programPath)) {}

std::string Preferences::RunCommandLine() const {
  return "\"" + m_programPath + "\" " + std::string(names::kRunArgument);
}

void Preferences::Restore(Settings& reader, const TextServices& text, int argumentCount) {
  m_checks = PreferenceChecks{};
  // Letter case aside, the entry must start this very program with its tag.
  const std::string run = reader.ReadString(names::kKeyRun, names::kRunValue);
  m_checks.runAtStartUp = !run.empty() && text.ToUpper(run) == text.ToUpper(RunCommandLine());
  m_checks.promptOnExit = !SwitchIsSet(reader, kKeySwitches, names::kPromptOnExit);
  m_checks.runMinimized = !SwitchIsSet(reader, kKeySwitches, names::kStartUpRunMinimized);
  m_startMinimized = m_checks.runMinimized && argumentCount > 0;
  m_checks.showTrayIcon = !SwitchIsSet(reader, kKeySwitches, names::kShowTrayIconOff);
  m_checks.showInTaskBar = SwitchIsSet(reader, kKeySwitches, names::kShowInTaskBarOn);
  // Both off would leave a hidden program no one can reach: the icon comes
  // back, and the stored value stays as it is until the user changes it.
  if (!m_checks.showTrayIcon && !m_checks.showInTaskBar) m_checks.showTrayIcon = true;
}

void Preferences::ToggleRunAtStartUp() {
  m_checks.runAtStartUp = !m_checks.runAtStartUp;
  if (m_checks.runAtStartUp) {
    m_store.WriteString(names::kKeyRun, names::kRunValue, RunCommandLine());
  } else {
    m_store.DeleteValue(names::kKeyRun, names::kRunValue);
  }
}

void Preferences::ToggleRunMinimized() {
  m_checks.runMinimized = !m_checks.runMinimized;
  StoreSwitch(m_store, kKeySwitches, names::kStartUpRunMinimized, !m_checks.runMinimized);
}

void Preferences::TogglePromptOnExit() {
  m_checks.promptOnExit = !m_checks.promptOnExit;
  StoreSwitch(m_store, kKeySwitches, names::kPromptOnExit, !m_checks.promptOnExit);
}

void Preferences::ToggleShowTrayIcon() {
  m_checks.showTrayIcon = m_checks.showTrayIcon != m_checks.showInTaskBar;
  StoreSwitch(m_store, kKeySwitches, names::kShowTrayIconOff, !m_checks.showTrayIcon);
}

void Preferences::ToggleShowInTaskBar() {
  m_checks.showInTaskBar = m_checks.showInTaskBar != m_checks.showTrayIcon;
  StoreSwitch(m_store, kKeySwitches, names::kShowInTaskBarOn, m_checks.showInTaskBar);
}

}  // namespace discovel
