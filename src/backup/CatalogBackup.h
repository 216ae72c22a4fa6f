#pragma once
// Writes every archive of the catalogue tree into one zip file.
#include <cstddef>
#include <string>

#include "backup/BackupProgress.h"
#include "platform/FileSystem.h"

namespace discovel {

// The zip keeps each archive's path below the catalogue folder and its time.
// It is written beside `zipPath` and then replaces it in one step. Returns the
// number of archives; 0 writes nothing. Throws AppError or FileError.
std::size_t BackupCatalog(FileSystem& fs, const std::string& catalogFolder, const std::string& zipPath,
                          const BackupPacing& pacing);

}  // namespace discovel
