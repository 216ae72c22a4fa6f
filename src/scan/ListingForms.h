#pragma once
// The forms a disc's listing takes in archives. This version saves today's
// stored form (names trimmed of blanks) in the code page when all of it fits
// there, byte for byte what earlier versions wrote, and otherwise every name
// exactly, in UTF-8. Earlier versions read names through the code page: a
// name outside it became look-alikes and "?", and a folder so named could not
// be listed at all; a disc they archived is known by that lossy form.
#include <cstddef>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "platform/TextServices.h"
#include "scan/FolderScanner.h"

namespace discovel {

struct ListingToSave {
  ArchiveLines lines;  // its encoding set: the code page, or UTF-8
  std::string bytes;   // the listing as saved, which its checksum runs over
};
ListingToSave ListingForSaving(const FolderScanner& walk, const TextServices& text);

// A name or folder line in the form an archive in the code page holds it:
// through the code page's look-alikes and "?", read back as UTF-8.
std::string AsStoredThroughCodePage(std::string_view utf8, const TextServices& text);

// The listing's bytes as a version that read names through the code page
// stored them, with the file times as this version packs them or (formerTimes)
// as versions that took today's offset for every file did.
std::string LossyCodePageListing(const FolderScanner& walk, const TextServices& text, bool formerTimes);

}  // namespace discovel
