#pragma once
// Where the folder browser has been, as Explorer keeps it: Back and Forward
// walk the folders opened one after the other, and opening another folder
// after going back drops the way forward.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "browse/ArchiveFolders.h"

namespace discovel {

class BrowseHistory {
 public:
  using FolderIndex = ArchiveFolders::FolderIndex;

  explicit BrowseHistory(FolderIndex start) : m_visited{start} {}

  FolderIndex Current() const { return m_visited[m_at]; }
  // The folder the user opens (a subfolder, the parent, a tree item); the
  // current one again changes nothing.
  void Open(FolderIndex folder);
  bool CanGoBack() const { return m_at > 0; }
  bool CanGoForward() const { return m_at + 1 < m_visited.size(); }
  // The folder gone to; the current one when there is none to go to.
  FolderIndex Back();
  FolderIndex Forward();

 private:
  std::vector<FolderIndex> m_visited;
  std::size_t m_at = 0;
};

// The status bar's text of a folder with all below it:
// "Folders: f; Files: n; Size: s", the numbers grouped as the user groups them.
std::string FolderStatusText(const ArchiveFolders::Totals& totals, std::string_view thousandsSeparator);

}  // namespace discovel
