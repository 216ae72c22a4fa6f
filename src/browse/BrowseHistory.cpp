#include "browse/BrowseHistory.h"

#include <string>

#include "catalog/NumberFormat.h"

namespace discovel {

void BrowseHistory::Open(FolderIndex folder) {
  if (folder == Current()) return;
  m_visited.resize(m_at + 1);
  m_visited.push_back(folder);
  ++m_at;
}

BrowseHistory::FolderIndex BrowseHistory::Back() {
  if (CanGoBack()) --m_at;
  return Current();
}

BrowseHistory::FolderIndex BrowseHistory::Forward() {
  if (CanGoForward()) ++m_at;
  return Current();
}

std::string FolderStatusText(const ArchiveFolders::Totals& totals, std::string_view thousandsSeparator) {
  return "Folders: " + GroupDigits(std::to_string(totals.folders), thousandsSeparator) +
         "; Files: " + GroupDigits(std::to_string(totals.files), thousandsSeparator) +
         "; Size: " + GroupDigits(totals.bytes.Digits(), thousandsSeparator);
}

}  // namespace discovel
