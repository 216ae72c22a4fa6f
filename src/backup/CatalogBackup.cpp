#include "backup/CatalogBackup.h"

#include <vector>

#include "backup/EntryName.h"
#include "backup/ZipWriter.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"

namespace discovel {

std::size_t BackupCatalog(FileSystem& fs, const std::string& catalogFolder, const std::string& zipPath,
                          const BackupPacing& pacing) {
  const std::string root = IncludeTrailingBackslash(catalogFolder);
  struct Archive {
    std::string path;
    std::int32_t time;
  };
  std::vector<Archive> archives;
  WalkCatalogEntries(fs, root, kArchiveMask, [&](const std::string& path, const DirEntry& entry) {
    archives.push_back({path, PackDosDateTime(entry.lastWrite)});
  });
  if (archives.empty()) return 0;

  ZipWriter zip;
  for (std::size_t i = 0; i < archives.size(); ++i) {
    const std::string relative = archives[i].path.substr(root.size());
    pacing.Step(i, archives.size(), relative);
    zip.Add(ZipNameOf(relative), fs.ReadWholeFile(archives[i].path), archives[i].time, &pacing.pump);
  }
  pacing.Step(archives.size(), archives.size(), "");
  fs.WriteFileReplacing(zipPath, zip.Finish());
  return archives.size();
}

}  // namespace discovel
