#include "support/win32/GuiFixture.h"

#include <windows.h>

#include "scan/fmScan.h"
#include "scan/fmScanIds.h"
#include "settings/SettingsNames.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {

void GuiFixture::SetUp() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"SoftWare\\VANTRO");
  if (!TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
  drive.emplace();
}

void GuiFixture::TearDown() {
  drive.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, L"SoftWare\\VANTRO");
}

void GuiFixture::InsertFixtureDisc() {
  drive->InsertEmptyDisc();
  drive->AddFile("readme.txt", std::string(1234, 'r'));
  drive->AddFile("Music\\a.mp3", std::string(5000, 'm'));
}

std::string GuiFixture::AddDiscUnderProposedMark() {
  Script script([] {
    HWND scan = WaitForWindow(fmScanIds::kClassName);
    WaitForControlText(scan, fmScanIds::kLblMsg, "Mark the CD/DVD with label: ");
    Click(scan, fmScanIds::kBtnOk);
  });
  return TfrmScan::Execute(context).savedArchive;
}

std::string GuiFixture::Setting(const char* name) {
  return ProgramSettings().ReadString(names::kKeyState, name);
}

void GuiFixture::PresetSetting(const char* name, const char* value) {
  ProgramSettings().WriteString(names::kKeyState, name, value);
}

int GuiFixture::ArchiveCount() {
  int count = 0;
  SystemFileSystem().ListFolder(catalog.Path(), "*.dat", [&](const DirEntry&) { return ++count, true; });
  return count;
}

}  // namespace discovel::test
