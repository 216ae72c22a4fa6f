#pragma once
// Adds to the catalogue the archives of a backup that it lacks. The same file
// name means the same disc (it is the listing's checksum), in whichever
// folder, so an archive already there is kept as it is and reported. An
// added archive whose mark another archive carries gets a free mark
// ("CD 7 (2)"), so marks stay unique.
#include <string>

#include "backup/BackupFile.h"
#include "backup/BackupProgress.h"
#include "backup/BackupReport.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// Every archive of the backup is unpacked and checked before the first one is
// added, so a damaged backup changes nothing. Throws AppError or FileError.
BackupReport MergeCatalog(FileSystem& fs, const TextServices& text, const std::string& catalogFolder,
                          const BackupFile& backup, const BackupPacing& pacing);

}  // namespace discovel
