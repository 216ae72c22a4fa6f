#pragma once
// A list of the program exported as it is shown: its column captions, then
// every row in the order shown, each cell turned into the field a
// spreadsheet reads alike on every machine (see CsvFields.h).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ColumnSort.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "platform/TextServices.h"

namespace discovel {

struct ExportColumn {
  std::string caption;
  SortKind kind;
};

// The CSV field for a cell as the list shows it: Number -> plain digits, grouping
// removed ("1.234.567" -> "1234567"); Date -> "YYYY-MM-DD HH:MM:SS" (the list may show
// the date alone, meaning midnight); a text that does not read as its kind ("Unknown",
// "") stays as it is; Text -> as shown.
std::string CsvFieldOfShown(SortKind kind, std::string_view shown, const TextServices& text);

// The text of the cell shown at `row` (0: the top row) in `column`, an index
// into the exported columns.
using ShownCellText = std::function<std::string(std::size_t row, int column)>;

// The file's bytes for `rowCount` rows in the order shown (row 0 first).
std::string ListCsvBytes(const std::vector<ExportColumn>& columns, std::size_t rowCount,
                         const ShownCellText& shown, const TextServices& text);
// The same bytes written to `path` piece by piece, as WriteCsvFile writes.
void WriteListCsv(FileSystem& fs, const std::string& path, const std::vector<ExportColumn>& columns,
                  std::size_t rowCount, const ShownCellText& shown, const TextServices& text);

// "Discovel search 2026-12-09.csv" for listWord "search".
std::string ProposedCsvName(std::string_view listWord, const LocalTime& today);

// What the user reads when the file cannot be written: the file system's
// message (which names the file and the reason), said as a failure to write
// even where the file could not be created.
std::string CsvWriteFailureText(std::string_view fileError);

}  // namespace discovel
