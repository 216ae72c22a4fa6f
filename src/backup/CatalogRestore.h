#pragma once
// Replaces the whole catalogue with the archives of a backup. Everything is
// unpacked, checked and written into a new folder beside the catalogue first;
// only then does that folder take the catalogue's place, in two renames. Any
// failure before that leaves the catalogue exactly as it was.
#include <string>

#include "backup/BackupFile.h"
#include "backup/BackupProgress.h"
#include "backup/BackupReport.h"
#include "platform/FileSystem.h"

namespace discovel {

// `backup` holds at least one archive (the caller refuses an empty one).
// Throws AppError or FileError, having removed what it made.
BackupReport RestoreCatalog(FileSystem& fs, const std::string& catalogFolder, const BackupFile& backup,
                            const BackupPacing& pacing);

}  // namespace discovel
