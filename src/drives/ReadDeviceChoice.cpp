#include "drives/ReadDeviceChoice.h"

#include "drives/DriveRules.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::vector<DeviceItem> ListCdRomDevices(DriveQueries& drives, char readDevice) {
  std::vector<DeviceItem> items;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = DriveRootPath(letter);
    if (drives.DriveType(root) != kDriveCdRom) continue;
    // A stored lower-case letter still names its drive.
    items.push_back({root, AsciiUpper(letter) == AsciiUpper(readDevice)});
  }
  return items;
}

std::optional<char> MarkedDevice(const std::vector<DeviceItem>& itemsInListOrder) {
  for (const DeviceItem& item : itemsInListOrder) {
    if (item.marked && !item.caption.empty()) return item.caption.front();
  }
  return std::nullopt;
}

void StoreReadDevice(Settings& settings, char& readDevice, char letter) {
  settings.WriteString(names::kKeyState, names::kDefaultDeviceDrive, std::string(1, letter));
  readDevice = letter;
}

}  // namespace discovel
