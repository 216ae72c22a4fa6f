#include "settings/Preferences.h"

#include <gtest/gtest.h>

#include "settings/SettingsNames.h"
#include "support/MemorySettings.h"
#include "support/TestText.h"

namespace discovel {
namespace {

constexpr const char* kProgram = "C:\\Tools\\Discovel\\discovel.exe";

class PreferencesTest : public ::testing::Test {
 protected:
  void SetSwitch(std::string_view name) { settings.WriteString(names::kKeySwitches, name, "T"); }
  bool SwitchSet(std::string_view name) { return !settings.ReadString(names::kKeySwitches, name).empty(); }
  std::string RunValue() { return settings.ReadString(names::kKeyRun, names::kRunValue); }
  void Restore(int arguments = 0) { prefs.Restore(settings, text, arguments); }

  test::MemorySettings settings;
  test::TestText text;
  Preferences prefs{settings, kProgram};
};

TEST_F(PreferencesTest, AFreshInstallationKeepsTheIconAndNoTaskBarButton) {
  Restore();
  const PreferenceChecks& c = prefs.Checks();
  EXPECT_FALSE(c.runAtStartUp);
  EXPECT_TRUE(c.runMinimized);
  EXPECT_TRUE(c.promptOnExit);
  EXPECT_TRUE(c.showTrayIcon);
  EXPECT_FALSE(c.showInTaskBar);
  EXPECT_FALSE(prefs.ShowTrayIconEnabled());
  EXPECT_TRUE(prefs.ShowInTaskBarEnabled());
  EXPECT_FALSE(prefs.StartMinimized());
}

TEST_F(PreferencesTest, OnlyAStartWithArgumentsOpensMinimizedAndOnlyWhileTheSwitchIsOn) {
  Restore(1);
  EXPECT_TRUE(prefs.StartMinimized());
  SetSwitch(names::kStartUpRunMinimized);
  Restore(1);
  EXPECT_FALSE(prefs.Checks().runMinimized);
  EXPECT_FALSE(prefs.StartMinimized());
}

TEST_F(PreferencesTest, TheRunEntryCountsWhenItDiffersOnlyInLetterCase) {
  settings.WriteString(names::kKeyRun, names::kRunValue, "\"c:\\TOOLS\\discovel\\DISCOVEL.EXE\" TAG");
  Restore();
  EXPECT_TRUE(prefs.Checks().runAtStartUp);
  for (const char* other : {"\"C:\\Other\\discovel.exe\" tag", "\"C:\\Tools\\Discovel\\discovel.exe\"",
                            "C:\\Tools\\Discovel\\discovel.exe tag", ""}) {
    settings.WriteString(names::kKeyRun, names::kRunValue, other);
    Restore();
    EXPECT_FALSE(prefs.Checks().runAtStartUp) << other;
  }
}

TEST_F(PreferencesTest, RunAtStartUpWritesAndDeletesTheRunEntry) {
  Restore();
  prefs.ToggleRunAtStartUp();
  EXPECT_EQ(RunValue(), "\"C:\\Tools\\Discovel\\discovel.exe\" tag");
  prefs.ToggleRunAtStartUp();
  EXPECT_FALSE(prefs.Checks().runAtStartUp);
  EXPECT_EQ(RunValue(), "");
  EXPECT_FALSE(settings.DeleteValue(names::kKeyRun, names::kRunValue));
}

TEST_F(PreferencesTest, SwitchesAreStoredOnlyAwayFromTheirDefault) {
  Restore();
  prefs.TogglePromptOnExit();
  prefs.ToggleRunMinimized();
  EXPECT_TRUE(SwitchSet(names::kPromptOnExit));
  EXPECT_TRUE(SwitchSet(names::kStartUpRunMinimized));
  prefs.TogglePromptOnExit();
  prefs.ToggleRunMinimized();
  EXPECT_FALSE(SwitchSet(names::kPromptOnExit));
  EXPECT_FALSE(SwitchSet(names::kStartUpRunMinimized));
  EXPECT_TRUE(prefs.Checks().promptOnExit);
}

TEST_F(PreferencesTest, TheIconAndTheTaskBarButtonNeverBothGoOff) {
  Restore();
  // The icon alone is on: its item does nothing.
  prefs.ToggleShowTrayIcon();
  EXPECT_TRUE(prefs.Checks().showTrayIcon);
  EXPECT_FALSE(SwitchSet(names::kShowTrayIconOff));

  prefs.ToggleShowInTaskBar();
  EXPECT_TRUE(prefs.Checks().showInTaskBar);
  EXPECT_TRUE(SwitchSet(names::kShowInTaskBarOn));
  EXPECT_TRUE(prefs.ShowTrayIconEnabled());

  prefs.ToggleShowTrayIcon();
  EXPECT_FALSE(prefs.Checks().showTrayIcon);
  EXPECT_TRUE(SwitchSet(names::kShowTrayIconOff));
  EXPECT_FALSE(prefs.ShowInTaskBarEnabled());
  // Now the button is on alone.
  prefs.ToggleShowInTaskBar();
  EXPECT_TRUE(prefs.Checks().showInTaskBar);
  EXPECT_TRUE(SwitchSet(names::kShowInTaskBarOn));
}

TEST_F(PreferencesTest, BothStoredOffBringsTheIconBackWithoutRewritingIt) {
  SetSwitch(names::kShowTrayIconOff);
  Restore();
  EXPECT_TRUE(prefs.Checks().showTrayIcon);
  EXPECT_FALSE(prefs.Checks().showInTaskBar);
  EXPECT_TRUE(SwitchSet(names::kShowTrayIconOff));
  SetSwitch(names::kShowInTaskBarOn);
  Restore();
  EXPECT_FALSE(prefs.Checks().showTrayIcon);
  EXPECT_TRUE(prefs.Checks().showInTaskBar);
}

}  // namespace
}  // namespace discovel
