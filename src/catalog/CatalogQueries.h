#pragma once
// Questions answered from the archive files of the catalogue folder. Each
// archive is read only as far as its key block, and only when the catalogue's
// summary of the key blocks has no current entry for it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/ArchiveKeys.h"
#include "catalog/KeySummary.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"

namespace discovel {

// Calls `onArchive` with the full path of every file of `folder` matching
// `mask`, then walks each subfolder the same way: the files of a folder come
// before its subfolders. `folder` gets the folder-path rule first. No stop flag.
void WalkCatalog(FileSystem& fs, std::string_view folder, const std::string& mask,
                 const std::function<void(const std::string& archivePath)>& onArchive);
// The same with each archive's folder entry (its size and time), which
// spares asking the file system for them again.
void WalkCatalogEntries(FileSystem& fs, std::string_view folder, const std::string& mask,
                        const std::function<void(const std::string& archivePath, const DirEntry& entry)>& onArchive);

// A walk that keeps the windows alive: messages are pumped after every entry
// the mask lists and before the subfolders of a folder, and the walk stops
// before the next subfolder once `stopRequested` says so or the application
// ends.
struct WalkPacing {
  UiPump& pump;
  std::function<bool()> stopRequested;
};
// As above, paced; false when it stopped early.
bool WalkCatalog(FileSystem& fs, std::string_view folder, const std::string& mask,
                 const std::function<void(const std::string& archivePath)>& onArchive, const WalkPacing& pacing);
// With each archive's folder entry; paced when `pacing` is given, false when it stopped early.
bool WalkCatalogEntries(FileSystem& fs, std::string_view folder, const std::string& mask,
                        const std::function<void(const std::string& archivePath, const DirEntry& entry)>& onArchive,
                        const WalkPacing* pacing);

// Refused when a mark is given that another archive carries.
inline constexpr std::string_view kMsgMarkExists = "The mark already exists!";

// The key's value as stored (not trimmed), decoded; "" when absent. Throws
// FileError, or AppError for an archive of an unknown encoding.
std::string ReadArchiveKey(FileSystem& fs, const TextServices& text, const std::string& archivePath,
                           std::string_view key);

// True when an archive under `folder` carries `mark`, letter case aside.
// Blanks count: neither side is trimmed, and a blank stored mark never matches.
bool MarkExists(FileSystem& fs, const TextServices& text, std::string_view mark,
                std::string_view folder, const std::string& mask);

// The archive under `folder` of the same drive or folder as `source` (same
// volume, same path within it), with its mark; nullopt when none. Archives
// that cannot be read are passed over.
struct ArchiveOfSource {
  std::string path;
  std::string mark;
};
std::optional<ArchiveOfSource> FindArchiveOfSource(FileSystem& fs, const TextServices& text, std::string_view folder,
                                                   const ArchiveSource& source);

// The source that the archive's keys name.
ArchiveSource SourceOfKeyValues(const ArchiveKeyValues& keys);

// The archive under `folder` that carries `mark` (trimmed, letter case
// aside), with its keys; nullopt when none does. Archives that cannot be read
// are passed over.
struct ArchiveOfMark {
  std::string path;
  ArchiveKeyValues keys;
};
std::optional<ArchiveOfMark> FindArchiveOfMark(FileSystem& fs, const TextServices& text, std::string_view folder,
                                               std::string_view mark);

// The source of the archive under `folder` that carries `mark` (trimmed,
// letter case aside); a disc when none does.
ArchiveSource SourceOfMark(FileSystem& fs, const TextServices& text, std::string_view folder, std::string_view mark);

// The highest ANumber under `folder`; when no archive holds a number above 0,
// the count of archives (0 for none).
std::int32_t HighestArchiveNumber(FileSystem& fs, const TextServices& text, std::string_view folder,
                                  const std::string& mask);

}  // namespace discovel
