#pragma once
// The rows a search found, kept as text for an owner-data list view. Cell texts
// live in large fixed chunks that never move (no big reallocation on a 32-bit
// address space), and a row costs one small record besides its text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace discovel {

enum class ResultColumn { kArchive, kDirectory, kFile, kType, kDateModified, kSize };
inline constexpr int kResultColumns = 6;

class SearchResults {
 public:
  void Clear();
  void Reserve(std::size_t rows) { m_rows.reserve(rows); }

  std::size_t RowCount() const { return m_rows.size(); }
  bool Empty() const { return m_rows.empty(); }
  // "" for a column the row never got (a row that could not be filled).
  std::string_view Cell(std::size_t row, ResultColumn column) const;
  // How many columns, from the first, the row holds (1..6).
  int FilledColumns(std::size_t row) const { return m_rows.at(row).filled; }

  // Building: a row starts with its Archive text; the others follow in order.
  void BeginRow(std::string_view archive);
  void AppendCell(std::string_view text);

 private:
  static constexpr std::size_t kChunkBytes = 1 << 20;

  struct Row {
    const char* text;  // the row's cells, back to back
    std::uint32_t ends[kResultColumns];  // end of each cell, relative to text
    std::uint8_t filled;
  };

  // Room for `bytes` more after the current row's text, which moves along
  // into a new chunk when the current one is full.
  void MakeRoom(std::size_t bytes);

  std::vector<std::unique_ptr<char[]>> m_chunks;
  char* m_free = nullptr;  // next free byte of the last chunk
  char* m_chunkEnd = nullptr;
  std::vector<Row> m_rows;
};

}  // namespace discovel
