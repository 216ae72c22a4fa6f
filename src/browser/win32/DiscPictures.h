#pragma once
// The picture of a disc that every row of the catalogue list shows.
#include <windows.h>

#include <commctrl.h>

namespace discovel {

// An image list of one `size` x `size` disc (32 for large icons, 16 for
// small ones; design units) drawn at `dpi`; the caller destroys it.
HIMAGELIST CreateDiscPictures(int size, UINT dpi);

}  // namespace discovel
