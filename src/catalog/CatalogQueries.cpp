#include "catalog/CatalogQueries.h"

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/ArchiveSource.h"
#include "catalog/CatalogFolder.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/FolderTrail.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

using OnEntry = std::function<void(const std::string&, const DirEntry&)>;

bool WalkFolder(FileSystem& fs, FolderTrail& trail, const std::string& folder, const std::string& mask,
                const OnEntry& onArchive, const WalkPacing* pacing) {
  fs.ListFolder(folder, mask, [&](const DirEntry& entry) {
    if (!entry.isFolder) onArchive(folder + entry.name, entry);
    if (pacing) pacing->pump.Pump();
    return true;
  });
  if (pacing) {
    if (pacing->stopRequested() || pacing->pump.Terminated()) return false;
    pacing->pump.Pump();
  }
  bool goOn = true;
  fs.ListFolder(folder, "*.*", [&](const DirEntry& entry) {
    if (!entry.isFolder) return true;
    const std::string subfolder = folder + entry.name + '\\';
    goOn = trail.Enter(subfolder, entry.fileNumber, [&] { return WalkFolder(fs, trail, subfolder, mask, onArchive, pacing); });
    return goOn;
  });
  return goOn;
}

bool Walk(FileSystem& fs, std::string_view folder, const std::string& mask, const OnEntry& onArchive,
          const WalkPacing* pacing) {
  const std::string root = IncludeTrailingBackslash(folder);
  FolderTrail trail(fs, root);
  return WalkFolder(fs, trail, root, mask, onArchive, pacing);
}

}  // namespace

void WalkCatalog(FileSystem& fs, std::string_view folder, const std::string& mask,
                 const std::function<void(const std::string& archivePath)>& onArchive) {
  Walk(fs, folder, mask, [&](const std::string& path, const DirEntry&) { onArchive(path); }, nullptr);
}

void WalkCatalogEntries(FileSystem& fs, std::string_view folder, const std::string& mask,
                        const std::function<void(const std::string& archivePath, const DirEntry& entry)>& onArchive) {
  Walk(fs, folder, mask, onArchive, nullptr);
}

bool WalkCatalog(FileSystem& fs, std::string_view folder, const std::string& mask,
                 const std::function<void(const std::string& archivePath)>& onArchive, const WalkPacing& pacing) {
  return Walk(fs, folder, mask, [&](const std::string& path, const DirEntry&) { onArchive(path); }, &pacing);
}

bool WalkCatalogEntries(FileSystem& fs, std::string_view folder, const std::string& mask,
                        const std::function<void(const std::string& archivePath, const DirEntry& entry)>& onArchive,
                        const WalkPacing* pacing) {
  return Walk(fs, folder, mask, onArchive, pacing);
}

std::string ReadArchiveKey(FileSystem& fs, const TextServices& text, const std::string& archivePath,
                           std::string_view key) {
  return ArchiveText::LoadKeyBlock(fs, archivePath, text).ReadKey(key);
}

namespace {

// An archive whose key block cannot be read fails the query.
[[noreturn]] void FailQuery(const std::string&, const AppError&) { throw; }

}  // namespace

bool MarkExists(FileSystem& fs, const TextServices& text, std::string_view mark,
                std::string_view folder, const std::string& mask) {
  const std::string wanted = text.ToUpper(mark);
  bool found = false;
  // Every archive is still gone through after a hit: an unreadable one fails
  // the query wherever it stands in the walk.
  const auto onArchive = [&](const std::string&, const ArchiveKeyValues& keys) {
    if (found || TrimBlanksAndControls(keys.mark).empty()) return;
    found = text.ToUpper(keys.mark) == wanted;
  };
  WalkArchiveKeys(fs, text, folder, mask, {onArchive, FailQuery});
  return found;
}

ArchiveSource SourceOfKeyValues(const ArchiveKeyValues& keys) {
  return SourceFromKeys([&](std::string_view key) -> std::optional<std::string_view> {
    if (key == kASource) return keys.source;
    if (key == kASourcePath) return keys.sourcePath;
    if (key == kAVolumeSerial) return keys.volumeSerial;
    if (key == kAVolumeLabel) return keys.volumeLabel;
    return std::nullopt;
  });
}

std::optional<ArchiveOfSource> FindArchiveOfSource(FileSystem& fs, const TextServices& text, std::string_view folder,
                                                   const ArchiveSource& source) {
  std::optional<ArchiveOfSource> found;
  const auto onArchive = [&](const std::string& path, const ArchiveKeyValues& keys) {
    if (!found && IsSameSource(SourceOfKeyValues(keys), source)) found = ArchiveOfSource{path, keys.mark};
  };
  WalkArchiveKeys(fs, text, folder, kArchiveMask, {onArchive, [](const std::string&, const AppError&) {}});
  return found;
}

std::optional<ArchiveOfMark> FindArchiveOfMark(FileSystem& fs, const TextServices& text, std::string_view folder,
                                               std::string_view mark) {
  const std::string wanted = text.ToUpper(TrimBlanksAndControls(mark));
  std::optional<ArchiveOfMark> found;
  const auto onArchive = [&](const std::string& path, const ArchiveKeyValues& keys) {
    if (!found && text.ToUpper(TrimBlanksAndControls(keys.mark)) == wanted) found = ArchiveOfMark{path, keys};
  };
  WalkArchiveKeys(fs, text, folder, kArchiveMask, {onArchive, [](const std::string&, const AppError&) {}});
  return found;
}

ArchiveSource SourceOfMark(FileSystem& fs, const TextServices& text, std::string_view folder, std::string_view mark) {
  const std::optional<ArchiveOfMark> found = FindArchiveOfMark(fs, text, folder, mark);
  return found ? SourceOfKeyValues(found->keys) : ArchiveSource{};
}

std::int32_t HighestArchiveNumber(FileSystem& fs, const TextServices& text, std::string_view folder,
                                  const std::string& mask) {
  std::int32_t highest = 0;
  std::int32_t archives = 0;
  const auto onArchive = [&](const std::string&, const ArchiveKeyValues& keys) {
    const auto number = ParseInt32(TrimBlanksAndControls(keys.number));
    if (number && *number > highest) highest = *number;
    ++archives;
  };
  WalkArchiveKeys(fs, text, folder, mask, {onArchive, FailQuery});
  return highest != 0 ? highest : archives;
}

}  // namespace discovel
