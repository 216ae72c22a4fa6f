#pragma once
// The file entries of a loaded archive, as its keys describe them.
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"

namespace discovel {

// AFiles entries (none when the key is empty), APars lines apart (4 when
// empty). Throws AppError naming `path` when a key is no number, the stride is
// below 1 or an entry lies past the end of the file.
std::vector<EntryView> ListArchiveEntries(const ArchiveText& archive, const std::string& path);

}  // namespace discovel
