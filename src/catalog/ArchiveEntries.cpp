#include "catalog/ArchiveEntries.h"

#include <algorithm>
#include <optional>

#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

std::optional<std::int64_t> NumberKey(const ArchiveText& archive, std::string_view key, const std::string& path) {
  const std::string_view value = TrimBlanksAndControls(archive.FindKey(key).value_or(std::string_view()));
  if (value.empty()) return std::nullopt;
  const auto number = ParseInt64(value);
  if (!number) {
    throw ConvertError("The " + std::string(key) + " value \"" + std::string(value) + "\" of archive \"" + path +
                       "\" is not a number.");
  }
  return number;
}

}  // namespace

EntryLayout EntryLayoutOf(const ArchiveText& archive, const std::string& path) {
  const std::int64_t count = NumberKey(archive, kAFiles, path).value_or(0);
  const std::int64_t stride = NumberKey(archive, kAPars, path).value_or(kDefaultEntryStride);
  EntryLayout layout;
  if (count <= 0) return layout;
  if (stride < 1) {
    throw AppError("Archive \"" + path + "\" is damaged: its APars key gives its entries " + std::to_string(stride) +
                   " lines each.");
  }
  layout.count = count;
  layout.stride = static_cast<std::size_t>(stride);
  // A count larger than the file could hold must not reserve memory for it.
  layout.reservable = static_cast<std::size_t>(
      std::min<std::int64_t>(count, static_cast<std::int64_t>(archive.LineCount() / layout.stride) + 1));
  return layout;
}

EntryView ArchiveEntry(const ArchiveText& archive, const EntryLayout& layout, std::size_t index,
                       const std::string& path) {
  try {
    return archive.EntryLines(index, layout.stride);
  } catch (const AppError& e) {
    throw AppError("Archive \"" + path + "\" is damaged. " + e.what());
  }
}

std::vector<EntryView> ListArchiveEntries(const ArchiveText& archive, const std::string& path) {
  const EntryLayout layout = EntryLayoutOf(archive, path);
  std::vector<EntryView> entries;
  entries.reserve(layout.reservable);
  for (std::int64_t i = 0; i < layout.count; ++i) {
    entries.push_back(ArchiveEntry(archive, layout, static_cast<std::size_t>(i), path));
  }
  return entries;
}

std::string EntryPastEndText(const std::string& path, std::int64_t index) {
  return "Archive \"" + path + "\" ends before the lines of its entry " + std::to_string(index) + ".";
}

std::string IncompleteEntryText(const std::string& path, std::int64_t index) {
  return path + " " + std::to_string(index);
}

}  // namespace discovel
