#include "backup/CatalogMerge.h"

#include <map>

#include "backup/FolderTree.h"
#include "backup/UniqueMarks.h"
#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

// An archive is named by its listing's checksum, so one file name is one disc
// whichever folder holds it; names compare as Windows compares file names.
class KnownDiscs {
 public:
  KnownDiscs(FileSystem& fs, const TextServices& text, const std::string& root) : m_text(text) {
    WalkCatalog(fs, root, kArchiveMask, [&](const std::string& path) { Add(path.substr(root.size())); });
  }
  // The relative path of the catalogue's archive of this disc; nullptr when it has none.
  const std::string* Find(std::string_view relative) const {
    const auto found = m_paths.find(Key(relative));
    return found == m_paths.end() ? nullptr : &found->second;
  }
  void Add(const std::string& relative) { m_paths.emplace(Key(relative), relative); }

 private:
  std::string Key(std::string_view relative) const {
    return m_text.ToUpper(relative.substr(relative.find_last_of('\\') + 1));
  }

  const TextServices& m_text;
  std::map<std::string, std::string> m_paths;
};

// Writes the archive, with a free mark when its own is taken; returns the
// report's line for it.
std::string AddArchive(FileSystem& fs, const TextServices& text, const std::string& path, const std::string& relative,
                       std::string data, UniqueMarks& marks) {
  // Read before it is written: an archive of an unknown encoding is refused.
  ArchiveLines lines = ArchiveLines::Decode(data, text, relative);
  const std::string mark = std::string(lines.FindKey(kAMark).value_or(std::string_view()));
  const std::string freeMark = marks.FreeMarkFor(mark);
  marks.Add(freeMark);
  if (!fs.CreateFolders(ParentFolder(path))) throw FileError("Cannot create the folder of \"" + path + "\".");
  if (freeMark == mark) {
    fs.WriteFileReplacing(path, data);
    return relative;
  }
  // Only the key line changes; the file entries stay as they are, and the
  // archive keeps its encoding unless the new mark needs UTF-8.
  lines.SetKey(kAMark, freeMark);
  lines.Save(fs, path, text);
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
  KnownDiscs discs(fs, text, root);
  BackupReport report;
  report.skipped = backup.Refused();
  for (std::size_t i = 0; i < archives.size(); ++i) {
    const std::string& relative = archives[i].relativePath;
    pacing.Step(archives.size() + i, steps, relative);
    if (const std::string* known = discs.Find(relative)) {
      report.skipped.push_back({relative, "the catalogue holds this disc already, as \"" + *known + "\""});
      continue;
    }
    // One archive that cannot be written does not cost the others; the report names it.
    try {
      std::string data = backup.Extract(archives[i], &pacing.pump);
      report.added.push_back(AddArchive(fs, text, root + relative, relative, std::move(data), marks));
      discs.Add(relative);
    } catch (const AppError& error) {
      report.skipped.push_back({relative, error.what()});
    }
  }
  if (!report.added.empty()) RefreshKeySummary(fs, text, root);
  pacing.Step(steps, steps, "");
  return report;
}

}  // namespace discovel
