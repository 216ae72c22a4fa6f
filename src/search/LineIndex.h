#pragma once
// Where every line of a loaded archive ends, for the search's one pass over its
// entries. Only the line ends are stored; a line starts after the previous one's
// line end. Reused from archive to archive, so indexing allocates nothing once
// the largest archive has been seen.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace discovel {

class LineIndex {
 public:
  // CR, LF and CR LF each end a line; the final line end opens no extra line,
  // as archives are read everywhere else. Throws AppError past 4 GiB.
  void Build(std::string_view bytes);

  std::size_t Count() const { return m_count; }
  std::size_t Begin(std::size_t line) const {
    return line == 0 ? 0 : AfterLineEnd(m_ends[line - 1]);
  }
  std::size_t End(std::size_t line) const { return m_ends[line]; }
  std::string_view Text(std::size_t line) const {
    const std::size_t begin = Begin(line);
    return m_bytes.substr(begin, m_ends[line] - begin);
  }

 private:
  std::size_t AfterLineEnd(std::size_t end) const {
    const bool crLf =
        m_bytes[end] == '\r' && end + 1 < m_bytes.size() && m_bytes[end + 1] == '\n';
    return end + (crLf ? 2 : 1);
  }
  void Grow();

  std::string_view m_bytes;
  std::unique_ptr<std::uint32_t[]> m_ends;  // offset of each line's line end
  std::size_t m_capacity = 0;
  std::size_t m_count = 0;
};

}  // namespace discovel
