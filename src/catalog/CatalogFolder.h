#pragma once
// Where the catalogue lives: the folder "Archive\" beside the program file.
#include <string>
#include <string_view>

namespace discovel {

// "C:\Tools\discovel.exe" gives "C:\Tools\Archive\".
std::string CatalogFolderFor(std::string_view programPath);

// The catalogue folder of this run, set when the main window is created.
const std::string& CatalogFolder();
void SetCatalogFolder(std::string folder);

}  // namespace discovel
