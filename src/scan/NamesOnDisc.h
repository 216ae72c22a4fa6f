#pragma once
// Archives keep names trimmed of leading and trailing blanks, but a disc may
// have "notes.txt " or a folder " Photos": to open such a file again its
// path is found by the names the disc gives.
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel {

// The path of the file listed under the folder line `directory` ("\" for the
// root) and `file` below `root` ("D:\"), as the disc names it: the plain path
// when a file is there, else the one whose folders and name, trimmed, are
// those listed (letter case aside); nullopt when there is none.
std::optional<std::string> FindAsOnDisc(FileSystem& fs, std::string_view root, std::string_view directory,
                                        std::string_view file);

}  // namespace discovel
