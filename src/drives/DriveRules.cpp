#include "drives/DriveRules.h"

#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "settings/SettingsNames.h"

namespace discovel {

std::string DriveRootPath(char letter) {
  std::string root(1, letter);
  root += ":\\";
  return root;
}

char FirstCdRomDrive(DriveQueries& drives) {
  const std::uint32_t mask = drives.LogicalDrives();
  for (int bit = 0; bit < 32; ++bit) {
    if ((mask & (std::uint32_t{1} << bit)) == 0) continue;
    const char letter = static_cast<char>('A' + bit);
    if (drives.DriveType(DriveRootPath(letter)) == kDriveCdRom) return letter;
  }
  return kNoDrive;
}

std::string DriveTypeName(DriveQueries& drives, std::string_view letterText) {
  std::string root(letterText);
  root += ":\\";
  switch (drives.DriveType(root)) {
    case kDriveNoRootDir:
      return "1";
    case kDriveRemovable:
      return "FLOPPY";
    case kDriveFixed:
      return "LOCAL";
    case kDriveRemote:
      return "REMOTE";
    case kDriveCdRom:
      return std::string(kCdRomTypeName);
    case kDriveRamDisk:
      return "RAMDISK";
    default:
      return "";
  }
}

bool DiscInDrive(DriveQueries& drives, char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') throw ConvertError("Not a valid drive ID");
  return drives.VolumeTotalSize(letter).has_value();
}

char ReadDeviceFromSettings(Settings& settings, DriveQueries& drives) {
  const std::string stored = settings.ReadString(names::kKeyState, names::kDefaultDeviceDrive);
  const std::string_view trimmed = TrimBlanksAndControls(stored);
  return trimmed.empty() ? FirstCdRomDrive(drives) : trimmed.front();
}

char ChooseReadDeviceAtStartup(Settings& settings, DriveQueries& drives) {
  const char device = ReadDeviceFromSettings(settings, drives);
  if (DriveTypeName(drives, std::string(1, device)) == kCdRomTypeName) return device;
  // Gone or now another kind of drive: forget it for good.
  settings.DeleteValue(names::kKeyState, names::kDefaultDeviceDrive);
  return FirstCdRomDrive(drives);
}

}  // namespace discovel
