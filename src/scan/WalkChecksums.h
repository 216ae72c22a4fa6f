#pragma once
// A disc is known by the checksum of its listing, which names its archive
// when it is added. A disc catalogued by a version that gave file times
// today's offset has an archive named by that listing's checksum instead, so
// both are asked for.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/FolderScanner.h"

namespace discovel {

// The checksum of the walk's listing, then, where the former listing differs,
// its checksum.
std::vector<std::string> ListingChecksumsOf(const FolderScanner& walk);

// Whether `archivePath` is named by one of `checksums` ("<checksum>.dat",
// letter case aside).
bool ArchiveNamedByChecksum(std::string_view archivePath, const std::vector<std::string>& checksums);

// The archive anywhere under `catalogFolder` (subfolders too: merges and
// restores put archives there) named by one of `checksums`, the first
// checksum first; nullopt when there is none.
std::optional<std::string> FindArchiveByChecksum(FileSystem& fs, std::string_view catalogFolder,
                                                 const std::vector<std::string>& checksums);

}  // namespace discovel
