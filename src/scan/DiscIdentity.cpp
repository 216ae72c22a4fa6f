#include "scan/DiscIdentity.h"

#include "catalog/CatalogQueries.h"
#include "catalog/ListingChecksum.h"
#include "catalog/TextUtil.h"

namespace discovel {

std::vector<std::string> ListingChecksumsOf(const FolderScanner& walk) {
  std::vector<std::string> checksums{ListingChecksumOfText(walk.Listing().Text())};
  if (const std::optional<std::string> former = walk.FormerListingText()) {
    std::string checksum = ListingChecksumOfText(*former);
    if (checksum != checksums.front()) checksums.push_back(std::move(checksum));
  }
  return checksums;
}

bool ArchiveNamedByChecksum(std::string_view archivePath, const std::vector<std::string>& checksums) {
  const std::size_t cut = archivePath.find_last_of("\\/");
  const std::string_view name = cut == std::string_view::npos ? archivePath : archivePath.substr(cut + 1);
  for (const std::string& checksum : checksums) {
    if (EqualsIgnoreAsciiCase(name, checksum + ".dat")) return true;
  }
  return false;
}

std::optional<std::string> FindArchiveByChecksum(FileSystem& fs, std::string_view catalogFolder,
                                                 const std::vector<std::string>& checksums) {
  for (const std::string& checksum : checksums) {
    std::optional<std::string> found;
    WalkCatalog(fs, catalogFolder, checksum + ".dat", [&](const std::string& path) {
      if (!found) found = path;
    });
    if (found) return found;
  }
  return std::nullopt;
}

bool DiscHoldsArchive(FileSystem& fs, UiPump& pump, std::string_view discRoot, std::string_view archivePath) {
  // Without settings: the walk must not take the disc for the one added last.
  FolderScanner scanner(fs, pump);
  if (!scanner.Scan(discRoot) || !scanner.UnlistedFolders().empty()) return false;
  return ArchiveNamedByChecksum(archivePath, ListingChecksumsOf(scanner));
}

}  // namespace discovel
