#include "search/FoundColumns.h"

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "search/SearchCriteria.h"

namespace discovel {

CellFormats CellFormats::Of(const TextServices& text) {
  return {text.ThousandsSeparator(), text.DateSeparator(), text.TimeSeparator()};
}

namespace found_cells {

std::optional<std::string_view> Mark(const FoundEntry& entry, const CellFormats&, std::string&) { return entry.mark; }

std::optional<std::string_view> Directory(const FoundEntry& entry, const CellFormats&, std::string&) {
  return entry.directory;
}

std::optional<std::string_view> File(const FoundEntry& entry, const CellFormats&, std::string&) { return entry.file; }

std::optional<std::string_view> Type(const FoundEntry& entry, const CellFormats&, std::string&) {
  return ExtensionOf(entry.file);
}

std::optional<std::string_view> DateModified(const FoundEntry& entry, const CellFormats& formats, std::string& made) {
  const auto moment = entry.dosTime ? UnpackDosDateTime(*entry.dosTime) : std::nullopt;
  if (!moment) return std::nullopt;
  made = FormatDisplayDateTime(*moment, formats.dateSeparator, formats.timeSeparator);
  return made;
}

std::optional<std::string_view> Size(const FoundEntry& entry, const CellFormats& formats, std::string& made) {
  if (!entry.size) return std::nullopt;
  made = FormatCount(*entry.size, formats.thousands);
  return made;
}

}  // namespace found_cells
}  // namespace discovel
