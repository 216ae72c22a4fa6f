#pragma once
// A walk over the catalogue's archives that gives each one's key values,
// taking them from the summary of the key blocks where it is current and
// reading the archive where it is not, and that keeps the summary up to date.
#include <functional>
#include <string>
#include <string_view>

#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"

namespace discovel {

struct ArchiveKeyHandlers {
  std::function<void(const std::string& archivePath, const ArchiveKeyValues& keys)> onArchive;
  // An archive whose key block could not be read. Called while the error is
  // being handled, so `throw;` passes it on and ends the walk.
  std::function<void(const std::string& archivePath, const AppError& error)> onUnreadable;
};

// Walks the archives under `folder` in WalkCatalog's order. An archive is
// taken from the summary when its size and last-write time are those its
// entry records and that time lies four seconds or more from the moment the
// archive was read (a file changed soon after it was read could keep both
// where times are two seconds coarse); every other archive is read, an
// unreadable one every time. A summary that cannot be read, or is larger than
// its end line allows, is none. When the walk ends (not stopped, nothing
// thrown), the summary is written again if it changed, or removed when no
// archive is left; when that fails nothing is said. Only the archive mask has a summary: with another mask every archive
// is read and no summary touched. False when the pacing stopped the walk.
bool WalkArchiveKeys(FileSystem& fs, const TextServices& text, std::string_view folder, const std::string& mask,
                     const ArchiveKeyHandlers& handlers, const WalkPacing* pacing = nullptr);

// Brings the summary of `folder` up to date after archives were written,
// removed or restored: only what changed is read. Never throws for a file.
void RefreshKeySummary(FileSystem& fs, const TextServices& text, std::string_view folder);

}  // namespace discovel
