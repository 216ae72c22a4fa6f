#pragma once
// The rows a search found, kept as text for an owner-data list view. Cell texts
// and row records live in large fixed chunks that never move (no big
// reallocation on a 32-bit address space), and a row costs one small record
// besides its text. A byte budget keeps a search that lists everything from
// running the process out of memory: past it, a new row is refused.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "search/FoundColumns.h"
#include "search/FoundRows.h"

namespace discovel {

// A new row would not fit: the budget is spent or memory ran out. The rows
// before it stay whole.
class ResultsFull : public std::runtime_error {
 public:
  ResultsFull() : std::runtime_error("The search results fill the memory set aside for them.") {}
};

class SearchResults final : public FoundTable {
 public:
  // What a 32-bit process can spare for rows beside the archive being read
  // and a sort of the rows; some 5 million rows of usual length.
  static constexpr std::size_t kDefaultBudget = std::size_t{512} << 20;

  explicit SearchResults(std::size_t budgetBytes = kDefaultBudget) : m_budget(budgetBytes) {}

  void Clear();

  std::size_t RowCount() const override { return m_count; }
  bool Empty() const { return m_count == 0; }
  // "" for a column the row never got (a row that could not be filled).
  std::string_view Cell(std::size_t row, int column) const override;
  std::string_view Cell(std::size_t row, FoundColumn column) const { return Cell(row, FoundColumnIndex(column)); }
  bool NamesInCodePage(std::size_t row) const override { return RowAt(row).namesInCodePage; }
  // How many columns, from the first, the row holds (1 to all).
  int FilledColumns(std::size_t row) const { return RowAt(row).filled; }
  // Memory the rows hold, in bytes.
  std::size_t MemoryBytes() const;

  // Adds the row of `entry`, its cells made by the columns' table in order.
  // A cell the entry cannot give ends the row there: false, and the row
  // stays with the cells before it. Throws ResultsFull, and then the row
  // being built is dropped.
  bool AddRow(const FoundEntry& entry, const CellFormats& formats);

  // Building by hand: a row starts with its first cell; the others follow in
  // order. Both throw ResultsFull, and then the row being built is dropped.
  void BeginRow(std::string_view first, bool namesInCodePage = false);
  void AppendCell(std::string_view text);

 private:
  static constexpr std::size_t kChunkBytes = 1 << 20;
  static constexpr std::size_t kRowsPerBlock = 1 << 14;

  struct Row {
    const char* text;  // the row's cells, back to back
    std::uint32_t ends[kFoundColumnCount];  // end of each cell, relative to text
    std::uint8_t filled;
    bool namesInCodePage;
  };

  Row& RowAt(std::size_t row);
  const Row& RowAt(std::size_t row) const;
  // Room for `bytes` more after the current row's text, which moves along
  // into a new chunk when the current one is full.
  void MakeRoom(std::size_t bytes);
  void Append(std::string_view text);
  template <typename Step>
  void AllOrNothing(Step step);
  void DropLastRow();

  std::size_t m_budget;
  std::vector<std::unique_ptr<char[]>> m_chunks;
  std::size_t m_chunkBytesHeld = 0;
  char* m_free = nullptr;  // next free byte of the last chunk
  char* m_chunkEnd = nullptr;
  std::vector<std::unique_ptr<Row[]>> m_rowBlocks;
  std::size_t m_count = 0;
  std::string m_made;  // a cell's text made for it, while its row is added
};

}  // namespace discovel
