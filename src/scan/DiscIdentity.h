#pragma once
// Whether the disc in a drive is the one an archive was made of. Adding a
// disc names its archive by the checksum of the disc's listing, so walking
// the disc again and comparing that checksum with the archive's file name
// recognises it, whatever its files' names.
#include <string>
#include <string_view>

#include "catalog/ArchiveFile.h"
#include "platform/FileSystem.h"
#include "platform/UiPump.h"

namespace discovel {

// True when the listing of the disc at `discRoot` ("D:\") names the archive
// at `archivePath` ("...\-1234.dat"). Walks the whole disc, pumping, and
// leaves the hostage file alone. False when the walk was stopped (the
// application is ending) or the disc is another.
bool DiscHoldsArchive(FileSystem& fs, UiPump& pump, std::string_view discRoot, std::string_view archivePath);

// The one comparison: the listing's checksum against the archive file's
// name without its folder and ".dat", in any letter case.
bool ListingNamesArchive(const ArchiveLines& listing, std::string_view archivePath);

}  // namespace discovel
