#include "export/CsvWriter.h"

#include <algorithm>
#include <memory>

namespace discovel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return false;
  if (IsBlank(field.front()) || IsBlank(field.back())) return true;
  // In UTF-8 no byte of a longer character is below 0x80, so these four are
  // always the characters themselves.
  for (const char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  }
  return false;
}

void AppendField(std::string_view field, std::string& out) {
  if (!NeedsQuotes(field)) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendLine(const std::vector<std::string>& fields, std::string& out) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    AppendField(fields[i], out);
  }
  out += kLineEnd;
}

}  // namespace

void ProduceCsvPieces(const std::vector<std::string>& captions, std::size_t rowCount, const CsvRowSource& fillRow,
                      const std::function<void(std::string_view)>& piece, std::size_t pieceBytes) {
  std::string lines;
  lines.reserve(std::min(pieceBytes, std::size_t{64} + rowCount * 16 * (captions.size() + 1)) + 4096);
  lines = kByteOrderMark;
  const auto handOn = [&] {
    piece(lines);
    lines.clear();
  };
  AppendLine(captions, lines);
  std::vector<std::string> fields(captions.size());
  for (std::size_t row = 0; row < rowCount; ++row) {
    if (lines.size() >= pieceBytes) handOn();
    fillRow(row, fields);
    AppendLine(fields, lines);
  }
  handOn();
}

std::string CsvFileBytes(const std::vector<std::string>& captions, std::size_t rowCount,
                         const CsvRowSource& fillRow) {
  std::string bytes;
  ProduceCsvPieces(captions, rowCount, fillRow, [&](std::string_view piece) { bytes += piece; });
  return bytes;
}

void WriteCsvFile(FileSystem& fs, const std::string& path, const std::vector<std::string>& captions,
                  std::size_t rowCount, const CsvRowSource& fillRow) {
  // The seam's FileError already names the path and the reason; a writer
  // dropped by an error removes its temporary.
  const std::unique_ptr<ReplacingWriter> file = fs.OpenReplacing(path);
  ProduceCsvPieces(captions, rowCount, fillRow, [&](std::string_view piece) { file->Write(piece); });
  file->Commit();
}

}  // namespace discovel
