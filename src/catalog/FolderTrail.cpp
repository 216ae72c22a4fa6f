#include "catalog/FolderTrail.h"

#include <optional>

namespace discovel {

FolderTrail::FolderTrail(FileSystem& fs, const std::string& root) : m_fs(fs) {
  if (std::optional<FolderId> identity = m_fs.FolderIdentity(root)) m_open.push_back({root, identity->file});
}

bool FolderTrail::IsOpen(const std::string& folder, std::uint64_t number) {
  for (const OpenFolder& open : m_open) {
    if (open.number != number) continue;
    // Equal numbers on two volumes are two folders: the system tells. Rare
    // enough to ask it for both.
    const std::optional<FolderId> mine = m_fs.FolderIdentity(folder);
    const std::optional<FolderId> theirs = m_fs.FolderIdentity(open.path);
    if (!mine || !theirs || *mine == *theirs) return true;
  }
  return false;
}

bool FolderTrail::Enter(const std::string& folder, std::uint64_t listedNumber, const std::function<bool()>& walk) {
  std::uint64_t number = listedNumber;
  if (number == 0) {
    const std::optional<FolderId> identity = m_fs.FolderIdentity(folder);
    // A platform that cannot tell folders apart walks on as before.
    if (!identity) return walk();
    number = identity->file;
  }
  if (IsOpen(folder, number)) return true;
  m_open.push_back({folder, number});
  const bool goOn = walk();
  m_open.pop_back();
  return goOn;
}

}  // namespace discovel
