#pragma once
// Where the catalogue lives: the folder "Archive\" beside the program file.
#include <string>
#include <string_view>

namespace discovel {

// "C:\Tools\discovel.exe" gives "C:\Tools\Archive\".
std::string CatalogFolderFor(std::string_view programPath);

// The files of the catalogue tree that are archives.
inline constexpr const char* kArchiveMask = "*.dat";

}  // namespace discovel
