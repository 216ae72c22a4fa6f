#pragma once
// Remembering a check in its archive: ALastCheck and ACheckResult in the key
// block, by the key-setting rule, the file replaced in one step. The file
// entries, the other keys and the file's name stay as they are.
#include <string>

#include "check/CheckRow.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "platform/TextServices.h"

namespace discovel {

// Throws AppError naming the archive when it cannot be read or written.
void RecordCheck(FileSystem& fs, const TextServices& text, const std::string& archivePath, const LocalTime& when,
                 const CheckCounts& counts);

}  // namespace discovel
