#pragma once
// The archives a window may be narrowed to, by their marks as the searches
// name them: trimmed, and "Unknown" for an archive without one.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// Every mark under `folder` once, in the locale's order. An archive that
// cannot be read is left out: the search that follows names it.
std::vector<std::string> ArchiveMarkChoices(FileSystem& fs, const TextServices& text, std::string_view folder,
                                            const std::string& mask);

}  // namespace discovel
