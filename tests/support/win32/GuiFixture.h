#pragma once
// What the window tests share: a clean registry of the program, a fresh
// catalogue folder, the read device D: of the test prefix with a chosen disc,
// and the context the windows get, over the real registry and file system.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"
#include "support/TempFolder.h"
#include "support/TestDrive.h"

namespace discovel::test {

class GuiFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A disc with readme.txt in its root and Music\a.mp3.
  void InsertFixtureDisc();
  // Adds the disc in the drive through the add-disc dialog under the
  // proposed mark, as the user does: the archive saved ("" for none).
  std::string AddDiscUnderProposedMark();
  std::string Setting(const char* name);
  void PresetSetting(const char* name, const char* value);
  // The archive files (*.dat) now in the catalogue folder.
  int ArchiveCount();

  TempFolder catalog;
  std::optional<TestDrive> drive;
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}, {catalog.Path(), 'D'}};
};

}  // namespace discovel::test
