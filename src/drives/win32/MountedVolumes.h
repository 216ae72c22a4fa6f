#pragma once
// What the system tells about its mounted volumes, for the add-drive chooser.
#include <optional>
#include <string>
#include <vector>

#include "drives/DriveRows.h"

namespace discovel {

// Every drive letter the system has, in letter order, CD/DVD drives too (the
// rows leave them out). A drive without a readable medium is there with its
// root and type only; none brings up a box asking for a disk.
std::vector<MountedVolume> ListMountedVolumes();
// The same of the one drive at `root` ("E:\"); only its root and type when
// there is none.
MountedVolume VolumeAt(const std::string& root);

// The volume that holds the folder `folder` (a drive's, a share's or one
// mounted in a folder); throws AppError, naming the folder, when the system
// cannot tell it or cannot read that volume.
MountedVolume VolumeHoldingFolder(const std::string& folder);

}  // namespace discovel
