#pragma once
// The pictures of the browser's rows: the shell's folder and file.
#include <windows.h>

#include <commctrl.h>

namespace discovel {

inline constexpr int kFolderPicture = 0;
inline constexpr int kFilePicture = 1;

// A list of small pictures at `dpi`, folder then file; the caller destroys it.
HIMAGELIST CreateFolderPictures(UINT dpi);

}  // namespace discovel
