#include "export/ListExport.h"

#include <cstdio>

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "export/CsvFields.h"
#include "export/CsvWriter.h"
#include "platform/ProgramName.h"

namespace discovel {

std::string CsvFieldOfShown(SortKind kind, std::string_view shown, const TextServices& text) {
  switch (kind) {
    case SortKind::Number:
      if (const auto value = ParseFormattedCount(shown, text.ThousandsSeparator())) return CsvNumber(*value);
      break;
    case SortKind::Date:
      if (const auto time = ParseDisplayDateTime(shown, text.DateSeparator(), text.TimeSeparator())) {
        return CsvDateTime(*time);
      }
      break;
    case SortKind::Text:
      break;
  }
  return std::string(shown);
}

namespace {

std::vector<std::string> CaptionsOf(const std::vector<ExportColumn>& columns) {
  std::vector<std::string> captions;
  captions.reserve(columns.size());
  for (const ExportColumn& column : columns) captions.push_back(column.caption);
  return captions;
}

CsvRowSource RowsShown(const std::vector<ExportColumn>& columns, const ShownCellText& shown,
                       const TextServices& text) {
  return [&columns, &shown, &text](std::size_t row, std::vector<std::string>& fields) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
      fields[column] = CsvFieldOfShown(columns[column].kind, shown(row, static_cast<int>(column)), text);
    }
  };
}

}  // namespace

std::string ListCsvBytes(const std::vector<ExportColumn>& columns, std::size_t rowCount,
                         const ShownCellText& shown, const TextServices& text) {
  return CsvFileBytes(CaptionsOf(columns), rowCount, RowsShown(columns, shown, text));
}

void WriteListCsv(FileSystem& fs, const std::string& path, const std::vector<ExportColumn>& columns,
                  std::size_t rowCount, const ShownCellText& shown, const TextServices& text) {
  WriteCsvFile(fs, path, CaptionsOf(columns), rowCount, RowsShown(columns, shown, text));
}

std::string ProposedCsvName(std::string_view listWord, const LocalTime& today) {
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
  return std::string(kProgramName) + " " + std::string(listWord) + " " + date + ".csv";
}

std::string CsvWriteFailureText(std::string_view fileError) {
  constexpr std::string_view kCreate = "Cannot create file";
  if (fileError.substr(0, kCreate.size()) == kCreate) {
    return "Cannot write file" + std::string(fileError.substr(kCreate.size()));
  }
  return std::string(fileError);
}

}  // namespace discovel
