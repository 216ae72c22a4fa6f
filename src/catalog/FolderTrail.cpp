#include "catalog/FolderTrail.h"

#include <algorithm>
#include <optional>

namespace discovel {

FolderTrail::FolderTrail(FileSystem& fs, const std::string& root) : m_fs(fs) {
  if (std::optional<std::string> identity = m_fs.FolderIdentity(root)) m_open.push_back(std::move(*identity));
}

bool FolderTrail::Enter(const std::string& folder, const std::function<bool()>& walk) {
  std::optional<std::string> identity = m_fs.FolderIdentity(folder);
  // A platform that cannot tell folders apart walks on as before.
  if (!identity) return walk();
  if (std::find(m_open.begin(), m_open.end(), *identity) != m_open.end()) return true;
  m_open.push_back(std::move(*identity));
  const bool goOn = walk();
  m_open.pop_back();
  return goOn;
}

}  // namespace discovel
