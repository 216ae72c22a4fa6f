#pragma once
// Where the catalogue lives: the folder "Archive\" beside the program file.
#include <string>
#include <string_view>

namespace discovel {

// "C:\Tools\discovel.exe" gives "C:\Tools\Archive\".
std::string CatalogFolderFor(std::string_view programPath);

}  // namespace discovel
