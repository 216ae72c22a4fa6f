#pragma once
// The pictures of the catalogue list's rows: a disc, or the shell's picture
// of the kind of drive (or a folder) the archive came from.
#include <windows.h>

#include <commctrl.h>

#include "catalog/ArchiveKeys.h"

namespace discovel {

// An image list of `size` x `size` pictures (32 for large icons, 16 for
// small ones; design units) at `dpi`, one per source kind in the order of
// SourceKind; the caller destroys it.
HIMAGELIST CreateDiscPictures(int size, UINT dpi);

// The picture of an archive from a source of `kind`.
inline int SourcePictureOf(SourceKind kind) { return static_cast<int>(kind); }

}  // namespace discovel
