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

namespace discovel {

// Fills the fields of row `row` (UTF-8, as all text). `fields` comes sized to the captions and still holds the previous row's texts, so
// assigning to them reuses their storage.
using CsvRowSource = std::function<void(std::size_t row, std::vector<std::string>& fields)>;

// The file is made and written in pieces of about this many bytes (a longer
// line is a piece of its own), so that a long list needs no copy of itself in
// memory.
inline constexpr std::size_t kCsvPieceBytes = std::size_t{1} << 20;

// Hands the file's bytes to `piece` in order: the byte-order mark and whole
// lines, so a character is never cut. The bytes do not depend on `pieceBytes`.
void ProduceCsvPieces(const std::vector<std::string>& captions, std::size_t rowCount, const CsvRowSource& fillRow,
                      const std::function<void(std::string_view)>& piece, std::size_t pieceBytes = kCsvPieceBytes);

// The bytes of the file in one string.
std::string CsvFileBytes(const std::vector<std::string>& captions, std::size_t rowCount,
                         const CsvRowSource& fillRow);

// Writes the file piece by piece to a temporary sibling that replaces `path`
// in one step, so a failure, also one `fillRow` throws, leaves an earlier file
// whole and no temporary. Throws FileError ("Cannot write file "<path>".
// <reason>") when it cannot write.
void WriteCsvFile(FileSystem& fs, const std::string& path, const std::vector<std::string>& captions,
                  std::size_t rowCount, const CsvRowSource& fillRow);

}  // namespace discovel
