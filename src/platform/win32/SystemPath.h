#pragma once
// A path of the program (UTF-8) in the form every file call gives the
// system: extended length ("\\?\"), made absolute from the current folder.
#include <string>
#include <string_view>

namespace discovel {

// Still UTF-8, for work on its parts.
std::string ExtendedPathOf(std::string_view path);
// For the W functions.
std::wstring SystemPath(std::string_view path);

}  // namespace discovel
