#pragma once
// Bringing an archive up to date with a new walk of its disc or drive: the
// archive that adding the disc afresh would write, with the old archive's
// mark, location, note, number and source kept, under the name of its new
// listing's checksum, so that adding the changed disc later knows it.
#include <string>
#include <string_view>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// `fresh` (the keys adding the walk afresh makes) with AMark, ALocation,
// ANote and ANumber as the archive stores them, and the archive's source. The
// last check's keys are not kept: they describe the old contents.
ArchiveKeys KeysForUpdate(const ArchiveText& archived, ArchiveKeys fresh);

enum class UpdateOutcome {
  kReplaced,    // the name stayed: one replace of the file
  kRenamed,     // written under the new name, the old file removed
  kOldFileKept, // written under the new name, but the old file is still there
  kNameTaken,   // another archive has the new name: nothing written
};

struct UpdateResult {
  UpdateOutcome outcome = UpdateOutcome::kNameTaken;
  std::string path;  // the up-to-date archive; for kNameTaken the archive that has its name
};

// Writes `updated` as "<checksum>.dat" beside `archivePath` first, and only
// then removes the old file. Throws FileError when the new file cannot be
// written; the old one is then untouched.
UpdateResult WriteUpdatedArchive(FileSystem& fs, const TextServices& text, const std::string& archivePath,
                                 const ArchiveLines& updated, std::string_view checksum);

// Said with the old file's path after kOldFileKept.
inline constexpr std::string_view kMsgOldArchiveKept =
    "The archive is up to date, but its earlier file could not be removed: ";

}  // namespace discovel
