#pragma once
// The small pictures of the add-drive chooser: the shell's own icons of a
// removable, a fixed and a network drive, at the list's DPI.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "catalog/ArchiveKeys.h"

namespace discovel {

// An image list of the three icons at the small icon size of `dpi`; the
// caller destroys it. A kind whose icon the shell does not give shows the
// system's plain application icon.
HIMAGELIST CreateDriveIcons(UINT dpi);

// The picture of a drive of `kind` in that list.
int DriveIconOf(SourceKind kind);

// The shell's stock icon `id` at `pixels`, loaded at that size from where
// the shell keeps it rather than stretched; null when there is none. The
// caller destroys it.
HICON LoadStockIcon(SHSTOCKICONID id, int pixels);

}  // namespace discovel
