#pragma once
// The rows of one folder as the browser lists them: its subfolders first,
// then its files, each part in the order of the column sorted by, with the
// search results' cells and sorting. A subfolder's size is its total; it has
// no type of file and no date.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "browse/ArchiveFolders.h"
#include "platform/TextServices.h"
#include "search/FoundColumns.h"

namespace discovel {

enum class BrowseColumn { kName, kType, kDateModified, kSize };

inline constexpr std::string_view kFolderType = "File folder";

class FolderRows {
 public:
  using FolderIndex = ArchiveFolders::FolderIndex;

  // By name, as the tree lists the subfolders and the lists sort text.
  FolderRows(const ArchiveFolders& tree, FolderIndex folder, CellFormats formats);

  std::size_t Count() const { return m_subfolders.size() + m_files.size(); }
  bool IsFolder(std::size_t row) const { return row < m_subfolders.size(); }
  FolderIndex FolderAt(std::size_t row) const { return m_subfolders[row]; }
  const ArchiveFolders::File& FileAt(std::size_t row) const { return m_folderFiles[FilePositionAt(row)]; }
  // The file's place among the folder's files (ArchiveFolders::Files).
  std::uint32_t FilePositionAt(std::size_t row) const { return m_files[row - m_subfolders.size()]; }
  // The row of a file given by its place in the folder, or of a subfolder;
  // Count() when none.
  std::size_t RowOfFile(std::size_t position) const;
  std::size_t RowOfFolder(FolderIndex folder) const;
  std::string Cell(std::size_t row, BrowseColumn column) const;
  // The same text, as a part of the tree's own texts or made into `made`.
  std::string_view CellView(std::size_t row, BrowseColumn column, std::string& made) const;
  // With the flag set: text A to Z, dates oldest first, sizes largest first.
  void Sort(BrowseColumn column, bool flag, const TextServices& text);

 private:
  const ArchiveFolders& m_tree;
  std::span<const ArchiveFolders::File> m_folderFiles;
  CellFormats m_formats;
  std::vector<FolderIndex> m_subfolders;
  std::vector<std::uint32_t> m_files;  // places in m_folderFiles
};

}  // namespace discovel
