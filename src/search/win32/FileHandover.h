#pragma once
// Handing a found file to the user: on the clipboard for pasting in the file
// manager, or opened with its associated program.
#include <string>

namespace discovel {

// Replaces the clipboard's contents with a one-file drop list (CF_HDROP) of
// `path`. Throws AppError "Could not allocate memory." when the block cannot
// be had, and AppError when the clipboard cannot be opened.
void PutFileOnClipboard(const std::string& path);

// Opens the file with the shell's default verb; what the shell answers is
// not looked at.
void OpenWithShell(const std::string& path);

}  // namespace discovel
