#include "search/SearchResults.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/AppError.h"

namespace discovel {

void SearchResults::Clear() {
  m_rowBlocks.clear();
  m_count = 0;
  m_chunks.clear();
  m_chunkBytesHeld = 0;
  m_free = m_chunkEnd = nullptr;
}

SearchResults::Row& SearchResults::RowAt(std::size_t row) {
  if (row >= m_count) throw std::out_of_range("no such result row");
  return m_rowBlocks[row / kRowsPerBlock][row % kRowsPerBlock];
}

const SearchResults::Row& SearchResults::RowAt(std::size_t row) const {
  return const_cast<SearchResults*>(this)->RowAt(row);
}

std::string_view SearchResults::Cell(std::size_t row, int column) const {
  const Row& r = RowAt(row);
  const int index = column;
  if (index < 0 || index >= r.filled) return {};
  const std::uint32_t begin = index == 0 ? 0 : r.ends[index - 1];
  return std::string_view(r.text + begin, r.ends[index] - begin);
}

std::size_t SearchResults::MemoryBytes() const {
  return m_chunkBytesHeld + m_rowBlocks.size() * kRowsPerBlock * sizeof(Row) +
         m_rowBlocks.capacity() * sizeof(m_rowBlocks[0]) + m_chunks.capacity() * sizeof(m_chunks[0]);
}

void SearchResults::MakeRoom(std::size_t bytes) {
  if (static_cast<std::size_t>(m_chunkEnd - m_free) >= bytes) return;
  Row* row = m_count == 0 ? nullptr : &RowAt(m_count - 1);
  const std::size_t used = row && row->filled ? row->ends[row->filled - 1] : 0;
  const std::size_t size = std::max(kChunkBytes, used + bytes);
  if (MemoryBytes() + size > m_budget) throw ResultsFull();
  m_chunks.reserve(m_chunks.size() + 1);
  auto chunk = std::make_unique<char[]>(size);
  if (used != 0) std::memcpy(chunk.get(), row->text, used);
  if (row) row->text = chunk.get();
  m_free = chunk.get() + used;
  m_chunkEnd = chunk.get() + size;
  m_chunks.push_back(std::move(chunk));
  m_chunkBytesHeld += size;
}

template <typename Step>
void SearchResults::AllOrNothing(Step step) {
  // A row that does not fit is dropped whole; memory running out counts as full.
  try {
    step();
  } catch (const std::bad_alloc&) {
    DropLastRow();
    throw ResultsFull();
  } catch (const ResultsFull&) {
    DropLastRow();
    throw;
  }
}

bool SearchResults::AddRow(const FoundEntry& entry, const CellFormats& formats) {
  for (int column = 0; column < kFoundColumnCount; ++column) {
    const std::optional<std::string_view> cell = kFoundColumns[column].cell(entry, formats, m_made);
    if (!cell) return false;
    if (column == 0) {
      BeginRow(*cell, entry.namesInCodePage);
    } else {
      AppendCell(*cell);
    }
  }
  return true;
}

void SearchResults::BeginRow(std::string_view archive, bool namesInCodePage) {
  if (m_count % kRowsPerBlock == 0 && m_count / kRowsPerBlock == m_rowBlocks.size()) {
    // No row is begun yet: nothing to drop when this fails.
    if (MemoryBytes() + kRowsPerBlock * sizeof(Row) > m_budget) throw ResultsFull();
    try {
      m_rowBlocks.reserve(m_rowBlocks.size() + 1);
      m_rowBlocks.push_back(std::make_unique_for_overwrite<Row[]>(kRowsPerBlock));
    } catch (const std::bad_alloc&) {
      throw ResultsFull();
    }
  }
  ++m_count;
  RowAt(m_count - 1) = Row{m_free, {}, 0, namesInCodePage};
  AllOrNothing([&] { Append(archive); });
}

void SearchResults::AppendCell(std::string_view text) {
  AllOrNothing([&] { Append(text); });
}

void SearchResults::Append(std::string_view text) {
  if (m_count == 0) throw AppError("A result cell needs a row.");
  Row& row = RowAt(m_count - 1);
  if (row.filled == kFoundColumnCount) throw AppError("A result row has no more columns.");
  const std::size_t used = row.filled ? row.ends[row.filled - 1] : 0;
  // The cells come from lines of one archive entry; 4 GiB is out of reach.
  if (text.size() > UINT32_MAX - used) throw AppError("A result row is too long.");
  MakeRoom(text.size());
  Row& current = RowAt(m_count - 1);  // MakeRoom may have moved its text
  if (!text.empty()) std::memcpy(m_free, text.data(), text.size());
  m_free += text.size();
  current.ends[current.filled] = static_cast<std::uint32_t>(used + text.size());
  ++current.filled;
}

void SearchResults::DropLastRow() {
  // Only the row in progress can be dropped; its text is the tail of the last chunk.
  if (m_count == 0) return;
  const Row& row = RowAt(m_count - 1);
  if (!m_chunks.empty() && row.text >= m_chunks.back().get() && row.text <= m_chunkEnd) {
    m_free = const_cast<char*>(row.text);
  }
  --m_count;
}

}  // namespace discovel
