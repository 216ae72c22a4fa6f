#pragma once
// The columns of found files as the search and the duplicates list them:
// one row per column with its look and the function that gives its cell
// from the found file, so both lists make every cell in one place.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextServices.h"
#include "search/FoundFile.h"
#include "ui/core/ListColumns.h"

namespace discovel {

enum class FoundColumn { kArchive, kDirectory, kFile, kType, kDateModified, kSize };

// One found file as its row is made: the texts are the archive's own, the
// numbers as read from its lines (none when a line is no number).
struct FoundEntry {
  std::string_view mark;
  std::string_view directory;
  std::string_view file;
  std::optional<std::int64_t> size;
  std::optional<std::int32_t> dosTime;
  bool namesInCodePage = false;  // the archive has no encoding key
};

// The user's formats, read once per list.
struct CellFormats {
  std::string thousands;
  char dateSeparator = '/';
  char timeSeparator = ':';
  static CellFormats Of(const TextServices& text);
};

// A cell's text: a part of the entry's own texts, or one made into `made`;
// none when the entry cannot give it (a time that is no date).
using FoundCellText = std::optional<std::string_view> (*)(const FoundEntry& entry, const CellFormats& formats,
                                                         std::string& made);

namespace found_cells {
std::optional<std::string_view> Mark(const FoundEntry&, const CellFormats&, std::string&);
std::optional<std::string_view> Directory(const FoundEntry&, const CellFormats&, std::string&);
std::optional<std::string_view> File(const FoundEntry&, const CellFormats&, std::string&);
std::optional<std::string_view> Type(const FoundEntry&, const CellFormats&, std::string&);
std::optional<std::string_view> DateModified(const FoundEntry&, const CellFormats&, std::string&);
std::optional<std::string_view> Size(const FoundEntry&, const CellFormats&, std::string&);
}  // namespace found_cells

struct FoundColumnRow {
  FoundColumn key;
  ColumnLook look;
  // What the file properties show the cell as; null: not shown there.
  std::string PropretiesValues::*property;
  FoundCellText cell;
};

// Archive, Directory, File, Type, Date Modified, Size.
inline constexpr FoundColumnRow kFoundColumns[] = {
    {FoundColumn::kArchive, {"Archive", {100, 20, 0, 2}}, &PropretiesValues::mark, found_cells::Mark},
    {FoundColumn::kDirectory, {"Directory", {150, 20, 0, 3}}, &PropretiesValues::directory, found_cells::Directory},
    {FoundColumn::kFile, {"File", {150, 20, 0, 3}}, &PropretiesValues::file, found_cells::File},
    {FoundColumn::kType, {"Type", {72, 20, 72}}, &PropretiesValues::type, found_cells::Type},
    {FoundColumn::kDateModified,
     {"Date Modified", {120, 120, 120}, ColumnAlign::Left, SortKind::Date},
     &PropretiesValues::date,
     found_cells::DateModified},
    {FoundColumn::kSize,
     {"Size", {95, 20, 95}, ColumnAlign::Right, SortKind::Number},
     &PropretiesValues::size,
     found_cells::Size},
};
inline constexpr int kFoundColumnCount = static_cast<int>(std::size(kFoundColumns));

constexpr int FoundColumnIndex(FoundColumn key) { return ColumnIndex(kFoundColumns, key); }

// A column of a list of found files, whatever its rows: its look, and what
// the file properties show its cell as (null: not shown there).
struct FoundListColumn {
  ColumnLook look;
  std::string PropretiesValues::*property = nullptr;
};

// The columns of a list's column table (rows with a look and a property).
template <class Row, std::size_t N>
std::vector<FoundListColumn> FoundListColumnsOf(const Row (&table)[N]) {
  std::vector<FoundListColumn> columns;
  columns.reserve(N);
  for (const Row& row : table) columns.push_back({row.look, row.property});
  return columns;
}

}  // namespace discovel
