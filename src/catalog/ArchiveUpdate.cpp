#include "catalog/ArchiveUpdate.h"

#include <limits>

#include "catalog/ArchiveSource.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

ArchiveKeys KeysForUpdate(const ArchiveText& archived, ArchiveKeys fresh) {
  fresh.mark = archived.ReadKey(kAMark);
  fresh.location = archived.ReadKey(kALocation);
  fresh.note = archived.ReadKey(kANote);
  // A number that is none keeps the one the walk was given.
  const auto number = ParseInt64(archived.ReadKey(kANumber));
  if (number && *number >= 0 && *number <= std::numeric_limits<std::int32_t>::max()) {
    fresh.number = static_cast<std::int32_t>(*number);
  }
  fresh.source = SourceFromKeys([&](std::string_view key) { return archived.FindKey(key); });
  return fresh;
}

UpdateResult WriteUpdatedArchive(FileSystem& fs, const TextServices& text, const std::string& archivePath,
                                 const ArchiveLines& updated, std::string_view checksum) {
  const std::string target = FolderOf(archivePath) + std::string(checksum) + ".dat";
  if (EqualsIgnoreAsciiCase(target, archivePath)) {
    updated.Save(fs, archivePath, text);
    return {UpdateOutcome::kReplaced, archivePath};
  }
  if (fs.FileExists(target)) return {UpdateOutcome::kNameTaken, target};
  updated.Save(fs, target, text);
  const bool removed = fs.RemoveFile(archivePath);
  return {removed ? UpdateOutcome::kRenamed : UpdateOutcome::kOldFileKept, target};
}

}  // namespace discovel
