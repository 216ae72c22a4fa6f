#pragma once
// The main window's two file dialogs for backups: zip files only.
#include <windows.h>

#include <optional>
#include <string>

namespace discovel {

// Asks before replacing an existing file. nullopt when the user cancelled.
std::optional<std::string> AskZipToSave(HWND owner, const std::string& proposedName);
std::optional<std::string> AskZipToOpen(HWND owner);

}  // namespace discovel
