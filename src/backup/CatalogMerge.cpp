#include "backup/CatalogMerge.h"

#include "backup/FolderTree.h"
#include "backup/UniqueMarks.h"
#include "catalog/ArchiveFile.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

// Writes the archive, with a free mark when its own is taken; returns the
// report's line for it.
std::string AddArchive(FileSystem& fs, const std::string& path, const std::string& relative, std::string data,
                       UniqueMarks& marks) {
  const std::string mark = ArchiveText(data).ReadKey(kAMark);
  const std::string freeMark = marks.FreeMarkFor(mark);
  marks.Add(freeMark);
  if (!fs.CreateFolders(ParentFolder(path))) throw FileError("Cannot create the folder of \"" + path + "\".");
  if (freeMark == mark) {
    fs.WriteFileReplacing(path, data);
    return relative;
  }
  // Only the key line changes; the file entries stay as they are.
  ArchiveLines lines = ArchiveLines::FromText(data);
  lines.SetKey(kAMark, freeMark);
  lines.Save(fs, path);
  return relative + " (its mark \"" + mark + "\" was taken; it is now \"" + freeMark + "\")";
}

}  // namespace

BackupReport MergeCatalog(FileSystem& fs, const TextServices& text, const std::string& catalogFolder,
                          const BackupFile& backup, const BackupPacing& pacing) {
  const auto& archives = backup.Archives();
  const std::size_t steps = 2 * archives.size();
  for (std::size_t i = 0; i < archives.size(); ++i) {
    pacing.Step(i, steps, archives[i].relativePath);
    backup.Extract(archives[i], &pacing.pump);
  }

  const std::string root = IncludeTrailingBackslash(catalogFolder);
  UniqueMarks marks(text);
  marks.AddCatalog(fs, root);
  BackupReport report;
  report.skipped = backup.Refused();
  for (std::size_t i = 0; i < archives.size(); ++i) {
    const std::string& relative = archives[i].relativePath;
    pacing.Step(archives.size() + i, steps, relative);
    const std::string path = root + relative;
    if (fs.FileExists(path)) {
      report.skipped.push_back({relative, "the catalogue holds it already"});
      continue;
    }
    // One archive that cannot be written does not cost the others; the report names it.
    try {
      report.added.push_back(AddArchive(fs, path, relative, backup.Extract(archives[i], &pacing.pump), marks));
    } catch (const AppError& error) {
      report.skipped.push_back({relative, error.what()});
    }
  }
  pacing.Step(steps, steps, "");
  return report;
}

}  // namespace discovel
