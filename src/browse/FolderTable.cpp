#include "browse/FolderTable.h"

#include <functional>

namespace discovel {

std::string_view FolderTable::Cell(std::size_t row, int column) const {
  if (row >= m_rows.Count() || column < 0 || column > static_cast<int>(BrowseColumn::kSize)) return {};
  const std::uint64_t key = (static_cast<std::uint64_t>(row) << 2) | static_cast<unsigned>(column);
  if (const auto kept = m_made.find(key); kept != m_made.end()) return kept->second;
  std::string made;
  const std::string_view text = m_rows.CellView(row, static_cast<BrowseColumn>(column), made);
  const std::less<const char*> before;
  const bool inMade =
      !text.empty() && !before(text.data(), made.data()) && before(text.data(), made.data() + made.size());
  if (!inMade) return text;  // a part of the tree's own texts
  const std::size_t offset = static_cast<std::size_t>(text.data() - made.data());
  const std::string& kept = m_made.emplace(key, std::move(made)).first->second;
  return std::string_view(kept).substr(offset, text.size());
}

std::optional<std::size_t> FolderTable::Sort(BrowseColumn column, bool flag, const TextServices& text,
                                             std::optional<std::size_t> keep) {
  // What the kept row shows, by what stays when the rows move.
  std::optional<ArchiveFolders::FolderIndex> keptFolder;
  std::optional<std::uint32_t> keptFile;
  if (keep && *keep < m_rows.Count()) {
    if (m_rows.IsFolder(*keep)) {
      keptFolder = m_rows.FolderAt(*keep);
    } else {
      keptFile = m_rows.FilePositionAt(*keep);
    }
  }
  m_made.clear();
  m_rows.Sort(column, flag, text);
  if (keptFolder) return m_rows.RowOfFolder(*keptFolder);
  if (keptFile) return m_rows.RowOfFile(*keptFile);
  return std::nullopt;
}

}  // namespace discovel
