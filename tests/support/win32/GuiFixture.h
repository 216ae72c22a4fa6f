#pragma once
// What the window tests share: a clean registry of the program, a fresh
// catalogue folder, the read device D: of the test prefix with a chosen disc.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/TempFolder.h"
#include "support/TestDrive.h"

namespace discovel::test {

class GuiFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A disc with readme.txt in its root and Music\a.mp3.
  void InsertFixtureDisc();
  std::string Setting(const char* name);
  void PresetSetting(const char* name, const char* value);
  // The archive files (*.dat) now in the catalogue folder.
  int ArchiveCount();

  TempFolder catalog;
  std::optional<TestDrive> drive;
};

}  // namespace discovel::test
