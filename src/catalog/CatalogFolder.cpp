#include "catalog/CatalogFolder.h"

#include "catalog/TextUtil.h"

namespace discovel {

std::string CatalogFolderFor(std::string_view programPath) {
  const std::size_t cut = programPath.find_last_of("\\/:");
  const std::string_view folder =
      cut == std::string_view::npos ? std::string_view() : programPath.substr(0, cut + 1);
  return IncludeTrailingBackslash(folder) + "Archive\\";
}

}  // namespace discovel
