#include "search/SearchResults.h"

#include <algorithm>
#include <cstring>

#include "platform/AppError.h"

namespace discovel {

void SearchResults::Clear() {
  m_rows.clear();
  m_chunks.clear();
  m_free = m_chunkEnd = nullptr;
}

std::string_view SearchResults::Cell(std::size_t row, ResultColumn column) const {
  const Row& r = m_rows.at(row);
  const auto index = static_cast<int>(column);
  if (index >= r.filled) return {};
  const std::uint32_t begin = index == 0 ? 0 : r.ends[index - 1];
  return std::string_view(r.text + begin, r.ends[index] - begin);
}

void SearchResults::MakeRoom(std::size_t bytes) {
  if (static_cast<std::size_t>(m_chunkEnd - m_free) >= bytes) return;
  Row* row = m_rows.empty() ? nullptr : &m_rows.back();
  const std::size_t used = row && row->filled ? row->ends[row->filled - 1] : 0;
  const std::size_t size = std::max(kChunkBytes, used + bytes);
  auto chunk = std::make_unique<char[]>(size);
  if (used != 0) std::memcpy(chunk.get(), row->text, used);
  if (row) row->text = chunk.get();
  m_free = chunk.get() + used;
  m_chunkEnd = chunk.get() + size;
  m_chunks.push_back(std::move(chunk));
}

void SearchResults::BeginRow(std::string_view archive) {
  m_rows.push_back(Row{m_free, {}, 0});
  AppendCell(archive);
}

void SearchResults::AppendCell(std::string_view text) {
  Row& row = m_rows.back();
  if (row.filled == kResultColumns) throw AppError("A result row has only six columns.");
  const std::size_t used = row.filled ? row.ends[row.filled - 1] : 0;
  // The cells come from lines of one archive entry; 4 GiB is out of reach.
  if (text.size() > UINT32_MAX - used) throw AppError("A result row is too long.");
  MakeRoom(text.size());
  if (!text.empty()) std::memcpy(m_free, text.data(), text.size());
  m_free += text.size();
  m_rows.back().ends[row.filled] = static_cast<std::uint32_t>(used + text.size());
  ++m_rows.back().filled;
}

}  // namespace discovel
