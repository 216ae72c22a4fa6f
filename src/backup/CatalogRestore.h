#pragma once
// Replaces the whole catalogue with the archives of a backup. Everything is
// unpacked, checked and written into a new folder beside the catalogue first;
// only then does that folder take the catalogue's place, in two renames. Any
// failure before that leaves the catalogue exactly as it was.
#include <string>
#include <string_view>

#include "backup/BackupFile.h"
#include "backup/BackupProgress.h"
#include "backup/BackupReport.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// The restore's folders beside the catalogue: "Archive.restoring" for the
// archives being unpacked, "Archive.replaced" for the old catalogue while the
// new one takes its place (a number follows when the name is taken).
inline constexpr std::string_view kStagingSuffix = ".restoring";
inline constexpr std::string_view kReplacedSuffix = ".replaced";

// `backup` holds at least one archive (the caller refuses an empty one).
// Throws AppError or FileError, having removed what it made; when neither the
// new catalogue could move in nor the old one back, the message says where
// the old one is.
BackupReport RestoreCatalog(FileSystem& fs, const TextServices& text, const std::string& catalogFolder, const BackupFile& backup,
                            const BackupPacing& pacing);

// At start-up: when the catalogue folder is missing because a restore could
// move neither the new catalogue in nor the old one back, the old one (the
// latest "Archive.replaced" folder) takes its place again. True when it did.
bool RecoverReplacedCatalog(FileSystem& fs, const std::string& catalogFolder);

}  // namespace discovel
