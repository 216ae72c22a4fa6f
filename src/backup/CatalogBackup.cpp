#include "backup/CatalogBackup.h"

#include <vector>

#include "backup/EntryName.h"
#include "backup/FolderTree.h"
#include "backup/ZipWriter.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

// The walk hands out paths alone; the time comes from the file's folder entry.
std::int32_t FileTime(FileSystem& fs, const std::string& path) {
  std::int32_t packed = 0;
  const std::string folder = ParentFolder(path);
  fs.ListFolder(folder, path.substr(folder.size()), [&](const DirEntry& entry) {
    packed = PackDosDateTime(entry.lastWrite);
    return false;
  });
  return packed;
}

}  // namespace

std::size_t BackupCatalog(FileSystem& fs, const std::string& catalogFolder, const std::string& zipPath,
                          const BackupPacing& pacing) {
  const std::string root = IncludeTrailingBackslash(catalogFolder);
  std::vector<std::string> archives;
  WalkCatalog(fs, root, kArchiveMask, [&](const std::string& path) { archives.push_back(path); });
  if (archives.empty()) return 0;

  ZipWriter zip;
  for (std::size_t i = 0; i < archives.size(); ++i) {
    const std::string relative = archives[i].substr(root.size());
    pacing.Step(i, archives.size(), relative);
    zip.Add(ZipNameOf(relative), fs.ReadWholeFile(archives[i]), FileTime(fs, archives[i]), &pacing.pump);
  }
  pacing.Step(archives.size(), archives.size(), "");
  fs.WriteFileReplacing(zipPath, zip.Finish());
  return archives.size();
}

}  // namespace discovel
