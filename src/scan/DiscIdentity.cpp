#include "scan/DiscIdentity.h"

#include "catalog/CatalogQueries.h"
#include "catalog/ListingChecksum.h"
#include "catalog/TextUtil.h"

namespace discovel {

namespace {

void AddIfNew(std::vector<std::string>& checksums, std::string checksum) {
  for (const std::string& known : checksums) {
    if (known == checksum) return;
  }
  checksums.push_back(std::move(checksum));
}

}  // namespace

std::vector<std::string> DiscChecksums::All() const {
  std::vector<std::string> all = current;
  for (const std::string& checksum : lossy) AddIfNew(all, checksum);
  return all;
}

DiscChecksums ChecksumsOfDisc(const FolderScanner& walk, const TextServices& text, const ListingToSave& saved) {
  DiscChecksums checksums;
  checksums.current.push_back(ListingChecksumOfText(saved.bytes));
  if (saved.lines.Encoding() == ArchiveEncoding::CodePage) {
    // Earlier versions wrote this form too, with their times.
    if (const std::optional<std::string> former = walk.FormerListingText()) {
      if (const std::optional<std::string> bytes = text.ToCodePageExactly(*former)) {
        AddIfNew(checksums.current, ListingChecksumOfText(*bytes));
      }
    }
    return checksums;
  }
  for (const bool formerTimes : {false, true}) {
    AddIfNew(checksums.lossy, ListingChecksumOfText(LossyCodePageListing(walk, text, formerTimes)));
  }
  return checksums;
}

std::vector<std::string> ListingChecksumsOf(const FolderScanner& walk, const TextServices& text) {
  return ChecksumsOfDisc(walk, text, ListingForSaving(walk, text)).All();
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

bool DiscHoldsArchive(FileSystem& fs, const TextServices& text, UiPump& pump, std::string_view discRoot,
                      std::string_view archivePath) {
  // Without settings: the walk must not take the disc for the one added last.
  FolderScanner scanner(fs, pump);
  if (!scanner.Scan(discRoot) || !scanner.UnlistedFolders().empty()) return false;
  return ArchiveNamedByChecksum(archivePath, ListingChecksumsOf(scanner, text));
}

}  // namespace discovel
