#pragma once
// What the add-drive chooser returns for the drive or folder the user chose:
// the root that an archive's listing is taken from.
#include <string_view>

#include "catalog/ArchiveKeys.h"
#include "drives/DriveRows.h"

namespace discovel {

// The whole drive of the row: its kind, its root, its volume's serial and label.
ArchiveSource SourceOfDrive(const DriveRow& row);

// A folder on the volume `holder` (the one the system says holds it): a
// folder with its path ending in a backslash and that volume's serial and
// label. The root of a drive or share counts as that drive, of its kind; a
// root of a CD/DVD stays a folder, since discs are the read device's.
ArchiveSource SourceOfFolder(std::string_view folder, const MountedVolume& holder);

// Whether the folder lies on the volume of the root `root` ("E:\" holds
// "e:\Photos"): the system names a volume for a path of a drive it lacks too
// (the boot volume), which must not be taken for the folder's.
bool IsOnVolume(std::string_view folder, std::string_view root);

}  // namespace discovel
