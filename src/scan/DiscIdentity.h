#pragma once
// Whether the disc in a drive is the one an archive was made of. Adding a
// disc names its archive by the checksum of the disc's listing, so walking
// the disc again and comparing that checksum with the archive's file name
// recognises it, whatever its files' names. A disc catalogued by a version
// that gave file times today's offset has an archive named by that listing's
// checksum instead, and a disc with names outside the code page, archived by
// a version that read names through it, by the checksum of the names it
// stored: all are asked for.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/UiPump.h"
#include "platform/TextServices.h"
#include "scan/FolderScanner.h"
#include "scan/ListingForms.h"

namespace discovel {

// The checksums an archive of the disc may be named by.
struct DiscChecksums {
  // This version's (the listing as it saves it), then, where it differs, the
  // one of the listing with the times versions that took today's offset gave.
  std::vector<std::string> current;
  // Where a name lies outside the code page: the listing's checksums as
  // versions that read names through the code page stored it.
  std::vector<std::string> lossy;

  std::vector<std::string> All() const;
};
DiscChecksums ChecksumsOfDisc(const FolderScanner& walk, const TextServices& text, const ListingToSave& saved);
// All of them, for the listing the walk gives.
std::vector<std::string> ListingChecksumsOf(const FolderScanner& walk, const TextServices& text);

// Whether `archivePath` is named by one of `checksums` ("<checksum>.dat",
// letter case aside).
bool ArchiveNamedByChecksum(std::string_view archivePath, const std::vector<std::string>& checksums);

// The archive anywhere under `catalogFolder` (subfolders too: merges and
// restores put archives there) named by one of `checksums`, the first
// checksum first; nullopt when there is none.
std::optional<std::string> FindArchiveByChecksum(FileSystem& fs, std::string_view catalogFolder,
                                                 const std::vector<std::string>& checksums);

// True when the listing of the disc at `discRoot` ("D:\") names the archive
// at `archivePath`. Walks the whole disc, pumping, and leaves the hostage file
// alone. False when the walk was stopped (the application is ending), a
// folder could not be listed, or the disc is another.
bool DiscHoldsArchive(FileSystem& fs, const TextServices& text, UiPump& pump, std::string_view discRoot,
                      std::string_view archivePath);

}  // namespace discovel
