#pragma once
// Archive files: four-line file entries followed by the key block.
// ArchiveText reads (one buffer, lines as views); ArchiveLines edits and writes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveKeys.h"
#include "catalog/KeyBlock.h"
#include "platform/FileSystem.h"

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
  // Takes the file's bytes; lines may end with CR, LF or CR LF.
  explicit ArchiveText(std::string bytes);
  // Whole file in one read. Throws FileError.
  static ArchiveText Load(FileSystem& fs, const std::string& path);
  // Reads only as much of the file's end as holds the key block: for readers
  // that need keys alone. Lines before the key block are not all there.
  static ArchiveText LoadKeyBlock(FileSystem& fs, const std::string& path);

  std::size_t LineCount() const { return m_lines.size(); }
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
};

class ArchiveLines {
 public:
  ArchiveLines() = default;
  explicit ArchiveLines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
  static ArchiveLines FromText(std::string_view bytes);
  static ArchiveLines Load(FileSystem& fs, const std::string& path);

  const std::vector<std::string>& Lines() const { return m_lines; }
  void AppendLine(std::string line) { m_lines.push_back(std::move(line)); }
  // One file entry: folder, name, size and packed time lines.
  void AppendEntry(std::string_view folder, std::string_view name, std::int64_t size,
                   std::int32_t dosTime);
  // The twelve key lines the writer emits, in their fixed order.
  void AppendKeyLines(const ArchiveKeys& keys);

  std::optional<std::string_view> FindKey(std::string_view key) const;
  // In the key block only: a non-empty value replaces the first matching line or,
  // when absent, comes after the last key line; an empty value deletes the line.
  void SetKey(std::string_view key, std::string_view value);

  // Every line followed by CR LF.
  std::string Text() const;
  // Sibling temporary file, then one replace step. Throws FileError.
  void Save(FileSystem& fs, const std::string& path) const;

 private:
  keyblock::Range KeyRange() const;

  std::vector<std::string> m_lines;
};

}  // namespace discovel
