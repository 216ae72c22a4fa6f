#include "backup/FolderTree.h"

#include <vector>

namespace discovel {

std::string FreeSiblingFolder(FileSystem& fs, std::string_view folder, std::string_view suffix) {
  if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  const std::string base = std::string(folder) + std::string(suffix);
  std::string name = base;
  for (int n = 2; fs.FolderExists(name) || fs.FileExists(name); ++n) name = base + std::to_string(n);
  return name + '\\';
}

bool RemoveTree(FileSystem& fs, const std::string& folder) {
  std::vector<DirEntry> entries;
  fs.ListFolder(folder, "*.*", [&](const DirEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  bool removed = true;
  for (const DirEntry& entry : entries) {
    const std::string path = folder + entry.name;
    if (!entry.isFolder) {
      removed = fs.RemoveFileWhateverItsAttributes(path) && removed;
    } else if (entry.isLink) {
      removed = fs.RemoveFolder(path) && removed;
    } else {
      removed = RemoveTree(fs, path + '\\') && removed;
    }
  }
  return fs.RemoveFolder(folder) && removed;
}

std::string ParentFolder(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace discovel
