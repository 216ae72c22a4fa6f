#include "scan/ListingForms.h"

#include <optional>
#include <string_view>

#include "catalog/TextUtil.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

// Whether a version reading through the code page could list the folder at
// this path below the root: each name converts there exactly, and none ends
// in the byte of a backslash (a double-byte character's trail byte may be
// one, and such a path was taken to end in its separator).
bool ListableThroughCodePage(std::string_view folder, const TextServices& text) {
  while (!folder.empty()) {
    const std::size_t cut = folder.find('\\');
    const std::string_view name = folder.substr(0, cut);
    const std::optional<std::string> bytes = text.ToCodePageExactly(name);
    if (!bytes || (!bytes->empty() && bytes->back() == '\\')) return false;
    if (cut == std::string_view::npos) break;
    folder.remove_prefix(cut + 1);
  }
  return true;
}

}  // namespace

std::string AsStoredThroughCodePage(std::string_view utf8, const TextServices& text) {
  if (utf8::IsAscii(utf8)) return std::string(utf8);
  return text.FromCodePage(text.ToCodePageAsAnsiFunctionsDo(utf8));
}

ListingToSave ListingForSaving(const FolderScanner& walk, const TextServices& text) {
  if (std::optional<std::string> bytes = walk.Listing().CodePageBytes(text)) {
    ArchiveLines lines = walk.Listing();
    lines.SetEncoding(ArchiveEncoding::CodePage);
    return {std::move(lines), std::move(*bytes)};
  }
  ArchiveLines lines = walk.ExactListing();
  lines.SetEncoding(ArchiveEncoding::Utf8);
  std::string bytes = lines.Text();
  return {std::move(lines), std::move(bytes)};
}

std::string LossyCodePageListing(const FolderScanner& walk, const TextServices& text, bool formerTimes) {
  const std::vector<std::string>& lines = walk.Listing().Lines();
  std::string listing;
  for (std::size_t index = 0; index * kDefaultEntryStride + 3 < lines.size(); ++index) {
    const std::string discPath = walk.DiscPathOfEntry(index);
    const std::size_t cut = discPath.find_last_of('\\');
    const std::string_view folder = cut == std::string::npos ? std::string_view() : std::string_view(discPath).substr(0, cut);
    if (!ListableThroughCodePage(folder, text)) continue;
    const std::string folderBytes = text.ToCodePageAsAnsiFunctionsDo(folder);
    const std::string_view folderLine = TrimBlanksAndControls(folderBytes);
    const std::string nameBytes = text.ToCodePageAsAnsiFunctionsDo(std::string_view(discPath).substr(cut + 1));
    listing += folderLine.empty() ? std::string_view("\\") : folderLine;
    listing += "\r\n";
    listing += TrimBlanksAndControls(nameBytes);
    listing += "\r\n";
    listing += lines[index * kDefaultEntryStride + 2];
    listing += "\r\n";
    const std::optional<std::int32_t> former = formerTimes ? walk.FormerTimeOfEntry(index) : std::nullopt;
    listing += former ? std::to_string(*former) : lines[index * kDefaultEntryStride + 3];
    listing += "\r\n";
  }
  return listing;
}

}  // namespace discovel
