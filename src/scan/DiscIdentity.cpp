#include "scan/DiscIdentity.h"

#include "catalog/ListingChecksum.h"
#include "catalog/TextUtil.h"
#include "scan/FolderScanner.h"

namespace discovel {
namespace {

constexpr std::string_view kArchiveExtension = ".dat";

// "C:\Catalog\-1234.dat" -> "-1234"; an archive path that is no ".dat" file keeps its whole name.
std::string_view ArchiveStem(std::string_view archivePath) {
  const std::size_t slash = archivePath.find_last_of('\\');
  std::string_view name = slash == std::string_view::npos ? archivePath : archivePath.substr(slash + 1);
  if (name.size() > kArchiveExtension.size() &&
      EqualsIgnoreAsciiCase(name.substr(name.size() - kArchiveExtension.size()), kArchiveExtension)) {
    name.remove_suffix(kArchiveExtension.size());
  }
  return name;
}

}  // namespace

bool ListingNamesArchive(const ArchiveLines& listing, std::string_view archivePath) {
  return EqualsIgnoreAsciiCase(ListingChecksumOfText(listing.Text()), ArchiveStem(archivePath));
}

bool DiscHoldsArchive(FileSystem& fs, UiPump& pump, std::string_view discRoot, std::string_view archivePath) {
  // Without settings: the walk must not take the disc for the one added last.
  FolderScanner scanner(fs, pump);
  if (!scanner.Scan(discRoot)) return false;
  return ListingNamesArchive(scanner.Listing(), archivePath);
}

}  // namespace discovel
