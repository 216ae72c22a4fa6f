#pragma once
// The rules of the read-device dialog that need no window: which drives it
// lists and marks, and what its OK stores.
#include <optional>
#include <string>
#include <vector>

#include "drives/DriveQueries.h"
#include "settings/Settings.h"

namespace discovel {

struct DeviceItem {
  std::string caption;  // the drive's root path, "D:\"
  bool marked = false;  // shows the default drive's picture
};

// Every letter A to Z whose root the platform calls a CD-ROM, in letter order;
// the logical-drive mask is not asked. The item whose letter is `readDevice`
// (either case) is marked.
std::vector<DeviceItem> ListCdRomDevices(DriveQueries& drives, char readDevice);

// The letter OK stores: the first character of the first marked item, in list
// order; nullopt when none is marked.
std::optional<char> MarkedDevice(const std::vector<DeviceItem>& itemsInListOrder);

// Makes `letter` the read device for this run and for the next ones.
void StoreReadDevice(Settings& settings, char& readDevice, char letter);

}  // namespace discovel
