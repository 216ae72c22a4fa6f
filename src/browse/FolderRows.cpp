#include "browse/FolderRows.h"

#include <algorithm>
#include <numeric>

#include "catalog/ColumnSort.h"
#include "catalog/NumberFormat.h"

namespace discovel {
namespace {

SortKind KindOf(BrowseColumn column) {
  switch (column) {
    case BrowseColumn::kDateModified:
      return SortKind::Date;
    case BrowseColumn::kSize:
      return SortKind::Number;
    default:
      return SortKind::Text;
  }
}

// One part's cells of the column sorted by, made once for the sort.
class MadeCells final : public ColumnCells {
 public:
  explicit MadeCells(std::vector<std::string> cells) : m_cells(std::move(cells)) {}
  std::size_t RowCount() const override { return m_cells.size(); }
  std::string_view Cell(std::size_t row) const override { return m_cells[row]; }

 private:
  std::vector<std::string> m_cells;
};

// Sorts `items` by the texts `cellOf` gives each of them by its place.
template <class Item, class CellOf>
void SortPart(std::vector<Item>& items, SortKind kind, bool flag, const TextServices& text, const CellOf& cellOf) {
  std::vector<std::string> cells;
  cells.reserve(items.size());
  for (std::size_t at = 0; at < items.size(); ++at) cells.push_back(cellOf(at));
  std::vector<std::uint32_t> order(items.size());
  std::iota(order.begin(), order.end(), 0u);
  SortRows(order, MadeCells(std::move(cells)), kind, flag, text);
  std::vector<Item> sorted;
  sorted.reserve(items.size());
  for (const std::uint32_t at : order) sorted.push_back(items[at]);
  items = std::move(sorted);
}

}  // namespace

FolderRows::FolderRows(const ArchiveFolders& tree, FolderIndex folder, CellFormats formats)
    : m_tree(tree), m_folderFiles(tree.Files(folder)), m_formats(std::move(formats)) {
  const auto children = tree.Children(folder);
  m_subfolders.assign(children.begin(), children.end());
  m_files = tree.FilesByName(folder);
}

std::size_t FolderRows::RowOfFile(std::size_t position) const {
  const auto found = std::find(m_files.begin(), m_files.end(), position);
  return found == m_files.end() ? Count() : m_subfolders.size() + static_cast<std::size_t>(found - m_files.begin());
}

std::size_t FolderRows::RowOfFolder(FolderIndex folder) const {
  const auto found = std::find(m_subfolders.begin(), m_subfolders.end(), folder);
  return found == m_subfolders.end() ? Count() : static_cast<std::size_t>(found - m_subfolders.begin());
}

std::string FolderRows::Cell(std::size_t row, BrowseColumn column) const {
  std::string made;
  return std::string(CellView(row, column, made));
}

std::string_view FolderRows::CellView(std::size_t row, BrowseColumn column, std::string& made) const {
  if (IsFolder(row)) {
    const FolderIndex folder = FolderAt(row);
    switch (column) {
      case BrowseColumn::kName:
        return m_tree.Name(folder);
      case BrowseColumn::kType:
        return kFolderType;
      case BrowseColumn::kDateModified:
        return {};
      case BrowseColumn::kSize:
        made = GroupDigits(m_tree.TotalsOf(folder).bytes.Digits(), m_formats.thousands);
        return made;
    }
    return {};
  }
  const ArchiveFolders::File& file = FileAt(row);
  FoundEntry entry;
  entry.file = m_tree.Name(file);
  entry.size = file.size;
  entry.dosTime = file.dosTime;
  FoundCellText cell = found_cells::File;
  if (column == BrowseColumn::kType) cell = found_cells::Type;
  if (column == BrowseColumn::kDateModified) cell = found_cells::DateModified;
  if (column == BrowseColumn::kSize) cell = found_cells::Size;
  return cell(entry, m_formats, made).value_or(std::string_view());
}

void FolderRows::Sort(BrowseColumn column, bool flag, const TextServices& text) {
  const SortKind kind = KindOf(column);
  // Subfolders have neither type nor date: they stay by name then.
  if (column == BrowseColumn::kName || column == BrowseColumn::kSize) {
    SortPart(m_subfolders, kind, flag, text, [&](std::size_t at) { return Cell(at, column); });
  }
  const std::size_t first = m_subfolders.size();
  SortPart(m_files, kind, flag, text, [&](std::size_t at) { return Cell(first + at, column); });
}

}  // namespace discovel
