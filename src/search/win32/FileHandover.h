#pragma once
// Handing a found file to the user on the clipboard, for pasting in the file
// manager.
#include <windows.h>

#include <string>

namespace discovel {

// Replaces the clipboard's contents with a one-file drop list (CF_HDROP) of
// the UTF-8 `path` in wide characters, with `owner` as the clipboard's owner. False when the clipboard
// stayed busy (another program holding it open) or refused the data. Throws
// AppError "Could not allocate memory." when the block cannot be had.
bool PutFileOnClipboard(HWND owner, const std::string& path);

}  // namespace discovel
