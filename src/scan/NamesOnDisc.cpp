#include "scan/NamesOnDisc.h"

#include <vector>

#include "catalog/TextUtil.h"

namespace discovel {
namespace {

std::vector<std::string_view> Components(std::string_view directory, std::string_view file) {
  std::vector<std::string_view> parts;
  if (directory != "\\") {
    while (!directory.empty()) {
      const std::size_t cut = directory.find('\\');
      parts.push_back(directory.substr(0, cut));
      if (cut == std::string_view::npos) break;
      directory.remove_prefix(cut + 1);
    }
  }
  parts.push_back(file);
  return parts;
}

// The entries of `folder` that are `part` once both are trimmed, the one of
// that very name first. Two folders "Photos" and " Photos" may both be there.
std::vector<std::string> EntriesAsOnDisc(FileSystem& fs, const std::string& folder, std::string_view part,
                                         bool wantFolder) {
  std::vector<std::string> names;
  const std::string_view wanted = TrimBlanksAndControls(part);
  fs.ListFolder(folder, "*", [&](const DirEntry& entry) {
    if (entry.isFolder == wantFolder && EqualsIgnoreAsciiCase(TrimBlanksAndControls(entry.name), wanted)) {
      if (entry.name == part) {
        names.insert(names.begin(), entry.name);
      } else {
        names.push_back(entry.name);
      }
    }
    return true;
  });
  return names;
}

std::optional<std::string> FindBelow(FileSystem& fs, const std::string& folder,
                                     const std::vector<std::string_view>& parts, std::size_t next) {
  const bool last = next + 1 == parts.size();
  for (const std::string& name : EntriesAsOnDisc(fs, folder, parts[next], !last)) {
    if (last) return folder + name;
    if (std::optional<std::string> found = FindBelow(fs, folder + name + "\\", parts, next + 1)) return found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindAsOnDisc(FileSystem& fs, std::string_view root, std::string_view directory,
                                        std::string_view file) {
  const std::string plain = IncludeTrailingBackslash(root) + (directory == "\\" ? std::string() : std::string(directory) + "\\") + std::string(file);
  if (fs.FileExists(plain)) return plain;
  return FindBelow(fs, IncludeTrailingBackslash(root), Components(directory, file), 0);
}

}  // namespace discovel
