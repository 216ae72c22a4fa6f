#pragma once
// The drive rules of the program: which drive is the CD/DVD drive, the names of
// drive types, whether a disc can be read, and how the read device is chosen.
#include <string>
#include <string_view>

#include "drives/DriveQueries.h"
#include "settings/Settings.h"

namespace discovel {

// The read device when the machine has no CD/DVD drive.
inline constexpr char kNoDrive = '\0';

// `letter` followed by ":\".
std::string DriveRootPath(char letter);

// The lowest present drive of type CD-ROM, or kNoDrive. Letters absent from the
// logical-drive mask are not asked.
char FirstCdRomDrive(DriveQueries& drives);

// The type name of the drive `letterText` + ":\": "", "1" (no such root),
// "FLOPPY", "LOCAL", "REMOTE", "CD/DVD ROM" or "RAMDISK".
std::string DriveTypeName(DriveQueries& drives, std::string_view letterText);
inline constexpr std::string_view kCdRomTypeName = "CD/DVD ROM";

// True when a readable medium is in the drive; a letter of either case.
// Throws ConvertError("Not a valid drive ID") for anything but a letter.
bool DiscInDrive(DriveQueries& drives, char letter);

// The stored DefaultDeviceDrive's first letter when one is stored, else the
// first CD/DVD drive. The read-device dialog starts from this.
char ReadDeviceFromSettings(Settings& settings, DriveQueries& drives);

// The read device for this run: ReadDeviceFromSettings, but a stored letter
// that no longer names a CD/DVD drive is deleted for good and the first CD/DVD
// drive is used instead.
char ChooseReadDeviceAtStartup(Settings& settings, DriveQueries& drives);

}  // namespace discovel
