#include "export/CsvWriter.h"

namespace discovel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return false;
  if (IsBlank(field.front()) || IsBlank(field.back())) return true;
  // Bytes of the code page: in double-byte code pages too, these four are
  // never the trail byte of a character.
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

std::string CsvFileBytes(const std::vector<std::string>& captions, std::size_t rowCount,
                         const CsvRowSource& fillRow, const TextServices& text) {
  // The whole table in the code page first, converted in one go: one call
  // instead of one per field.
  std::string ansi;
  ansi.reserve(64 + rowCount * 16 * (captions.size() + 1));
  AppendLine(captions, ansi);
  std::vector<std::string> fields(captions.size());
  for (std::size_t row = 0; row < rowCount; ++row) {
    fillRow(row, fields);
    AppendLine(fields, ansi);
  }
  std::string bytes;
  bytes.reserve(kByteOrderMark.size() + ansi.size() + ansi.size() / 8);
  bytes += kByteOrderMark;
  text.AppendAsUtf8(ansi, bytes);
  return bytes;
}

void WriteCsvFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
  // The seam writes a temporary sibling and replaces the file with it; its
  // FileError already names the path and the reason.
  fs.WriteFileReplacing(path, bytes);
}

}  // namespace discovel
