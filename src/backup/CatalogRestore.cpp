#include "backup/CatalogRestore.h"

#include "backup/FolderTree.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

void WriteChecked(FileSystem& fs, const std::string& path, const std::string& data) {
  if (!fs.CreateFolders(ParentFolder(path))) throw FileError("Cannot create the folder of \"" + path + "\".");
  fs.WriteFileReplacing(path, data);
  if (fs.ReadWholeFile(path) != data) throw FileError("The file \"" + path + "\" did not keep what was written.");
}

void FillStaging(FileSystem& fs, const std::string& staging, const BackupFile& backup, const BackupPacing& pacing,
                 BackupReport& report) {
  const auto& archives = backup.Archives();
  for (std::size_t i = 0; i < archives.size(); ++i) {
    pacing.Step(i, archives.size(), archives[i].relativePath);
    WriteChecked(fs, staging + archives[i].relativePath, backup.Extract(archives[i], &pacing.pump));
    report.added.push_back(archives[i].relativePath);
  }
  pacing.Step(archives.size(), archives.size(), "");
}

// The staged folder takes the catalogue's place; the old catalogue goes to `old`.
void Swap(FileSystem& fs, const std::string& catalog, const std::string& staging, const std::string& old) {
  const bool hadCatalog = fs.FolderExists(catalog);
  if (hadCatalog && !fs.RenameFolder(catalog, old)) {
    throw FileError("Cannot replace the catalogue folder \"" + catalog +
                    "\": it is in use (is a file in it open?). The catalogue is unchanged.");
  }
  if (!fs.RenameFolder(staging, catalog)) {
    if (hadCatalog) fs.RenameFolder(old, catalog);
    throw FileError("Cannot move the restored archives into \"" + catalog + "\". The catalogue is unchanged.");
  }
}

}  // namespace

BackupReport RestoreCatalog(FileSystem& fs, const std::string& catalogFolder, const BackupFile& backup,
                            const BackupPacing& pacing) {
  const std::string staging = FreeSiblingFolder(fs, catalogFolder, ".restoring");
  const std::string old = FreeSiblingFolder(fs, catalogFolder, ".replaced");
  BackupReport report;
  report.skipped = backup.Refused();
  try {
    if (!fs.CreateFolders(staging)) throw FileError("Cannot create the folder \"" + staging + "\".");
    FillStaging(fs, staging, backup, pacing, report);
    Swap(fs, catalogFolder, staging, old);
  } catch (...) {
    RemoveTree(fs, staging);
    throw;
  }
  if (fs.FolderExists(old) && !RemoveTree(fs, old)) {
    report.notes.push_back("Some files of the replaced catalogue could not be deleted; they remain in \"" + old + "\".");
  }
  return report;
}

}  // namespace discovel
