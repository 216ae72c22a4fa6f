#pragma once
// The main window's entries Tools > Backup / Restore: each asks for a zip file
// through the file dialog, does its work with a progress window and tells the
// outcome. Failures show the standard error box; nothing escapes.
#include <windows.h>

#include <string>

#include "platform/AppContext.h"

namespace discovel {

// "Backup Archives to File"
void BackupArchives(AppContext& context, HWND owner);
// "Restore Archives from File": replaces the catalogue after a Yes.
void RestoreArchives(AppContext& context, HWND owner);
// "Merge Archives from File": adds the archives the catalogue lacks.
void MergeArchives(AppContext& context, HWND owner);

// The same with the file already chosen.
void BackupArchivesTo(AppContext& context, HWND owner, const std::string& zipPath);
void RestoreArchivesFrom(AppContext& context, HWND owner, const std::string& zipPath);
void MergeArchivesFrom(AppContext& context, HWND owner, const std::string& zipPath);

}  // namespace discovel
