#pragma once
// A list exported as a CSV file: UTF-8 with a byte-order mark, comma
// separated, CR LF line ends, one header line of the column captions, then
// every row in the order given. A field is quoted when it holds a comma, a
// quote, CR or LF, or begins or ends with a blank; a quote inside is doubled.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// Fills the fields of row `row` (text of the system code page). `fields`
// comes sized to the captions and still holds the previous row's texts, so
// assigning to them reuses their storage.
using CsvRowSource = std::function<void(std::size_t row, std::vector<std::string>& fields)>;

// The bytes of the file. `text` converts the code page's text to UTF-8.
std::string CsvFileBytes(const std::vector<std::string>& captions, std::size_t rowCount,
                         const CsvRowSource& fillRow, const TextServices& text);

// Writes `bytes` through a temporary sibling replacing `path` in one step, so
// a failure leaves an earlier file whole. Throws FileError ("Cannot write
// file "<path>". <reason>") when it cannot.
void WriteCsvFile(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace discovel
