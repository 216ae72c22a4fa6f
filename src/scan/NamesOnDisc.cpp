#include "scan/NamesOnDisc.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"
#include "scan/ListingForms.h"
#include "text/CaseFold.h"

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

// How well an entry answers the stored name: its very name best, then (for
// the file) its catalogued size and time.
int Closeness(const DirEntry& entry, std::string_view part, const StoredAs& stored, bool isFile) {
  if (entry.name == part) return 3;
  if (!isFile || !stored.size || static_cast<std::int64_t>(entry.size) != *stored.size) return 0;
  const bool sameTime = stored.dosTime && PackDosDateTime(entry.lastWrite) == *stored.dosTime;
  return sameTime ? 2 : 1;
}

// The entries of `folder` that store as `part`, trimmed and letter case
// aside, the closest first. Two folders "Photos" and " Photos" may both be
// there, and "Ā.txt" and "A.txt" store alike in the code page.
std::vector<std::string> EntriesAsOnDisc(FileSystem& fs, const std::string& folder, std::string_view part,
                                         bool wantFolder, const StoredAs& stored) {
  std::vector<std::pair<int, std::string>> found;
  const std::string wanted = casefold::Fold(TrimBlanksAndControls(part));
  fs.ListFolder(folder, "*", [&](const DirEntry& entry) {
    if (entry.isFolder != wantFolder) return true;
    const std::string_view trimmed = TrimBlanksAndControls(entry.name);
    const std::string storedName = stored.codePage ? AsStoredThroughCodePage(trimmed, *stored.codePage)
                                                   : std::string(trimmed);
    if (casefold::Fold(storedName) == wanted) found.emplace_back(Closeness(entry, part, stored, !wantFolder), entry.name);
    return true;
  });
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::string> names;
  for (auto& [closeness, name] : found) names.push_back(std::move(name));
  return names;
}

std::optional<std::string> FindBelow(FileSystem& fs, const std::string& folder,
                                     const std::vector<std::string_view>& parts, std::size_t next,
                                     const StoredAs& stored) {
  const bool last = next + 1 == parts.size();
  for (const std::string& name : EntriesAsOnDisc(fs, folder, parts[next], !last, stored)) {
    if (last) return folder + name;
    if (std::optional<std::string> found = FindBelow(fs, folder + name + "\\", parts, next + 1, stored)) return found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindAsOnDisc(FileSystem& fs, std::string_view root, std::string_view directory,
                                        std::string_view file, const StoredAs& stored) {
  const std::string plain = IncludeTrailingBackslash(root) + (directory == "\\" ? std::string() : std::string(directory) + "\\") + std::string(file);
  if (fs.FileExists(plain)) return plain;
  return FindBelow(fs, IncludeTrailingBackslash(root), Components(directory, file), 0, stored);
}

}  // namespace discovel
