#include "backup/CatalogRestore.h"

#include <algorithm>

#include "backup/FolderTree.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/TextUtil.h"
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
  if (fs.RenameFolder(staging, catalog)) return;
  const std::string cannotMove = "Cannot move the restored archives into \"" + catalog + "\"";
  if (!hadCatalog || fs.RenameFolder(old, catalog)) throw FileError(cannotMove + ". The catalogue is unchanged.");
  throw FileError(cannotMove + ", nor the old catalogue back. It is now in \"" + old +
                  "\"; the program moves it back when it next starts.");
}

}  // namespace

BackupReport RestoreCatalog(FileSystem& fs, const TextServices& text, const std::string& catalogFolder, const BackupFile& backup,
                            const BackupPacing& pacing) {
  const std::string staging = FreeSiblingFolder(fs, catalogFolder, kStagingSuffix);
  const std::string old = FreeSiblingFolder(fs, catalogFolder, kReplacedSuffix);
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
  // The staged folder held archives only: the summary is made anew.
  RefreshKeySummary(fs, text, catalogFolder);
  if (fs.FolderExists(old) && !RemoveTree(fs, old)) {
    report.notes.push_back("Some files of the replaced catalogue could not be deleted; they remain in \"" + old + "\".");
  }
  return report;
}

bool RecoverReplacedCatalog(FileSystem& fs, const std::string& catalogFolder) {
  if (fs.FolderExists(catalogFolder)) return false;
  std::string_view catalog = catalogFolder;
  if (!catalog.empty() && catalog.back() == '\\') catalog.remove_suffix(1);
  const std::string parent = ParentFolder(catalog);
  const std::string base = std::string(catalog.substr(parent.size())) + std::string(kReplacedSuffix);
  // The restore numbers its folder from 2 when an older one is in the way (a
  // half-deleted one, say), so the highest number is the latest.
  std::string latest;
  unsigned long latestNumber = 0;
  fs.ListFolder(parent, base + "*", [&](const DirEntry& entry) {
    const std::string_view name = entry.name;
    const std::string_view number = name.substr(std::min(base.size(), name.size()));
    const bool ours = entry.isFolder && !entry.isLink && EqualsIgnoreAsciiCase(name.substr(0, base.size()), base) &&
                      number.size() < 9 && number.find_first_not_of("0123456789") == std::string_view::npos;
    if (!ours) return true;
    const unsigned long value = number.empty() ? 1 : std::stoul(std::string(number));
    if (value > latestNumber) {
      latestNumber = value;
      latest = entry.name;
    }
    return true;
  });
  return !latest.empty() && fs.RenameFolder(parent + latest, catalogFolder);
}

}  // namespace discovel
