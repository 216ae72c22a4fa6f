#pragma once
// Where the lines of a loaded archive begin, worked out only as far as the
// search asks. A selective search looks for its term in the raw bytes and
// counts line ends only to learn which entry a hit belongs to, so no index of
// every line is ever built. Questions come in file order, mostly forward: a
// few line starts found last are kept, and each answer starts from the nearest
// of them at or before it.
// CR, LF and CR LF each end a line; the final line end opens no extra line,
// as archives are read everywhere else.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace discovel {

class LineLocator {
 public:
  struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;  // the line end (CR or LF), or the end of the bytes
  };

  void Reset(std::string_view bytes);
  std::string_view Bytes() const { return m_bytes; }

  // Whether the bytes hold line `line` (from 0).
  bool Has(std::uint64_t line) { return line < m_linesKnown || HasSlow(line); }
  // Every line below this one is known to exist, without looking further.
  std::size_t KnownLines() const { return m_linesKnown; }
  // Where an existing line begins.
  std::size_t Begin(std::size_t line);
  // The line that holds the byte at `offset`, which must be no CR or LF.
  std::size_t LineAt(std::size_t offset);
  // The same, told that `lineEnds` line ends lie between the start of line
  // `from` and `offset` (counted while searching).
  std::size_t LineAt(std::size_t offset, std::size_t from, std::size_t lineEnds);
  // Told that `lineEnds` line ends lie between the start of line `from` and
  // the end of the bytes: now it knows how many lines there are.
  void LinesEndAfter(std::size_t from, std::size_t lineEnds);
  // `count` lines from `first` on; false when not all of them exist.
  bool Lines(std::size_t first, std::size_t count, Span* out);
  // How many lines there are.
  std::size_t Count();

 private:
  struct Mark {
    std::size_t line;
    std::size_t begin;  // line's first byte; the end of the bytes for the line after the last
  };
  static constexpr int kMarks = 4;

  bool HasSlow(std::uint64_t line);
  const Mark& LastMarkUpToLine(std::size_t line) const;
  const Mark& LastMarkUpToOffset(std::size_t offset) const;
  const Mark& FurthestMark() const;
  void Remember(std::size_t line, std::size_t begin);
  // The start of the line `lines` lines after the one starting at `begin`, or
  // the end of the bytes; `passed` tells how many lines that went over.
  std::size_t Skip(std::size_t begin, std::size_t lines, std::size_t& passed) const;
  std::size_t LineEndFrom(std::size_t pos) const;
  std::size_t AfterLineEnd(std::size_t end) const;

  std::string_view m_bytes;
  Mark m_marks[kMarks];
  std::size_t m_linesKnown = 0;  // every line below this exists
  bool m_countKnown = false;     // and no other does
};

// The key block of an archive (see keyblock::Find) read back from the end of
// the bytes, so that the lines before it are never looked at: its lines into
// `lastFirst`, the last line first.
void FindKeyBlockLines(std::string_view bytes, std::vector<std::string_view>& lastFirst);

// Line ends (CR, or LF not right after a CR) among the bytes [from, to); the
// byte before `from`, when there is one, decides about an LF at `from`.
std::size_t CountLineEnds(const char* data, std::size_t from, std::size_t to);

}  // namespace discovel
