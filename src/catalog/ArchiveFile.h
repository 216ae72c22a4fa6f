#pragma once
// Archive files: four-line file entries followed by the key block.
// ArchiveText reads (one buffer, lines as views); ArchiveLines edits and writes.
// Both hold the text as UTF-8: a file in the ANSI code page (no encoding key)
// is decoded as it is read, and encoded again as it is saved.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/KeyBlock.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// The four lines of one file entry, as stored.
struct EntryView {
  std::string_view folder;
  std::string_view name;
  std::string_view size;
  std::string_view time;
};

class ArchiveText {
 public:
  ArchiveText() = default;
  // Takes UTF-8 text; lines may end with CR, LF or CR LF.
  explicit ArchiveText(std::string utf8, ArchiveEncoding encoding = ArchiveEncoding::Utf8);
  // A file's bytes in the encoding its key block names. Throws AppError,
  // naming `source`, for an encoding this version does not know.
  static ArchiveText Decode(std::string bytes, const TextServices& text, std::string_view source);
  // Whole file in one read. Throws FileError.
  static ArchiveText Load(FileSystem& fs, const std::string& path, const TextServices& text);
  // Reads only as much of the file's end as holds the key block: for readers
  // that need keys alone. Lines before the key block are not all there.
  static ArchiveText LoadKeyBlock(FileSystem& fs, const std::string& path, const TextServices& text);
  // The same of text already read whole, for a reader that walks its entries
  // without an index of its lines.
  static ArchiveText KeyBlockOf(std::string_view utf8, ArchiveEncoding encoding);

  // The encoding of the file the text was read from.
  ArchiveEncoding Encoding() const { return m_encoding; }

  std::size_t LineCount() const { return m_lines.size(); }
  // The whole text, which every line and entry view points into.
  std::string_view Text() const { return m_bytes; }
  // Gives up the text to a reader that keeps offsets into it, and the lines with it.
  std::string ReleaseText() && {
    std::vector<Span>().swap(m_lines);
    m_keyBegin = m_keyEnd = 0;
    return std::move(m_bytes);
  }
  // Throws AppError past the end.
  std::string_view Line(std::size_t index) const;

  // First key line in the key block whose name matches, letter case aside;
  // the value as stored (it may contain '=').
  std::optional<std::string_view> FindKey(std::string_view key) const;
  // FindKey's value, or "" when the key is absent.
  std::string ReadKey(std::string_view key) const;

  // Entry `index` (from 0) at lines index*stride .. index*stride+3.
  // Throws AppError when a line lies past the end or the stride is 0.
  EntryView EntryLines(std::size_t index, std::size_t stride = kDefaultEntryStride) const;
 private:
  // The shortest tail, of those readTail(bytes, whole) gives (growing), that
  // holds the whole key block, as make(tail) reads it.
  static ArchiveText TailHoldingKeyBlock(const std::function<std::string(std::size_t, bool&)>& readTail,
                                         const std::function<ArchiveText(std::string)>& make);

  struct Span {
    std::size_t begin;
    std::size_t length;
  };
  std::string_view At(std::size_t index) const {
    return std::string_view(m_bytes).substr(m_lines[index].begin, m_lines[index].length);
  }

  // Offsets rather than views, so moving the object (and its small string) is safe.
  std::string m_bytes;
  std::vector<Span> m_lines;
  std::size_t m_keyBegin = 0;
  std::size_t m_keyEnd = 0;
  ArchiveEncoding m_encoding = ArchiveEncoding::Utf8;
};

class ArchiveLines {
 public:
  // A new archive is saved in the code page when all of it fits there.
  ArchiveLines() = default;
  explicit ArchiveLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
  // UTF-8 text, split into lines.
  static ArchiveLines FromText(std::string_view utf8);
  // A file's bytes in the encoding its key block names; the encoding key
  // line itself is not among the lines. Throws AppError naming `source` for
  // an encoding this version does not know.
  static ArchiveLines Decode(std::string_view bytes, const TextServices& text, std::string_view source);
  static ArchiveLines Load(FileSystem& fs, const std::string& path, const TextServices& text);

  // Where the archive came from, or where it goes: in the code page unless a
  // line needs more (an archive read from UTF-8 stays UTF-8).
  ArchiveEncoding Encoding() const { return m_encoding; }
  void SetEncoding(ArchiveEncoding encoding) { m_encoding = encoding; }

  const std::vector<std::string>& Lines() const { return m_lines; }
  void AppendLine(std::string line) { m_lines.push_back(std::move(line)); }
  // One file entry: folder, name, size and packed time lines.
  void AppendEntry(std::string_view folder, std::string_view name, std::int64_t size,
                   std::int32_t dosTime);
  // The twelve key lines the writer emits, in their fixed order.
  void AppendKeyLines(const ArchiveKeys& keys);

  std::optional<std::string_view> FindKey(std::string_view key) const;
  // The key block's lines, in their order.
  std::vector<std::string> KeyLines() const;
  // In the key block only: a non-empty value replaces the first matching line or,
  // when absent, comes after the last key line; an empty value deletes the line.
  void SetKey(std::string_view key, std::string_view value);

  // Every line followed by CR LF, as UTF-8.
  std::string Text() const;
  // The file's bytes: the text in the code page when the archive is in it
  // and every line converts there exactly; otherwise UTF-8 with the encoding
  // key line after the rest.
  std::string Encoded(const TextServices& text) const;
  // The text in the code page when every line converts there exactly.
  std::optional<std::string> CodePageBytes(const TextServices& text) const;
  // Sibling temporary file, then one replace step. Throws FileError.
  void Save(FileSystem& fs, const std::string& path, const TextServices& text) const;

 private:
  keyblock::Range KeyRange() const;

  std::vector<std::string> m_lines;
  ArchiveEncoding m_encoding = ArchiveEncoding::CodePage;
};

// The UTF-8 text of an archive file's bytes and its encoding. Throws AppError
// naming `source` for an encoding this version does not know.
struct DecodedArchive {
  std::string text;
  ArchiveEncoding encoding;
};
DecodedArchive DecodeArchiveBytes(std::string bytes, const TextServices& text, std::string_view source);

}  // namespace discovel
