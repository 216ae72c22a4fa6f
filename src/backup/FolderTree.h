#pragma once
// Whole folders for the restore: a free name beside a folder, and removing a
// tree that the restore made or replaced.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel {

// `folder` without its trailing backslash, then `suffix`, then a number from
// 2 when needed: a name beside `folder` that nothing uses yet, so nothing
// left by an earlier run is ever taken over or deleted.
std::string FreeSiblingFolder(FileSystem& fs, std::string_view folder, std::string_view suffix);

// Removes the folder with everything in it; links to folders are removed, not
// entered. False when something stayed.
bool RemoveTree(FileSystem& fs, const std::string& folder);

// The folder that holds `path` (a file), with its trailing backslash.
std::string ParentFolder(std::string_view path);

}  // namespace discovel
